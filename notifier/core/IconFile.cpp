// The icon-file layout of one picture, written and searched byte by byte.
#include "IconFile.h"

#include <string>

namespace {

void Put16(TIconBytes& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(TIconBytes& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

std::uint32_t Get16(const TIconBytes& in, std::size_t at)
{
    return in[at] | (in[at + 1] << 8);
}

std::uint32_t Get32(const TIconBytes& in, std::size_t at)
{
    return Get16(in, at) | (Get16(in, at + 2) << 16);
}

constexpr std::uint32_t kIconType = 1;

}  // namespace

std::size_t IconMaskStride(int width)
{
    return (static_cast<std::size_t>(width) + 31) / 32 * 4;
}

TIconBytes BuildIconFile(int width, int height, const std::vector<std::uint8_t>& colour,
                         const std::vector<std::uint8_t>& mask)
{
    const std::size_t pixels = static_cast<std::size_t>(width) * height;
    if (width < 1 || width > 256 || height < 1 || height > 256 || colour.size() != pixels * 4 ||
        mask.size() != IconMaskStride(width) * height) {
        throw EIconListStream("Icon picture of " + std::to_string(width) + " x " +
                              std::to_string(height) + " pixels has the wrong number of bytes");
    }
    const std::size_t imageSize = kBitmapHeaderSize + colour.size() + mask.size();
    TIconBytes out;
    out.reserve(kIconDirectorySize + kIconEntrySize + imageSize);
    Put16(out, 0);  // reserved
    Put16(out, kIconType);
    Put16(out, 1);                                           // one picture
    out.push_back(static_cast<std::uint8_t>(width & 0xFF));  // 256 is written as 0
    out.push_back(static_cast<std::uint8_t>(height & 0xFF));
    out.push_back(0);  // no palette
    out.push_back(0);
    Put16(out, 1);   // planes
    Put16(out, 32);  // bits per pixel
    Put32(out, static_cast<std::uint32_t>(imageSize));
    Put32(out, static_cast<std::uint32_t>(kIconDirectorySize + kIconEntrySize));
    Put32(out, kBitmapHeaderSize);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height * 2));  // colour and mask together
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);  // uncompressed
    Put32(out, static_cast<std::uint32_t>(colour.size() + mask.size()));
    for (int i = 0; i < 4; ++i) {
        Put32(out, 0);  // resolution and palette fields
    }
    out.insert(out.end(), colour.begin(), colour.end());
    out.insert(out.end(), mask.begin(), mask.end());
    return out;
}

TIconImageSpan FindIconImage(const TIconBytes& file)
{
    if (file.size() < kIconDirectorySize + kIconEntrySize || Get16(file, 0) != 0 ||
        Get16(file, 2) != kIconType || Get16(file, 4) == 0) {
        throw EIconListStream("Icon data has no icon directory");
    }
    const std::size_t entry = kIconDirectorySize;
    TIconImageSpan span;
    span.width = file[entry] == 0 ? 256 : file[entry];
    span.height = file[entry + 1] == 0 ? 256 : file[entry + 1];
    span.size = Get32(file, entry + 8);
    span.offset = Get32(file, entry + 12);
    if (span.size == 0 || span.offset > file.size() || span.size > file.size() - span.offset) {
        throw EIconListStream("Icon picture lies outside its " + std::to_string(file.size()) +
                              " bytes");
    }
    return span;
}
