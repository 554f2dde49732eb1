// Pixels of the painted week view: rows, texts, shading, bars, dotted lines, selection.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "GdiObjects.h"
#include "WindowFixture.h"

// Memory running out on demand: the next allocation after arming fails.
namespace {
bool g_failNextAllocation = false;
int g_failedAllocations = 0;
}  // namespace

void* operator new(std::size_t size)
{
    if (g_failNextAllocation) {
        g_failNextAllocation = false;
        ++g_failedAllocations;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size != 0 ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace weekview {
namespace {

struct Grid {
    explicit Grid(const WeekViewControl& c) : l(c.LastLayout()) {}
    int ColumnLeft(int c) const { return l.bounds.left + l.timeColumnWidth + c * l.dayColumnWidth; }
    int RowTop(int j) const { return l.gridTop + j * l.rowHeight; }
    // A point of the cell that no bar, line or text covers.
    int ProbeX(int c) const { return ColumnLeft(c) + 3; }
    int ProbeY(int j) const { return RowTop(j) + l.rowHeight / 2; }
    int Third() const { return l.dayColumnWidth / 3; }
    const Layout& l;
};

TEST(PaintTest, RowsOfTheTimeRange)
{
    struct Case {
        int16_t start, end;
        int rows;
    } cases[] = {{0, 0, 49}, {480, 1020, 19}, {1320, 120, 9}};
    for (const Case& k : cases) {
        WindowFixture f(600, 1000);
        f.Control().SetTimeStart(k.start);
        f.Control().SetTimeEnd(k.end);
        f.Control().SetWeekendPrime(true);
        const Pixels px = f.Snap();
        const Grid g(f.Control());
        ASSERT_GT(g.l.visibleRows, k.rows) << "window too small for the case";
        for (int j = 0; j < k.rows; ++j) {
            const COLORREF cell = px.At(g.ProbeX(0), g.ProbeY(j));
            EXPECT_TRUE(cell == kPrime || cell == kNonPrime)
                << "row " << j << " " << std::hex << cell;
            EXPECT_EQ(px.At(3, g.ProbeY(j)), kTimeBack) << "row " << j;
        }
        EXPECT_EQ(px.At(g.ProbeX(0), g.ProbeY(k.rows)), kBack) << k.start << "-" << k.end;
        EXPECT_EQ(px.At(3, g.ProbeY(k.rows)), kBack);
    }
}

// Paints a time cell's text alone, as the full time style centres it.
std::vector<COLORREF> ReferenceCell(HFONT font, const char* text, int width, int height)
{
    HDC screen = GetDC(nullptr);
    MemoryDc memory(screen);
    GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen, width, height));
    ReleaseDC(nullptr, screen);
    std::vector<COLORREF> pixels;
    {
        SelectedObject selectBitmap(memory.Get(), bitmap.Get());
        SelectedObject selectFont(memory.Get(), font);
        RECT r{0, 0, width, height};
        GdiObject<HBRUSH> brush(CreateSolidBrush(kTimeBack));
        FillRect(memory.Get(), &r, brush.Get());
        SetBkMode(memory.Get(), TRANSPARENT);
        SetTextColor(memory.Get(), kFore);
        DrawTextA(memory.Get(), text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        for (int y = 1; y < height - 1; ++y) {
            for (int x = 1; x < width - 1; ++x)
                pixels.push_back(GetPixel(memory.Get(), x, y));
        }
    }
    return pixels;
}

std::vector<COLORREF> PaintedCell(const Pixels& px, int left, int top, int width, int height)
{
    std::vector<COLORREF> pixels;
    for (int y = 1; y < height - 1; ++y) {
        for (int x = 1; x < width - 1; ++x)
            pixels.push_back(px.At(left + x, top + y));
    }
    return pixels;
}

TEST(PaintTest, TimeTexts)
{
    WindowFixture f(600, 700);
    f.Control().SetTimeStart(480);
    f.Control().SetTimeEnd(1020);
    const Pixels px = f.Snap();
    const Grid g(f.Control());
    const int width = g.l.timeColumnWidth - 1;
    struct Case {
        int row;
        const char* text;
        const char* neighbour;  // a text the cell must not show
    } cases[] = {
        {0, " 8:00 AM", " 8:30 AM"}, {9, "12:30 PM", "12:00 PM"}, {18, " 5:00 PM", " 4:30 PM"}};
    for (const Case& k : cases) {
        const std::vector<COLORREF> painted =
            PaintedCell(px, 1, g.RowTop(k.row), width, g.l.rowHeight);
        EXPECT_EQ(painted, ReferenceCell(f.View().Font(), k.text, width, g.l.rowHeight))
            << "row " << k.row;
        EXPECT_NE(painted, ReferenceCell(f.View().Font(), k.neighbour, width, g.l.rowHeight));
    }
}

TEST(PaintTest, PrimeAndWeekendShading)
{
    WindowFixture f(600, 700);  // 1 January 1996, a Monday: columns 5 and 6 are the weekend
    f.Control().SetTimeStart(420);
    Pixels px = f.Snap();
    Grid g(f.Control());
    struct Case {
        int column, row;
        COLORREF color;
    } cases[] = {
        {0, 0, kNonPrime}, {0, 1, kNonPrime},  {0, 2, kPrime},  {4, 2, kPrime},
        {5, 2, kNonPrime}, {6, 10, kNonPrime}, {3, 19, kPrime}, {3, 20, kNonPrime},
    };
    for (const Case& k : cases)
        EXPECT_EQ(px.At(g.ProbeX(k.column), g.ProbeY(k.row)), k.color) << k.column << "," << k.row;
    f.Control().SetWeekendPrime(true);
    px = f.Snap();
    EXPECT_EQ(px.At(g.ProbeX(5), g.ProbeY(2)), kPrime);
    EXPECT_EQ(px.At(g.ProbeX(6), g.ProbeY(0)), kNonPrime);
}

TEST(PaintTest, BarsTakeTheMiddleThirdAndEndOnRows)
{
    WindowFixture f(600, 700);
    f.Control().SetTimeStart(420);
    f.Control().AddAppointment(540, 35064, 600, 35064);  // Tuesday 09:00 to 10:00: rows 4 and 5
    const Pixels px = f.Snap();
    const Grid g(f.Control());
    const int left = g.ColumnLeft(1);
    const int w3 = g.Third();
    const int midY = g.ProbeY(4);
    EXPECT_EQ(px.At(left + w3, midY), kBar);
    EXPECT_EQ(px.At(left + 2 * w3 - 1, midY), kBar);
    EXPECT_NE(px.At(left + w3 - 1, midY), kBar);
    EXPECT_NE(px.At(left + 2 * w3, midY), kBar);
    const int x = left + w3 + 1;
    EXPECT_NE(px.At(x, g.RowTop(4) - 1), kBar);
    EXPECT_EQ(px.At(x, g.RowTop(4)), kBar);
    EXPECT_EQ(px.At(x, g.RowTop(6) - 2), kBar);  // the 09:30 row is the last one
    EXPECT_NE(px.At(x, g.RowTop(6) - 1), kBar);
    EXPECT_NE(px.At(x, g.ProbeY(6)), kBar);
}

TEST(PaintTest, EmptyAppointmentLeavesAnOverlappingBarWhole)
{
    WindowFixture f(600, 700);
    f.Control().SetTimeStart(420);
    f.Control().AddAppointment(540, 35064, 660, 35064);  // Tuesday 09:00 to 11:00: rows 4 to 7
    f.Control().AddAppointment(600, 35064, 600, 35064);  // empty, at 10:00 (row 6)
    const Pixels px = f.Snap();
    const Grid g(f.Control());
    const int x = g.ColumnLeft(1) + g.Third() + 1;
    for (int y = g.RowTop(4); y <= g.RowTop(8) - 2; ++y)
        EXPECT_EQ(px.At(x, y), kBar) << "y " << y;
    EXPECT_NE(px.At(x, g.RowTop(8) - 1), kBar);
}

TEST(PaintTest, OvernightBarRunsToTheBottomAndFromTheTop)
{
    WindowFixture f(600, 250);
    f.Control().AddAppointment(1380, 35063, 60, 35064);  // 23:00 to 01:00 the next day
    f.Snap();
    f.Control().SetTopTime(1260);  // as far down as the rows go
    Pixels px = f.Snap();
    Grid g(f.Control());
    const int j = 46 - f.Control().FirstRow();
    const int x0 = g.ColumnLeft(0) + g.Third() + 1;
    EXPECT_NE(px.At(x0, g.RowTop(j) - 1), kBar);
    EXPECT_EQ(px.At(x0, g.RowTop(j)), kBar);
    EXPECT_EQ(px.At(x0, g.l.bounds.bottom - 2), kBar);
    f.Control().SetTopTime(0);
    px = f.Snap();
    const int x1 = g.ColumnLeft(1) + g.Third() + 1;
    EXPECT_NE(px.At(x1, g.l.gridTop - 1), kBar);
    EXPECT_EQ(px.At(x1, g.l.gridTop), kBar);
    EXPECT_EQ(px.At(x1, g.RowTop(2) - 2), kBar);
    EXPECT_NE(px.At(x1, g.RowTop(2) - 1), kBar);
    EXPECT_NE(px.At(x0, g.ProbeY(0)), kBar);
}

TEST(PaintTest, DottedLinesEverySecondPixel)
{
    WindowFixture f(600, 700);
    const Pixels px = f.Snap();
    const Grid g(f.Control());
    const int y = g.RowTop(3) + g.l.rowHeight - 1;
    for (int x = g.ColumnLeft(0); x < g.ColumnLeft(0) + 40; ++x)
        EXPECT_EQ(px.At(x, y) == kLine, (x - g.ColumnLeft(0)) % 2 == 0) << "x " << x;
    const int separator = g.ColumnLeft(2) - 1;
    for (int yy = g.RowTop(5); yy < g.RowTop(7); ++yy)
        EXPECT_EQ(px.At(separator, yy) == kLine, yy % 2 == 0) << "y " << yy;
}

TEST(PaintTest, SelectedCellsInSelectedColor)
{
    WindowFixture f(600, 700);
    Grid g0(f.Control());
    const int x2 = g0.ProbeX(2) + 10, x3 = g0.ProbeX(3) + 10;
    f.Mouse(WM_LBUTTONDOWN, MK_LBUTTON, x2, g0.ProbeY(3));
    f.Mouse(WM_MOUSEMOVE, MK_LBUTTON, x3, g0.ProbeY(1));
    f.Mouse(WM_LBUTTONUP, 0, x3, g0.ProbeY(1));
    const Pixels px = f.Snap();
    const Grid g(f.Control());
    struct Case {
        int column, row;
        bool selected;
    } cases[] = {{2, 2, false}, {2, 3, true},  {2, 20, true}, {3, 0, true},
                 {3, 1, true},  {3, 2, false}, {1, 5, false}, {4, 0, false}};
    for (const Case& k : cases) {
        EXPECT_EQ(px.At(g.ProbeX(k.column), g.ProbeY(k.row)) == kSelected, k.selected)
            << k.column << "," << k.row;
    }
}

TEST(PaintTest, SelectionRepaintReachesTheWindowAtOnce)
{
    WindowFixture f(600, 700);
    const Grid g(f.Control());
    HDC dc = GetDC(f.Handle());
    const COLORREF before = GetPixel(dc, g.ProbeX(2), g.ProbeY(3));
    f.Mouse(WM_LBUTTONDOWN, MK_LBUTTON, g.ProbeX(2), g.ProbeY(3));
    const COLORREF after = GetPixel(dc, g.ProbeX(2), g.ProbeY(3));
    f.Mouse(WM_LBUTTONUP, 0, g.ProbeX(2), g.ProbeY(3));
    ReleaseDC(f.Handle(), dc);
    EXPECT_NE(before, kSelected);
    EXPECT_EQ(after, kSelected);
}

// A paint that runs out of memory half way still ends its paint: the window's device
// context goes back to the system, so the next one asked for is the same.
TEST(PaintTest, PaintFailingHalfWayGivesItsContextBack)
{
    WindowFixture f(600, 700);
    f.Pump();
    HDC dc = GetDC(f.Handle());
    ReleaseDC(f.Handle(), dc);
    f.Control().AddAppointment(540, 35064, 600, 35064);  // its bar takes memory in the paint
    g_failedAllocations = 0;
    g_failNextAllocation = true;
    UpdateWindow(f.Handle());
    g_failNextAllocation = false;
    EXPECT_EQ(g_failedAllocations, 1);
    HDC next = GetDC(f.Handle());
    ReleaseDC(f.Handle(), next);
    EXPECT_EQ(next, dc);
}

TEST(PaintTest, FullRepaintIsNotLostToASelectionRepaint)
{
    WindowFixture f(600, 700);
    const Grid g(f.Control());
    f.Control().AddAppointment(480, 35066, 600, 35066);             // Thursday 08:00 to 10:00
    f.Mouse(WM_LBUTTONDOWN, MK_LBUTTON, g.ProbeX(1), g.ProbeY(3));  // before any paint
    f.Mouse(WM_LBUTTONUP, 0, g.ProbeX(1), g.ProbeY(3));
    f.Pump();
    HDC dc = GetDC(f.Handle());
    const COLORREF bar = GetPixel(dc, g.ColumnLeft(3) + g.Third() + 1, g.ProbeY(17));
    const COLORREF selected = GetPixel(dc, g.ProbeX(1), g.ProbeY(3));
    ReleaseDC(f.Handle(), dc);
    EXPECT_EQ(bar, kBar);
    EXPECT_EQ(selected, kSelected);
}

TEST(PaintTest, SplitStyleHourBlocksAndMinuteLines)
{
    // 08:00 at the top, half-hour rows: each hour block covers two rows. The time
    // column is 75 wide; with raised time frames w = 74 and the block is 46 wide.
    constexpr COLORREF kBorder = RGB(255, 0, 255);
    WindowFixture f(600, 700);
    f.Control().SetTimeStart(480);
    f.Control().SetTimeType(TimeSplit);
    f.Control().SetColor(&DisplayProperties::BorderColor, kBorder);
    Pixels px = f.Snap();
    const Grid g(f.Control());
    const int blockRight = 1 + 5 * 74 / 8;
    const int line = g.RowTop(3) - 1;  // under the 09:00 row, inside the 9 o'clock block
    EXPECT_EQ(px.At(blockRight + 3, line), kBorder);
    EXPECT_EQ(px.At(blockRight - 3, line), kTimeBack);
    EXPECT_EQ(px.At(blockRight + 3, g.RowTop(4) - 1), RGB(255, 255, 255));  // 10:00 frame top
    EXPECT_EQ(px.At(74, g.ProbeY(2)), RGB(128, 128, 128));                  // frame's right side
    f.Control().SetTimeUnits(Minutes_60);  // hour rows: the full style again
    px = f.Snap();
    EXPECT_EQ(px.At(blockRight + 3, g.RowTop(1) - 1), RGB(128, 128, 128));
}

TEST(PaintTest, HeaderCaptions)
{
    WindowFixture f(600, 400);
    f.Control().SetDayHeader("Sun;Mon");
    const Pixels px = f.Snap();
    const Grid g(f.Control());
    auto hasText = [&](int column, int top, int bottom) {
        for (int y = top; y < bottom; ++y) {
            for (int x = g.ColumnLeft(column) + 2; x < g.ColumnLeft(column + 1) - 2; ++x) {
                if (px.At(x, y) == RGB(0, 0, 0))
                    return true;
            }
        }
        return false;
    };
    const int half = f.Control().Properties().HeaderHeight / 2;
    EXPECT_TRUE(hasText(0, 2, half));             // "Mon"
    EXPECT_FALSE(hasText(1, 2, half));            // no third item
    EXPECT_TRUE(hasText(1, half, 2 * half - 1));  // the day number
}

TEST(PaintTest, DegenerateSizesPaintNothingWrong)
{
    WindowFixture f(600, 400);
    f.Control().AddAppointment(0, 35063, 1000, 35070);
    f.Control().SetHeightOffset(-40);
    Pixels px = f.Snap();
    EXPECT_EQ(f.Control().VisibleRows(), 0);
    EXPECT_EQ(px.At(300, 200), kBack);
    f.Control().SetHeightOffset(0);
    f.Control().SetHeaderHeight(600);
    px = f.Snap();
    EXPECT_EQ(f.Control().VisibleRows(), 0);
    EXPECT_NE(px.At(300, 390), kBar);
}

}  // namespace
}  // namespace weekview
