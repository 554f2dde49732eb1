// Pictures for the tray icon tests: 16 x 16 icons of one colour each.
#pragma once

#include "Icon.h"

#include <windows.h>

#include <cstdint>
#include <vector>

// An icon of one opaque colour (0xRRGGBB), owned by the caller.
inline HICON MakeColourIcon(std::uint32_t rgb)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 16;
    info.bmiHeader.biHeight = 16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int i = 0; i < 16 * 16; ++i)
        pixels[i] = 0xFF000000u | rgb;
    const std::vector<WORD> clear(16, 0);
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, clear.data());
    ICONINFO iconInfo{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&iconInfo);
    DeleteObject(colour);
    DeleteObject(mask);
    return icon;
}

// Fills an icon object with a picture of one colour.
inline void Paint(TIcon& icon, std::uint32_t rgb)
{
    icon.SetHandle(MakeColourIcon(rgb));
}

// The colour of the centre pixel of an icon's picture (through its icon-file layout).
inline std::uint32_t CentreColour(const TIcon& icon)
{
    const TIconBytes file = icon.SaveToBytes();
    const std::size_t pixels = 6 + 16 + 40;
    const std::size_t at = pixels + (8 * 16 + 8) * 4;
    if (file.size() < at + 4)
        return 0xFFFFFFFFu;
    return file[at] | (file[at + 1] << 8) | (file[at + 2] << 16);
}
