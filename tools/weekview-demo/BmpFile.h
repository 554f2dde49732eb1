// Writes a GDI bitmap as a 24-bit BMP file.
#pragma once

#include <windows.h>

#include <string>

namespace weekview_demo {

// Writes beside the target first and renames, so a failure leaves no partial file.
bool WriteBmp24(HBITMAP bitmap, const std::string& path, std::string& error);

}  // namespace weekview_demo
