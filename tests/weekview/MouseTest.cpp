// Real mouse messages to the week view window and the events they fire.
#include <gtest/gtest.h>

#include "WindowFixture.h"

namespace weekview {
namespace {

using Lines = std::vector<std::string>;

// 08:00 at the top; points in the middle of a cell's left part.
struct MouseFixture : WindowFixture {
    MouseFixture() : WindowFixture(600, 500)
    {
        Control().SetTimeStart(480);
        Snap();
        events.lines.clear();
    }
    int X(int column) const
    {
        const Layout& l = view().Control().LastLayout();
        return l.timeColumnWidth + column * l.dayColumnWidth + 5;
    }
    int Y(int row) const
    {
        const Layout& l = view().Control().LastLayout();
        return l.gridTop + row * l.rowHeight + l.rowHeight / 2;
    }
    WeekViewWindow& view() const { return const_cast<MouseFixture*>(this)->View(); }
    void Press(int c, int r) { Mouse(WM_LBUTTONDOWN, MK_LBUTTON, X(c), Y(r)); }
    void Drag(int c, int r) { Mouse(WM_MOUSEMOVE, MK_LBUTTON, X(c), Y(r)); }
    void Release(int c, int r) { Mouse(WM_LBUTTONUP, 0, X(c), Y(r)); }
};

TEST(MouseTest, SelectionByPressAndDrag)
{
    struct Case {
        const char* name;
        void (*run)(MouseFixture&);
        Lines events;
    } cases[] = {
        {"single press at 09:00 in the third column",
         [](MouseFixture& f) { f.Press(2, 2), f.Release(2, 2); },
         {"TimeSelect 35065 540 35065 570"}},
        {"drag from 16:00 back to 10:00",
         [](MouseFixture& f) { f.Press(0, 16), f.Drag(0, 10), f.Drag(0, 4), f.Release(0, 4); },
         {"TimeSelect 35063 960 35063 990", "TimeSelect 35063 780 35063 990",
          "TimeSelect 35063 600 35063 990"}},
        {"drag from day 1 09:00 to day 3 11:00",
         [](MouseFixture& f) { f.Press(1, 2), f.Drag(3, 6), f.Release(3, 6); },
         {"TimeSelect 35064 540 35064 570", "TimeSelect 35064 540 35066 690"}},
        {"same cell twice",
         [](MouseFixture& f) { f.Press(1, 1), f.Release(1, 1), f.Press(1, 1), f.Release(1, 1); },
         {"TimeSelect 35064 510 35064 540"}},
        {"moving without the button selects nothing",
         [](MouseFixture& f) { f.Mouse(WM_MOUSEMOVE, 0, f.X(3), f.Y(3)); },
         {}},
        {"dragging after the release selects nothing",
         [](MouseFixture& f) { f.Press(1, 1), f.Release(1, 1), f.Drag(2, 2); },
         {"TimeSelect 35064 510 35064 540"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        MouseFixture f;
        k.run(f);
        EXPECT_EQ(f.events.lines, k.events);
        EXPECT_EQ(GetCapture(), nullptr);
    }
}

TEST(MouseTest, StockEventsFollowTheHandling)
{
    MouseFixture f;
    f.events.stock.clear();
    f.Press(1, 1);
    EXPECT_EQ(GetCapture(), f.Handle());
    f.Release(1, 1);
    f.Mouse(WM_RBUTTONDOWN, MK_RBUTTON, 10, 10);
    f.Mouse(WM_RBUTTONUP, 0, 10, 10);
    EXPECT_EQ(f.events.stock,
              Lines({"MouseDown 1", "MouseUp 1", "Click", "MouseDown 2", "MouseUp 2"}));
}

TEST(MouseTest, RightClicks)
{
    MouseFixture f;
    f.Control().AddKeyAppointment(540, 35063, 630, 35063, "standup");
    f.Control().AddKeyAppointment(600, 35063, 660, 35063, "review");
    f.Snap();
    f.events.lines.clear();
    const int barX = f.X(0) + f.Control().LastLayout().dayColumnWidth / 2 - 5;
    f.Mouse(WM_RBUTTONDOWN, MK_RBUTTON, barX, f.Y(2));
    f.Mouse(WM_RBUTTONDOWN, MK_RBUTTON, barX, f.Y(5));    // both overlap at 10:30
    f.Mouse(WM_RBUTTONDOWN, MK_RBUTTON, f.X(0), f.Y(2));  // the whole row of the cell counts
    f.Mouse(WM_RBUTTONDOWN, MK_RBUTTON, f.X(2), f.Y(2));  // an empty cell
    f.Mouse(WM_RBUTTONDOWN, MK_RBUTTON, f.X(0), 10);      // header
    f.Mouse(WM_RBUTTONDOWN, MK_RBUTTON, 20, f.Y(2));      // time column
    EXPECT_EQ(f.events.lines,
              Lines({"RightClick 540 35063 630 35063 1 standup",
                     "RightClick 600 35063 660 35063 2 review",
                     "RightClick 540 35063 630 35063 1 standup", "RightClick -1 -1 -1 -1 0 "}));
}

TEST(MouseTest, AddAndDeleteClearTheSelection)
{
    MouseFixture f;
    f.Press(1, 1);
    f.Release(1, 1);
    f.Control().AddAppointment(540, 35063, 600, 35063);
    f.Control().DeleteAppointment(1);
    f.Control().DeleteAppointment(1);
    EXPECT_EQ(f.events.lines, Lines({"TimeSelect 35064 510 35064 540", "TimeSelect -1 -1 -1 -1",
                                     "TimeSelect -1 -1 -1 -1", "Error 32003 0"}));
    EXPECT_FALSE(f.Control().CurrentSelection().anchor.IsSet());
}

TEST(MouseTest, DisabledControlIgnoresTheMouse)
{
    MouseFixture f;
    f.Control().SetEnabled(false);
    f.Press(1, 1);
    f.Release(1, 1);
    f.Mouse(WM_RBUTTONDOWN, MK_RBUTTON, f.X(1), f.Y(1));
    EXPECT_TRUE(f.events.lines.empty());
    EXPECT_EQ(GetCapture(), nullptr);
    f.Control().SetEnabled(true);
    f.Press(1, 1);
    f.Release(1, 1);
    EXPECT_EQ(f.events.lines, Lines({"TimeSelect 35064 510 35064 540"}));
}

TEST(MouseTest, DesignTimePaintsDirectlyAndKeepsTheTopTime)
{
    MouseFixture f;
    f.View().SetRunMode(false);
    f.Pump();
    f.Control().SetTopTime(600);
    EXPECT_EQ(f.Control().GetTopTime(), 480);
    HDC dc = GetDC(f.Handle());
    const COLORREF cell = GetPixel(dc, f.X(0), f.Y(3));
    ReleaseDC(f.Handle(), dc);
    EXPECT_EQ(cell, kPrime);
}

TEST(MouseTest, FontChangesMarkTheControlModified)
{
    MouseFixture f;
    const HFONT font = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
    f.View().ClearModified();
    f.View().SetHourFont(font);
    EXPECT_TRUE(f.View().Modified());
    f.View().ClearModified();
    f.View().SetFont(font);
    EXPECT_TRUE(f.View().Modified());
    f.View().ClearModified();
    f.Control().SetDayColumns(3);
    EXPECT_TRUE(f.View().Modified());
    f.View().SetFont(nullptr);
}

TEST(MouseTest, HiddenWindowSelectsAndPaintsInFullWhenShown)
{
    MouseFixture f;
    ShowWindow(f.Handle(), SW_HIDE);
    f.Press(2, 3);
    f.Release(2, 3);
    EXPECT_EQ(f.events.lines, Lines({"TimeSelect 35065 570 35065 600"}));
    ShowWindow(f.Handle(), SW_SHOW);
    f.Pump();
    HDC dc = GetDC(f.Handle());
    const COLORREF timeColumn = GetPixel(dc, 3, f.Y(1));
    const COLORREF selected = GetPixel(dc, f.X(2), f.Y(3));
    const COLORREF header = GetPixel(dc, f.X(4), 3);
    ReleaseDC(f.Handle(), dc);
    EXPECT_EQ(timeColumn, kTimeBack);
    EXPECT_EQ(selected, kSelected);
    EXPECT_EQ(header, RGB(192, 192, 192));
}

TEST(MouseTest, ScrollMessagesMoveTheRows)
{
    MouseFixture f;
    SendMessageA(f.Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    SendMessageA(f.Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(f.Control().FirstRow(), 2);
    EXPECT_EQ(GetScrollPos(f.Handle(), SB_VERT), 2);
    EXPECT_EQ(f.Control().GetTopTime(), 540);
    f.Press(0, 0);  // rows are absolute: the top row now reads 09:00
    EXPECT_EQ(f.events.lines, Lines({"TimeSelect 35063 540 35063 570"}));
    SendMessageA(f.Handle(), WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_EQ(f.Control().FirstRow(), 0);
    f.Release(0, 0);
}

}  // namespace
}  // namespace weekview
