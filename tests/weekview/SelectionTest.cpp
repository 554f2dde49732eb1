// Selection by press and drag, the reported spans, repaint columns and right clicks.
#include <gtest/gtest.h>

#include "FakeHost.h"

namespace weekview {
namespace {

using Lines = std::vector<std::string>;

// 600 x 500, rows of 19 pixels from 08:00, columns of 75 pixels from x = 75.
struct SelectionFixture : ControlFixture {
    SelectionFixture()
    {
        control.SetTimeStart(480);
        Paint();
        events.lines.clear();
    }
    static int X(int column) { return 75 + column * 75 + 30; }
    static int Y(int row) { return 31 + row * 19 + 8; }
    const Rect client{0, 0, 600, 500};
};

TEST(SelectionTest, PressAndDragSpans)
{
    struct Step {
        char kind;  // p press, d drag
        int column, row;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        Lines events;
    } cases[] = {
        {"single press on the third column at 09:00",
         {{'p', 2, 2}},
         {"TimeSelect 35065 540 35065 570"}},
        {"drag backwards within a day",
         {{'p', 0, 16}, {'d', 0, 4}},
         {"TimeSelect 35063 960 35063 990", "TimeSelect 35063 600 35063 990"}},
        {"drag across days",
         {{'p', 1, 2}, {'d', 2, 4}, {'d', 3, 6}},
         {"TimeSelect 35064 540 35064 570", "TimeSelect 35064 540 35065 630",
          "TimeSelect 35064 540 35066 690"}},
        {"same cell twice", {{'p', 1, 1}, {'p', 1, 1}}, {"TimeSelect 35064 510 35064 540"}},
        {"press on the anchor after a drag",
         {{'p', 1, 1}, {'d', 1, 3}, {'p', 1, 1}},
         {"TimeSelect 35064 510 35064 540", "TimeSelect 35064 510 35064 600"}},
        {"drag onto the current cell",
         {{'p', 4, 1}, {'d', 4, 1}},
         {"TimeSelect 35067 510 35067 540"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        SelectionFixture f;
        for (const Step& s : k.steps) {
            if (s.kind == 'p')
                f.control.Press(f.X(s.column), f.Y(s.row), f.client);
            else
                f.control.Drag(f.X(s.column), f.Y(s.row), f.client);
        }
        EXPECT_EQ(f.events.lines, k.events);
    }
}

TEST(SelectionTest, SelectedCellsFollowReadingOrder)
{
    SelectionFixture f;
    f.control.Press(f.X(1), f.Y(10), f.client);
    f.control.Drag(f.X(3), f.Y(2), f.client);
    EXPECT_FALSE(f.control.IsSelected(9, 1));
    EXPECT_TRUE(f.control.IsSelected(10, 1));
    EXPECT_TRUE(f.control.IsSelected(48, 1));
    EXPECT_TRUE(f.control.IsSelected(0, 2));
    EXPECT_TRUE(f.control.IsSelected(2, 3));
    EXPECT_FALSE(f.control.IsSelected(3, 3));
    EXPECT_FALSE(f.control.IsSelected(10, 0));
}

TEST(SelectionTest, RepaintColumns)
{
    SelectionFixture f;
    f.control.Press(f.X(2), f.Y(3), f.client);
    EXPECT_EQ(f.control.CurrentSelection().repaint.from, 2);
    EXPECT_EQ(f.control.CurrentSelection().painted.to, 2);
    f.control.Drag(f.X(4), f.Y(3), f.client);
    EXPECT_EQ(f.control.CurrentSelection().repaint.from, 2);
    EXPECT_EQ(f.control.CurrentSelection().repaint.to, 4);
    f.control.Drag(f.X(5), f.Y(3), f.client);
    EXPECT_EQ(f.control.CurrentSelection().repaint.from, 4);
    EXPECT_EQ(f.control.CurrentSelection().repaint.to, 5);
    f.control.Press(f.X(0), f.Y(3), f.client);
    EXPECT_EQ(f.control.CurrentSelection().repaint.from, 0);
    EXPECT_EQ(f.control.CurrentSelection().repaint.to, 5);
    EXPECT_EQ(f.site.lastRegion.left, 75);
    EXPECT_EQ(f.site.lastRegion.top, 31);
    EXPECT_EQ(f.site.lastRegion.right, 599);
    EXPECT_EQ(f.site.lastRegion.bottom, 499);
}

TEST(SelectionTest, PointsOutsideTheGrid)
{
    SelectionFixture f;
    f.control.Press(30, f.Y(2), f.client);  // time column
    f.control.Press(f.X(2), 10, f.client);  // header
    EXPECT_TRUE(f.events.lines.empty());
    f.control.Drag(f.X(2), f.Y(2), f.client);  // no anchor yet
    EXPECT_TRUE(f.events.lines.empty());
    f.control.Press(f.X(1), f.Y(2), f.client);
    f.control.Drag(900, f.Y(2), f.client);  // right of the grid: last column
    f.control.Drag(900, 5000, f.client);    // below: the lowest row shown
    EXPECT_EQ(f.events.lines,
              Lines({"TimeSelect 35064 540 35064 570", "TimeSelect 35064 540 35069 570",
                     "TimeSelect 35064 540 35069 1230"}));
}

TEST(SelectionTest, RightClicks)
{
    SelectionFixture f;
    f.control.AddKeyAppointment(540, 35063, 600, 35063, "first");
    f.control.AddKeyAppointment(570, 35063, 630, 35063, "second");
    f.Paint();
    f.events.lines.clear();
    f.control.RightClickAt(f.X(0), f.Y(2), f.client);
    f.control.RightClickAt(f.X(0), f.Y(3), f.client);  // both overlap: the later one
    f.control.RightClickAt(f.X(1), f.Y(3), f.client);  // empty cell
    f.control.RightClickAt(f.X(0), 10, f.client);      // header
    f.control.RightClickAt(20, f.Y(3), f.client);      // time column
    EXPECT_EQ(f.events.lines,
              Lines({"RightClick 540 35063 600 35063 1 first",
                     "RightClick 570 35063 630 35063 2 second", "RightClick -1 -1 -1 -1 0 "}));
    // A deleted appointment still in the map of the last paint reports nothing stale.
    f.control.DeleteAppointment(2);
    f.events.lines.clear();
    f.control.RightClickAt(f.X(0), f.Y(4), f.client);
    EXPECT_EQ(f.events.lines, Lines({"RightClick -1 -1 -1 -1 0 "}));
}

TEST(SelectionTest, RightClickReportsALongKeyWhole)
{
    SelectionFixture f;
    const std::string key(600, 'q');
    f.control.AddKeyAppointment(540, 35063, 600, 35063, key);
    f.Paint();
    f.events.lines.clear();
    f.control.RightClickAt(f.X(0), f.Y(2), f.client);
    EXPECT_EQ(f.events.lines, Lines({"RightClick 540 35063 600 35063 1 " + key}));
}

TEST(SelectionTest, SpanMovesPastMidnightOnce)
{
    // 23:00 to midnight in hour rows: rows 0 and 1 of the range, then blank rows that
    // still take presses. Row 24 starts 1380 + 24 * 60 = 2820 minutes after midnight.
    ControlFixture f;
    f.control.SetTimeStart(1380);
    f.control.SetTimeUnits(Minutes_60);
    f.Paint();
    ASSERT_EQ(f.control.VisibleRows(), 24);
    f.events.lines.clear();
    const Rect client{0, 0, 600, 500};
    f.control.Press(105, 31 + 10 * 19 + 8, client);
    f.control.Press(105, 31 + 24 * 19 + 8, client);
    EXPECT_EQ(f.events.lines,
              Lines({"TimeSelect 35064 540 35064 600", "TimeSelect 35064 1380 35064 1440"}));
}

TEST(SelectionTest, SpanBeyondTheShortRangeStaysTheRightMoment)
{
    // Rows of one pixel in a very tall view: row 7000 of hour rows lies 420000 minutes
    // after the first day's midnight, more than the event's 16-bit time can carry.
    ControlFixture f;
    f.control.SetTimeUnits(Minutes_60);
    f.control.SetHeightOffset(-18);
    f.Paint(600, 8000);
    f.events.lines.clear();
    f.control.Press(105, 31 + 7000 + 1, Rect{0, 0, 600, 8000});
    EXPECT_EQ(f.events.lines, Lines({"TimeSelect 35354 960 35354 1020"}));
}

TEST(SelectionTest, NegativeTimeStartIsKeptAndReported)
{
    ControlFixture f;
    f.control.SetTimeStart(-60);
    f.control.AddAppointment(-30, 35063, 90, 35063);
    f.Paint();
    EXPECT_EQ(f.control.LastLayout().lastRow, 2);
    EXPECT_EQ(f.control.GetTopTime(), -60);
    f.events.lines.clear();
    const Rect client{0, 0, 600, 500};
    f.control.Press(105, 31 + 8, client);
    f.control.Drag(180, 31 + 3 * 19 + 8, client);
    f.control.RightClickAt(100, 31 + 8, client);
    EXPECT_EQ(f.events.lines,
              Lines({"TimeSelect 35063 -60 35063 -30", "TimeSelect 35063 -60 35064 60",
                     "RightClick -30 35063 90 35063 1 "}));
}

}  // namespace
}  // namespace weekview
