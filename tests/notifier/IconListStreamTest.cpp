// The stored form of an icon list and the icon-file layout of one picture.
#include "IconFile.h"
#include "IconListStream.h"

#include <gtest/gtest.h>

namespace {

TEST(IconListStreamTest, WritesCountThenLengthPrefixedEntries)
{
    const std::vector<TIconBytes> entries = {{1, 2, 3}, {}, {9}};
    const std::vector<std::uint8_t> expected = {3, 0, 0, 0, 3, 0, 0, 0, 1, 2,
                                                3, 0, 0, 0, 0, 1, 0, 0, 0, 9};
    const std::vector<std::uint8_t> stored = WriteIconListStream(entries);
    EXPECT_EQ(stored, expected);
    EXPECT_EQ(ReadIconListStream(stored.data(), stored.size()), entries);
    const std::vector<std::uint8_t> none = WriteIconListStream({});
    EXPECT_EQ(none, (std::vector<std::uint8_t>{0, 0, 0, 0}));
    EXPECT_TRUE(ReadIconListStream(none.data(), none.size()).empty());
}

TEST(IconListStreamTest, RefusesDataThatDoesNotHoldWhatItClaims)
{
    const std::vector<std::vector<std::uint8_t>> bad = {
        {},                                       // no count
        {1, 0, 0},                                // count cut short
        {1, 0, 0, 0},                             // entry missing
        {1, 0, 0, 0, 5, 0, 0, 0, 1, 2},           // entry shorter than its length
        {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1},  // length near 4 GB
        {0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0},     // count far beyond the data
        {0, 0, 0, 0, 7},                          // bytes after the last entry
    };
    for (const auto& data : bad) {
        EXPECT_THROW(ReadIconListStream(data.data(), data.size()), EIconListStream)
            << data.size() << " bytes";
    }
}

TEST(IconListStreamTest, IconFileHoldsDirectoryHeaderPixelsAndMask)
{
    std::vector<std::uint8_t> colour(16 * 16 * 4, 0x80);
    std::vector<std::uint8_t> mask(IconMaskStride(16) * 16, 0);
    const TIconBytes file = BuildIconFile(16, 16, colour, mask);
    ASSERT_EQ(file.size(), 6u + 16 + 40 + colour.size() + mask.size());
    EXPECT_EQ(file[2], 1);        // icon, not cursor
    EXPECT_EQ(file[6], 16);       // width
    EXPECT_EQ(file[22 + 8], 32);  // header height: colour and mask, twice the picture
    const TIconImageSpan span = FindIconImage(file);
    EXPECT_EQ(span.offset, 22u);
    EXPECT_EQ(span.size, file.size() - 22);
    EXPECT_EQ(span.width, 16);

    TIconBytes cut(file.begin(), file.end() - 1);
    EXPECT_THROW(FindIconImage(cut), EIconListStream);
    TIconBytes cursor = file;
    cursor[2] = 2;
    EXPECT_THROW(FindIconImage(cursor), EIconListStream);
    EXPECT_THROW(FindIconImage(TIconBytes(10, 0)), EIconListStream);
    EXPECT_THROW(BuildIconFile(16, 16, colour, {}), EIconListStream);
    EXPECT_THROW(BuildIconFile(0, 16, {}, {}), EIconListStream);
}

}  // namespace
