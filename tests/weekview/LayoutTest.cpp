// Rows, texts, prime shading, captions, bars and the cell map of the week view.
#include <gtest/gtest.h>

#include "FakeHost.h"

namespace weekview {
namespace {

TEST(LayoutTest, RowsOfTheTimeRange)
{
    struct Case {
        int16_t units, start, end;
        int16_t lastRow;
        const char* firstText;
        const char* lastText;
    } cases[] = {
        {Minutes_30, 0, 0, 48, "12:00 AM", "12:00 AM"},
        {Minutes_30, 480, 1020, 18, " 8:00 AM", " 5:00 PM"},
        {Minutes_30, 1320, 120, 8, "10:00 PM", " 2:00 AM"},
        {Minutes_60, 0, 0, 24, "12:00 AM", "12:00 AM"},
        {Minutes_5, 0, 0, 288, "12:00 AM", "12:00 AM"},
        {Minutes_15, 545, 600, 4, " 9:00 AM", "10:00 AM"},
    };
    for (const Case& k : cases) {
        DisplayProperties p;
        p.TimeUnits = k.units;
        p.TimeStart = k.start;
        p.TimeEnd = k.end;
        EXPECT_EQ(LastRowOf(p), k.lastRow) << k.start << "-" << k.end;
        EXPECT_EQ(FullTimeText(p, RowTime(p, 0)), k.firstText);
        EXPECT_EQ(FullTimeText(p, RowTime(p, k.lastRow)), k.lastText);
    }
}

TEST(LayoutTest, TimeTexts)
{
    struct Case {
        bool military, ampm;
        int16_t t;
        const char* full;
    } cases[] = {
        {false, true, 0, "12:00 AM"}, {false, true, 725, "12:05 PM"},
        {false, false, 810, " 1:30"}, {true, true, 780, "13:00 PM"},
        {true, false, 0, " 0:00"},    {false, true, 1435, "11:55 PM"},
    };
    for (const Case& k : cases) {
        DisplayProperties p;
        p.MilitaryTime = k.military;
        p.IncludeAmPm = k.ampm;
        EXPECT_EQ(FullTimeText(p, k.t), k.full);
    }
    // The minute text with a space-padded two-digit minute is what the style prints.
    EXPECT_EQ(SplitMinuteText(540), ":00  ");
    EXPECT_EQ(SplitMinuteText(555), ":15  ");
}

TEST(LayoutTest, PrimeTime)
{
    DisplayProperties p;  // 1 January 1996 is a Monday: columns 5 and 6 are the weekend
    const int nineAm = 18;
    EXPECT_TRUE(IsPrime(p, nineAm, 0));
    EXPECT_TRUE(IsPrime(p, nineAm, 4));
    EXPECT_FALSE(IsPrime(p, nineAm, 5));
    EXPECT_FALSE(IsPrime(p, nineAm, 6));
    EXPECT_TRUE(IsPrime(p, nineAm, 7));
    EXPECT_FALSE(IsPrime(p, 15, 0));  // 07:30
    EXPECT_TRUE(IsPrime(p, 16, 0));   // 08:00
    EXPECT_FALSE(IsPrime(p, 34, 0));  // 17:00, the end is outside
    p.WeekendPrime = true;
    EXPECT_TRUE(IsPrime(p, nineAm, 6));
    // The closing row of a whole day is 1440 and is compared unreduced.
    p.PrimeTimeStart = 0;
    p.PrimeTimeEnd = 1440;
    EXPECT_TRUE(IsPrime(p, 0, 0));
    EXPECT_FALSE(IsPrime(p, 48, 0));
}

TEST(LayoutTest, DayCaptions)
{
    EXPECT_EQ(DayCaption("S,M,T,W,T,F,S", 2), "M");
    EXPECT_EQ(DayCaption("Sun;Mon;Tue;Wed;Thu;Fri;Sat", 7), "Sat");
    EXPECT_EQ(DayCaption("Sun;Mon,Tue", 3), "Tue");
    EXPECT_EQ(DayCaption("Sun;Mon", 5), "");
    EXPECT_EQ(DayCaption(std::string(70, 'x') + ";B", 2), "");  // only 63 scanned
}

TEST(LayoutTest, ColumnsAndHeightGuards)
{
    DisplayProperties p;
    p.DayColumns = 1;
    Layout l = ComputeLayout(p, BorderInsets(BorderRegular), Rect{0, 0, 333, 400}, 16);
    EXPECT_EQ(l.dayColumnWidth, 258);
    EXPECT_EQ(l.timeColumnWidth, 75);
    p.DayColumns = 7;
    l = ComputeLayout(p, BorderInsets(BorderRegular), Rect{0, 0, 604, 400}, 16);
    EXPECT_EQ(l.timeColumnWidth, 75 + 529 % 7);
    EXPECT_EQ(l.timeColumnWidth + 7 * l.dayColumnWidth, 604);
    p.HeightOffset = -40;
    l = ComputeLayout(p, BorderInsets(BorderRegular), Rect{0, 0, 604, 400}, 16);
    EXPECT_EQ(l.visibleRows, 0);
    p.HeightOffset = 0;
    l = ComputeLayout(p, BorderInsets(BorderRegular), Rect{0, 0, 604, 20}, 16);
    EXPECT_EQ(l.visibleRows, 0);
}

TEST(BarsTest, WhereBarsGoAndTheCellMap)
{
    // 600 x 2000, text 16: rows of 19 pixels from y = 31, columns of 75 from x = 75.
    ControlFixture f;
    f.control.AddKeyAppointment(1380, 35063, 60, 35064, "night");  // 23:00 to 01:00
    f.control.AddAppointment(540, 35065, 600, 35065);              // 09:00 to 10:00
    f.Paint(600, 2000);
    const std::vector<Bar> bars = f.control.LayOutBars();
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_EQ(bars[0].rect.left, 75 + 25);
    EXPECT_EQ(bars[0].rect.right, 75 + 50);
    EXPECT_EQ(bars[0].rect.top, 31 + 46 * 19);
    EXPECT_EQ(bars[0].rect.bottom, 1999);
    EXPECT_EQ(bars[1].rect.left, 75 + 75 + 25);
    EXPECT_EQ(bars[1].rect.top, 31);
    EXPECT_EQ(bars[1].rect.bottom, 31 + 2 * 19 - 1);
    EXPECT_EQ(bars[2].rect.top, 31 + 18 * 19);
    EXPECT_EQ(bars[2].rect.bottom, 31 + 20 * 19 - 1);  // ends with the 09:30 row
    const CellMap& map = f.control.Cells();
    EXPECT_EQ(map.At(0, 45), -1);
    EXPECT_EQ(map.At(0, 46), 0);
    EXPECT_EQ(map.At(0, 49), 0);
    EXPECT_EQ(map.At(1, 1), 0);
    EXPECT_EQ(map.At(1, 2), -1);
    EXPECT_EQ(map.At(2, 17), -1);
    EXPECT_EQ(map.At(2, 18), 1);
    EXPECT_EQ(map.At(2, 19), 1);
    EXPECT_EQ(map.At(2, 20), -1);
}

TEST(BarsTest, OddValuesPaintNothingWrong)
{
    ControlFixture f;
    f.control.AddAppointment(-3000, 35063, 32000, 35063);
    f.control.AddAppointment(600, 35063, 600, 35063);  // empty
    f.control.AddAppointment(0, 35000, 0, 35100);      // covers every column
    f.control.AddAppointment(0, INT32_MIN, 0, INT32_MAX);
    f.Paint(600, 500);
    for (const Bar& b : f.control.LayOutBars()) {
        EXPECT_GE(b.rect.top, 31);
        EXPECT_LE(b.rect.bottom, 499);
        EXPECT_GE(b.rect.left, 75);
        EXPECT_LE(b.rect.right, 600);
    }
    f.control.SetHeightOffset(-100);
    f.Paint(600, 500);
    EXPECT_TRUE(f.control.LayOutBars().empty());
    f.control.SetHeightOffset(0);
    f.Paint(600, 10);
    EXPECT_EQ(f.control.VisibleRows(), 0);
}

TEST(ScrollTest, ScrollTableAndTopTime)
{
    ControlFixture f;
    f.Paint(600, 500);  // 24 visible rows of 49: maximum 25
    EXPECT_EQ(f.site.scrollMaximum, 25);
    struct Step {
        ScrollRequest request;
        int position;
        int16_t firstRow;
        int thumb;
    } steps[] = {
        {ScrollRequest::LineUp, 0, 0, -1},          {ScrollRequest::LineDown, 0, 1, 1},
        {ScrollRequest::PageUp, 0, 0, 0},           {ScrollRequest::PageDown, 0, 23, 23},
        {ScrollRequest::PageDown, 0, 25, 25},       {ScrollRequest::LineDown, 0, 25, 25},
        {ScrollRequest::PageUp, 0, 2, 2},           {ScrollRequest::ThumbTrack, 10, 10, 10},
        {ScrollRequest::ThumbPosition, 99, 25, 25}, {ScrollRequest::Other, 0, 25, 25},
    };
    for (const Step& s : steps) {
        f.control.Scroll(s.request, f.site.thumb < 0 ? 0 : f.site.thumb, s.position);
        EXPECT_EQ(f.control.FirstRow(), s.firstRow);
        EXPECT_EQ(f.site.thumb, s.thumb);
    }
    f.control.SetTopTime(540);
    EXPECT_EQ(f.control.FirstRow(), 18);
    EXPECT_EQ(f.control.GetTopTime(), 540);
    f.control.SetTopTime(1430);
    EXPECT_EQ(f.control.FirstRow(), 25);
    f.site.runMode = false;
    f.control.SetTopTime(0);
    EXPECT_EQ(f.control.FirstRow(), 25);
}

TEST(ScrollTest, TallerViewKeepsTheFirstRowInItsRange)
{
    ControlFixture f;
    f.Paint(600, 500);  // 24 visible rows of 49: rows 0..25 can be the first
    f.control.SetTopTime(1430);
    EXPECT_EQ(f.control.FirstRow(), 25);
    f.Paint(600, 700);  // 35 visible rows: rows 0..14
    EXPECT_EQ(f.site.scrollMaximum, 14);
    EXPECT_EQ(f.control.FirstRow(), 14);
    EXPECT_EQ(f.site.thumb, 14);
    f.Paint(600, 1000);  // every row fits
    EXPECT_EQ(f.site.scrollMaximum, 0);
    EXPECT_EQ(f.control.FirstRow(), 0);
}

TEST(ScrollTest, TimeUnitsChangeKeepsTheTopTime)
{
    ControlFixture f;
    f.Paint(600, 500);
    f.control.SetTopTime(540);
    f.control.SetTimeUnits(Minutes_15);
    f.Paint(600, 500);
    EXPECT_EQ(f.control.FirstRow(), 36);
    EXPECT_EQ(f.control.GetTopTime(), 540);
    f.control.SetTimeUnits(9);  // ignored
    EXPECT_EQ(f.control.Properties().TimeUnits, Minutes_15);
}

}  // namespace
}  // namespace weekview
