// TIcon: an owned icon picture, and its icon-file layout.
#include "Icon.h"

#include "IconFile.h"

namespace {

// Deletes the bitmaps GetIconInfo hands out.
struct IconBitmaps {
    ICONINFO info{};
    ~IconBitmaps()
    {
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
        if (info.hbmMask)
            DeleteObject(info.hbmMask);
    }
};

struct ScreenDC {
    HDC dc = GetDC(nullptr);
    ~ScreenDC() { ReleaseDC(nullptr, dc); }
};

// Bottom-up rows of a bitmap at the given depth (1 or 32 bits per pixel).
std::vector<std::uint8_t> ReadRows(HDC dc, HBITMAP bitmap, int width, int height, int bits)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bits);
    info.header.biCompression = BI_RGB;
    const std::size_t stride = bits == 1 ? IconMaskStride(width) : std::size_t(width) * 4;
    std::vector<std::uint8_t> rows(stride * height);
    if (GetDIBits(dc, bitmap, 0, height, rows.data(), reinterpret_cast<BITMAPINFO*>(&info),
                  DIB_RGB_COLORS) != height) {
        throw EIconListStream("Icon picture cannot be read");
    }
    return rows;
}

}  // namespace

TIcon::~TIcon()
{
    if (handle)
        DestroyIcon(handle);
}

void TIcon::SetHandle(HICON value)
{
    if (value == handle)
        return;
    if (handle)
        DestroyIcon(handle);
    handle = value;
    Changed();
}

void TIcon::Assign(const TIcon& source)
{
    if (&source == this)
        return;
    SetHandle(source.handle ? CopyIcon(source.handle) : nullptr);
}

TIconBytes TIcon::SaveToBytes() const
{
    if (!handle)
        return {};
    IconBitmaps bitmaps;
    BITMAP mask{};
    if (!GetIconInfo(handle, &bitmaps.info) ||
        !GetObjectA(bitmaps.info.hbmMask, sizeof mask, &mask)) {
        throw EIconListStream("Icon picture cannot be read");
    }
    ScreenDC screen;
    const int width = mask.bmWidth;
    if (bitmaps.info.hbmColor) {
        const int height = mask.bmHeight;
        return BuildIconFile(width, height,
                             ReadRows(screen.dc, bitmaps.info.hbmColor, width, height, 32),
                             ReadRows(screen.dc, bitmaps.info.hbmMask, width, height, 1));
    }
    // A two-colour icon keeps its AND mask above its XOR mask in one bitmap of twice the
    // height; bottom-up, the XOR rows come first.
    const int height = mask.bmHeight / 2;
    std::vector<std::uint8_t> both =
        ReadRows(screen.dc, bitmaps.info.hbmMask, width, height * 2, 32);
    std::vector<std::uint8_t> colour(both.begin(), both.begin() + both.size() / 2);
    for (std::size_t i = 3; i < colour.size(); i += 4)
        colour[i] = 0;
    std::vector<std::uint8_t> andRows =
        ReadRows(screen.dc, bitmaps.info.hbmMask, width, height * 2, 1);
    andRows.erase(andRows.begin(), andRows.begin() + andRows.size() / 2);
    return BuildIconFile(width, height, colour, andRows);
}

void TIcon::LoadFromBytes(const TIconBytes& bytes)
{
    if (bytes.empty()) {
        SetHandle(nullptr);
        return;
    }
    const TIconImageSpan span = FindIconImage(bytes);
    HICON loaded = CreateIconFromResourceEx(const_cast<BYTE*>(bytes.data() + span.offset),
                                            static_cast<DWORD>(span.size), TRUE, 0x00030000, 0, 0,
                                            LR_DEFAULTCOLOR);
    if (!loaded)
        throw EIconListStream("Icon data holds no picture the system can read");
    SetHandle(loaded);
}

void TIcon::Changed()
{
    if (OnChange)
        OnChange(*this);
}
