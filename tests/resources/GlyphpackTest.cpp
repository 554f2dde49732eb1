// The resource library as the notifier uses it: loaded by path, icons and the
// chime taken by name.
#include <windows.h>

#include <gtest/gtest.h>

#include "ChildProcess.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

using testsupport::BinDir;

std::string IconName(int index)
{
    return "IL1_ICON" + std::to_string(index);
}

uint32_t Le32(const unsigned char* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}
uint16_t Le16(const unsigned char* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

class GlyphpackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        module_ = LoadLibraryA((BinDir() + "Glyphpack.dll").c_str());
        ASSERT_NE(module_, nullptr) << "error " << GetLastError();
    }
    void TearDown() override
    {
        if (module_)
            FreeLibrary(module_);
    }

    // The icon drawn at the given size into a 32-bit buffer, for comparing frames.
    std::vector<uint32_t> Pixels(int index, int size)
    {
        HICON icon = static_cast<HICON>(
            LoadImageA(module_, IconName(index).c_str(), IMAGE_ICON, size, size, 0));
        EXPECT_NE(icon, nullptr) << IconName(index);
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = size;
        bi.bmiHeader.biHeight = -size;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(dc, bitmap);
        RECT all{0, 0, size, size};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        GdiFlush();
        std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits),
                                     static_cast<const uint32_t*>(bits) + size * size);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        DestroyIcon(icon);
        return pixels;
    }

    HMODULE module_ = nullptr;
};

TEST_F(GlyphpackTest, EveryIconLoadsByNameAtBothSizes)
{
    for (int i = 0; i <= 10; ++i) {
        HICON icon = LoadIconA(module_, IconName(i).c_str());
        EXPECT_NE(icon, nullptr) << IconName(i);
        for (int size : {16, 32}) {
            HICON sized = static_cast<HICON>(
                LoadImageA(module_, IconName(i).c_str(), IMAGE_ICON, size, size, 0));
            ASSERT_NE(sized, nullptr) << IconName(i) << " at " << size;
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(sized, &info));
            BITMAP bm{};
            GetObjectA(info.hbmColor, sizeof bm, &bm);
            EXPECT_EQ(bm.bmWidth, size) << IconName(i);
            EXPECT_EQ(bm.bmHeight, size) << IconName(i);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(sized);
        }
    }
    EXPECT_EQ(LoadIconA(module_, "IL1_ICON11"), nullptr);
    EXPECT_EQ(LoadIconA(module_, "IL1_ICON01"), nullptr);
}

TEST_F(GlyphpackTest, AnimationFramesDifferFromTheirNeighbours)
{
    // Mail waiting: 1 and 2 alternate; checking: 3..10 cycle back to 3.
    EXPECT_NE(Pixels(1, 16), Pixels(2, 16));
    for (int i = 3; i <= 10; ++i) {
        int next = i == 10 ? 3 : i + 1;
        EXPECT_NE(Pixels(i, 16), Pixels(next, 16)) << i << " and " << next;
    }
    // Every frame draws something on the white background.
    const std::vector<uint32_t> blank(16 * 16, Pixels(0, 16)[0]);
    for (int i = 0; i <= 10; ++i)
        EXPECT_NE(Pixels(i, 16), blank) << IconName(i);
}

TEST_F(GlyphpackTest, ChimeIsAShortPcmWave)
{
    HRSRC found = FindResourceA(module_, "WAV_WAVE4", "WAVE");
    ASSERT_NE(found, nullptr);
    const DWORD size = SizeofResource(module_, found);
    const auto* data =
        static_cast<const unsigned char*>(LockResource(LoadResource(module_, found)));
    ASSERT_NE(data, nullptr);
    ASSERT_GE(size, 44u);
    EXPECT_EQ(std::memcmp(data, "RIFF", 4), 0);
    EXPECT_EQ(Le32(data + 4), size - 8);
    EXPECT_EQ(std::memcmp(data + 8, "WAVE", 4), 0);

    uint32_t byteRate = 0, dataBytes = 0;
    uint16_t format = 0;
    for (DWORD at = 12; at + 8 <= size;) {
        const uint32_t chunk = Le32(data + at + 4);
        if (std::memcmp(data + at, "fmt ", 4) == 0) {
            format = Le16(data + at + 8);
            byteRate = Le32(data + at + 16);
        } else if (std::memcmp(data + at, "data", 4) == 0) {
            dataBytes = chunk;
        }
        at += 8 + chunk + (chunk & 1);
    }
    EXPECT_EQ(format, 1) << "PCM";
    ASSERT_GT(byteRate, 0u);
    EXPECT_GT(dataBytes, 0u);
    EXPECT_LT(dataBytes, byteRate) << "shorter than one second";
}

}  // namespace
