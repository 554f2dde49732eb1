// 24-bit BMP output of a snapshot.
#include "BmpFile.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace weekview_demo {
namespace {

bool WriteAll(const std::string& path, const std::vector<char>& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

}  // namespace

bool WriteBmp24(HBITMAP bitmap, const std::string& path, std::string& error)
{
    BITMAP info{};
    if (GetObjectA(bitmap, sizeof info, &info) == 0 || info.bmWidth <= 0 || info.bmHeight <= 0) {
        error = "no picture to write";
        return false;
    }
    const int stride = ((info.bmWidth * 3) + 3) & ~3;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = info.bmWidth;
    header.biHeight = info.bmHeight;  // bottom-up, as BMP files store rows
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(stride) * info.bmHeight;

    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
    fileHeader.bfSize = fileHeader.bfOffBits + header.biSizeImage;

    std::vector<char> bytes(fileHeader.bfSize);
    std::memcpy(bytes.data(), &fileHeader, sizeof fileHeader);
    std::memcpy(bytes.data() + sizeof fileHeader, &header, sizeof header);
    HDC screen = GetDC(nullptr);
    const int rows =
        GetDIBits(screen, bitmap, 0, info.bmHeight, bytes.data() + fileHeader.bfOffBits,
                  reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != info.bmHeight) {
        error = "cannot read the picture's pixels";
        return false;
    }
    const std::string temporary = path + ".part";
    if (!WriteAll(temporary, bytes)) {
        std::remove(temporary.c_str());
        error = "cannot write " + path;
        return false;
    }
    if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        std::remove(temporary.c_str());
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace weekview_demo
