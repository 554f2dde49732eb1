// Text between automation strings (BSTR, UTF-16) and the week view's ANSI text.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace septena {

// A new BSTR (null when memory runs out).
BSTR ToBstr(const std::string& text);
// The ANSI text of a BSTR; a null BSTR is the empty text. Throws std::bad_alloc.
std::string FromBstr(BSTR text);

}  // namespace septena
