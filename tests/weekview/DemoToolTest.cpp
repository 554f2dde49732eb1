// weekview-demo as other tools use it: events on standard output, snapshots, bad input.
#include <gtest/gtest.h>
#include <windows.h>

#include "ChildProcess.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

using testsupport::BinDir;
using testsupport::ReadWholeFile;
using testsupport::TempPath;
using DemoRun = testsupport::ProcessResult;

DemoRun RunDemo(const std::string& args)
{
    return testsupport::RunCaptured("\"" + BinDir() + "weekview-demo.exe\" " + args,
                                    "weekview-demo-test", 30000);
}

// The custom events among the printed lines.
Lines CustomEvents(const std::string& out)
{
    Lines lines;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind("TimeSelect", 0) == 0 || line.rfind("RightClick", 0) == 0 ||
            line.rfind("Error", 0) == 0)
            lines.push_back(line);
    }
    return lines;
}

struct Bmp {
    int width = 0, height = 0, bits = 0;
    std::string data;
    uint32_t Pixel(int x, int y) const
    {
        const int stride = (width * 3 + 3) & ~3;
        const size_t at = 54 + static_cast<size_t>(height - 1 - y) * stride + x * 3;
        const auto b = static_cast<unsigned char>(data[at]);
        const auto g = static_cast<unsigned char>(data[at + 1]);
        const auto r = static_cast<unsigned char>(data[at + 2]);
        return RGB(r, g, b);
    }
};

Bmp ReadBmp(const std::string& path)
{
    Bmp bmp;
    bmp.data = ReadWholeFile(path);
    if (bmp.data.size() < 54 || bmp.data.compare(0, 2, "BM") != 0)
        return bmp;
    auto le32 = [&](size_t at) {
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i)
            v = v << 8 | static_cast<unsigned char>(bmp.data[at + i]);
        return v;
    };
    bmp.width = static_cast<int>(le32(18));
    bmp.height = static_cast<int>(le32(22));
    bmp.bits = static_cast<unsigned char>(bmp.data[28]);
    return bmp;
}

// 700 x 1000 with 16:00 at the top: 17 rows fit, so the scroll bar hides and the
// client is 700 wide: a time column of 77 and day columns of 89 pixels. The first
// row starts at y = 31 whatever the font.
const char* const kGeometry = "--size 700x1000 --set TimeStart=960 ";

TEST(DemoToolTest, EventsOfTheStepsInOrder)
{
    const DemoRun run = RunDemo(std::string("--events ") + kGeometry +
                                "--add 960,35063,1020,35063,standup --press 121,33 "
                                "--drag 300,33 --rclick 121,33 --rclick 176,33 --rclick 121,10 "
                                "--press 121,-5 --add 0,1,0,1 --set AppointTimeStart=1 "
                                "--add 0,1,0,1");
    EXPECT_EQ(run.exitCode, 2u);  // AppointTimeStart is indexed, not a property to set
    EXPECT_EQ(CustomEvents(run.out),
              Lines({"TimeSelect -1 -1 -1 -1", "TimeSelect 35063 960 35063 990",
                     "TimeSelect 35063 960 35065 990", "RightClick 960 35063 1020 35063 1 standup",
                     "RightClick -1 -1 -1 -1 0 ", "TimeSelect -1 -1 -1 -1"}));
    EXPECT_NE(run.err.find("unknown property: AppointTimeStart"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("MouseDown 1 0 121 33"), std::string::npos);
    EXPECT_NE(run.out.find("MouseUp 1 0 300 33"), std::string::npos);
}

TEST(DemoToolTest, ScrollAndDateOptions)
{
    const DemoRun run =
        RunDemo(std::string("--events --size 700x300 --set Day=3 --set Month=1 "
                            "--set Year=1996 --set FirstDay=1 --scroll 4 "
                            "--press 121,33 --scroll -10 --press 121,33 --snapshot \"" +
                            TempPath("weekview-demo-scroll.bmp") + "\""));
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    // FirstDay(1) moves Wednesday 3 January 1996 to Monday the 1st (35063).
    const Lines events = CustomEvents(run.out);
    ASSERT_EQ(events.size(), 2u) << run.out;
    EXPECT_EQ(events[0], "TimeSelect 35063 120 35063 150");
    EXPECT_EQ(events[1], "TimeSelect 35063 0 35063 30");
}

TEST(DemoToolTest, SnapshotIsA24BitPictureOfTheView)
{
    const std::string path = TempPath("weekview-demo-test.bmp");
    DeleteFileA(path.c_str());
    const DemoRun run = RunDemo(
        "--size 400x300 --set AppBarColor=255 --set TimeStart=480 "
        "--set BackColor=65280 --add 480,35063,1440,35063 --snapshot \"" +
        path + "\"");
    ASSERT_EQ(run.exitCode, 0u) << run.err;
    const Bmp bmp = ReadBmp(path);
    EXPECT_EQ(bmp.bits, 24);
    EXPECT_EQ(bmp.height, 300);
    EXPECT_GT(bmp.width, 350);
    EXPECT_LE(bmp.width, 400);
    // A red bar (OLE_COLOR 255) through the whole first column's middle third.
    int barPixels = 0;
    for (int x = 0; x < bmp.width; ++x)
        barPixels += bmp.Pixel(x, 150) == RGB(255, 0, 0);
    EXPECT_GT(barPixels, 5);
    EXPECT_EQ(bmp.Pixel(bmp.width / 2, 2), RGB(192, 192, 192));  // header
    DeleteFileA(path.c_str());
}

TEST(DemoToolTest, SnapshotHasTheRequestedSizeWhateverTheScreenAndScrollBar)
{
    // Larger than the test screen, below the frame's smallest size, and a view whose
    // rows do not fit (so the scroll bar shows beside the client area).
    const char* sizes[][2] = {
        {"2000x1500", "--set TimeUnits=0"}, {"1x1", ""}, {"300x200", "--set TimeUnits=0"}};
    const std::string path = TempPath("weekview-demo-size.bmp");
    for (const auto& size : sizes) {
        DeleteFileA(path.c_str());
        const DemoRun run = RunDemo(std::string("--size ") + size[0] + " " + size[1] +
                                    " --snapshot \"" + path + "\"");
        ASSERT_EQ(run.exitCode, 0u) << size[0] << run.err;
        const Bmp bmp = ReadBmp(path);
        EXPECT_EQ(std::to_string(bmp.width) + "x" + std::to_string(bmp.height), size[0]);
    }
    DeleteFileA(path.c_str());
    // A picture that cannot be written is a failure with a reason, never a success.
    const DemoRun run =
        RunDemo("--size 50x50 --snapshot \"" + TempPath("no-such-folder\\x.bmp") + "\"");
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_NE(run.err.find("weekview-demo: cannot write"), std::string::npos) << run.err;
}

TEST(DemoToolTest, KeysWithControlCharactersStayOnTheirEventLine)
{
    const DemoRun run = RunDemo(std::string("--events ") + kGeometry +
                                "--add \"960,35063,1020,35063,a\tb\\c\nTimeSelect 1 2 3 4\" "
                                "--rclick 121,33 --snapshot \"" +
                                TempPath("weekview-demo-keys.bmp") + "\"");
    ASSERT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(CustomEvents(run.out),
              Lines({"TimeSelect -1 -1 -1 -1",
                     "RightClick 960 35063 1020 35063 1 a\\x09b\\x5Cc\\x0ATimeSelect 1 2 3 4"}));
}

TEST(DemoToolTest, BadInputIsRefusedAndWritesNothing)
{
    const std::string path = TempPath("weekview-demo-bad.bmp");
    const char* bad[] = {
        "--size 0x10",
        "--size 100",
        "--set NoSuch=1",
        "--set TimeStart=abc",
        "--set TimeStart=40000",
        "--add 1,2,3",
        "--add 1,2,3,x",
        "--press 10",
        "--scroll many",
        "--frobnicate 1",
        "--set",
        "stray",
        "--set MilitaryTime=maybe",
        "--set BackColor=-1",
        "--set Font=Arial",
        "--set =5",
    };
    for (const char* args : bad) {
        DeleteFileA(path.c_str());
        const DemoRun run = RunDemo(std::string(args) + " --snapshot \"" + path + "\"");
        EXPECT_EQ(run.exitCode, 2u) << args;
        EXPECT_NE(run.err.find("weekview-demo: "), std::string::npos) << args;
        EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << args;
    }
}

TEST(DemoToolTest, EveryPropertyNameIsAccepted)
{
    const std::string path = TempPath("weekview-demo-all.bmp");
    const DemoRun run = RunDemo(
        "--set BorderType=3 --set TimeUnits=2 --set MilitaryTime=true --set TimeStart=60 "
        "--set TimeEnd=1200 --set BorderColor=128 --set IncludeAmPm=false "
        "--set TimeBackColor=12632256 --set TimeTextWidth=60 --set TimeBorder=0 "
        "--set HeightOffset=2 --set DayColumns=5 --set HeaderHeight=40 "
        "--set PrimeTimeColor=16777215 --set NonPrimeColor=16777088 --set PrimeTimeStart=540 "
        "--set PrimeTimeEnd=960 --set HeaderBackColor=8421504 --set HeaderForeColor=16777215 "
        "--set HeaderBorder=1 --set \"DayHeader=Sun;Mon;Tue;Wed;Thu;Fri;Sat\" --set Day=15 "
        "--set Month=3 --set Year=2024 --set LineColor=0 --set WeekendPrime=1 "
        "--set SelectedColor=32768 --set AppBarColor=255 --set HeaderYOffset=2 "
        "--set TopTime=480 --set Date=45000 --set TimeType=1 --set \"HourFont=Arial,12,bold\" "
        "--set BackColor=2147483653 --set ForeColor=0 --set Enabled=true "
        "--set \"Font=Arial,9\" --set FirstDay=1 --snapshot \"" +
        path + "\"");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileA(path.c_str());
}

}  // namespace
