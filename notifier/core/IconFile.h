// The icon-file layout of one picture, built from pixels and searched for its image, without
// the system: an icon directory of one entry, then the picture as a 32-bit colour bitmap
// (bottom-up rows, twice the height in its header) followed by its 1-bit AND mask.
#pragma once

#include "IconListStream.h"

#include <cstddef>
#include <cstdint>

constexpr std::size_t kIconDirectorySize = 6;
constexpr std::size_t kIconEntrySize = 16;
constexpr std::size_t kBitmapHeaderSize = 40;

// Bytes per row of the AND mask: one bit per pixel, rows padded to 32 bits.
std::size_t IconMaskStride(int width);

// colour holds width * height 32-bit pixels (BGRA, bottom-up); mask holds
// IconMaskStride(width) * height bytes (bottom-up). Sizes 1 to 256.
TIconBytes BuildIconFile(int width, int height, const std::vector<std::uint8_t>& colour,
                         const std::vector<std::uint8_t>& mask);

// Where the first picture of an icon file lies.
struct TIconImageSpan {
    std::size_t offset = 0;
    std::size_t size = 0;
    int width = 0;  // as the directory says (256 for 0)
    int height = 0;
};

// Raises EIconListStream when the bytes are no icon file or the picture lies outside them.
TIconImageSpan FindIconImage(const TIconBytes& file);
