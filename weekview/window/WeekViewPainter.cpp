// The week view's draw operation: time column, shaded cells, header, bars, focus and frame.
#include "WeekViewPainter.h"

#include <olectl.h>

#include <algorithm>
#include <cstdio>

#include "GdiObjects.h"
#include "PaintPrimitives.h"
#include "SplitTimePainter.h"

namespace weekview {
namespace {

class FullPainter {
public:
    FullPainter(WeekViewControl& control, HDC dc, const PaintContext& pc)
        : control_(control), p_(control.Properties()), dc_(dc), pc_(pc)
    {
    }

    void Paint(const Rect& bounds)
    {
        SelectedObject font(dc_, pc_.font);
        SetBkMode(dc_, TRANSPARENT);
        l_ = control_.BeginFullPaint(bounds, MeasureTextHeight());
        insets_ = control_.BorderInsetsNow();
        const int rowsDrawn = PaintRows();
        if (SplitStyleInEffect(p_) && l_.rowHeight > 0)
            PaintSplitHours(dc_, control_, pc_, rowsDrawn);
        PaintDaySeparators(rowsDrawn);
        PaintHeader();
        PaintBars();
        PaintFocus(control_, dc_, pc_);
        DrawBorderFrame(dc_, l_.bounds.left, l_.bounds.top + p_.HeaderHeight, l_.bounds.right,
                        l_.bounds.bottom, p_.BorderType, TranslateColor(p_.BorderColor));
    }

    static void PaintFocus(const WeekViewControl& control, HDC dc, const PaintContext& pc)
    {
        const Cell& current = control.CurrentSelection().current;
        if (!pc.runMode || !pc.hasFocus || !current.IsSet())
            return;
        const Layout& l = control.LastLayout();
        const int top = l.gridTop + (current.row - control.FirstRow()) * l.rowHeight;
        if (top < control.Properties().HeaderHeight)
            return;
        const int left = l.bounds.left + l.timeColumnWidth + current.column * l.dayColumnWidth;
        const RECT rect{left, top, left + l.dayColumnWidth, top + l.rowHeight};
        DrawFocusRect(dc, &rect);
    }

private:
    // A context that cannot measure text (a Windows metafile records drawing only)
    // is measured as the screen would be.
    int16_t MeasureTextHeight()
    {
        TEXTMETRICA metrics;
        if (GetObjectType(dc_) != OBJ_METADC && GetTextMetricsA(dc_, &metrics))
            return MeasureTextHeight(dc_);
        HDC screen = GetDC(nullptr);
        int16_t height = 0;
        {
            SelectedObject font(screen, pc_.font);
            height = MeasureTextHeight(screen);
        }
        ReleaseDC(nullptr, screen);
        return height;
    }

    static int16_t MeasureTextHeight(HDC dc)
    {
        RECT rect{0, 0, 0, 0};
        DrawTextA(dc, "M", 1, &rect, DT_CALCRECT | DT_VCENTER);
        return static_cast<int16_t>(rect.bottom - rect.top);
    }

    // Rows from the first shown to the last of the range, at most one past those
    // that fit; returns how many were drawn.
    int PaintRows()
    {
        if (l_.rowHeight <= 0 || l_.gridTop >= l_.bounds.bottom)
            return 0;
        int j = 0;
        for (int r = control_.FirstRow(); r <= l_.lastRow && j <= l_.visibleRows; ++r, ++j) {
            const int top = l_.gridTop + j * l_.rowHeight;
            const int bottom = top + l_.rowHeight;
            const int left = l_.bounds.left + insets_.left;
            const int right = left + l_.timeColumnWidth - 1;
            FillArea(dc_, left, top, right, bottom, TranslateColor(p_.TimeBackColor));
            const int16_t t = RowTime(p_, r);
            if (SplitStyleInEffect(p_)) {
                PaintSplitMinute(dc_, p_, t, RECT{left, top, right, bottom});
            } else {
                DrawLine(dc_, FullTimeText(p_, t), left, top, right, bottom, DT_CENTER | DT_VCENTER,
                         TranslateColor(p_.ForeColor));
                DrawBorderFrame(dc_, left, top, right, bottom, p_.TimeBorder,
                                TranslateColor(p_.BorderColor));
            }
            PaintRowCells(r, top);
        }
        return j;
    }

    // Cells of one row, adjacent cells of one state filled as one rectangle.
    void PaintRowCells(int r, int top)
    {
        const int gridLeft = l_.bounds.left + l_.timeColumnWidth;
        int runStart = 0;
        for (int c = 1; c <= p_.DayColumns; ++c) {
            if (c < p_.DayColumns && CellColor(r, c) == CellColor(r, runStart))
                continue;
            FillArea(dc_, gridLeft + runStart * l_.dayColumnWidth, top,
                     gridLeft + c * l_.dayColumnWidth, top + l_.rowHeight,
                     TranslateColor(CellColor(r, runStart)));
            runStart = c;
        }
        DottedLine(dc_, gridLeft, top + l_.rowHeight - 1, l_.bounds.right, top + l_.rowHeight - 1,
                   TranslateColor(p_.LineColor));
    }

    OleColor CellColor(int r, int c) const { return StateColor(control_, r, c); }

    void PaintDaySeparators(int rowsDrawn)
    {
        const int top = l_.bounds.top + p_.HeaderHeight;
        const int bottom = std::min(top + rowsDrawn * l_.rowHeight, l_.bounds.bottom);
        for (int i = 1; i <= p_.DayColumns; ++i) {
            const int x = l_.bounds.left + l_.timeColumnWidth + i * l_.dayColumnWidth - 1;
            DottedLine(dc_, x, top, x, bottom, TranslateColor(p_.LineColor));
        }
    }

    void PaintHeader()
    {
        const int firstWeekday = WeekdayOf(p_.Day, p_.Month, p_.Year);
        for (int i = 0; i < p_.DayColumns; ++i) {
            int left = l_.bounds.left + l_.timeColumnWidth + i * l_.dayColumnWidth;
            int right = left + l_.dayColumnWidth;
            const int top = l_.bounds.top;
            int bottom = top + p_.HeaderHeight;
            if (p_.HeaderBorder == BorderRegular) {
                ++bottom;
                if (i < p_.DayColumns - 1)
                    ++right;
            }
            FillArea(dc_, left, top, right, bottom, TranslateColor(p_.HeaderBackColor));
            const COLORREF fore = TranslateColor(p_.HeaderForeColor);
            int v = (i + firstWeekday) % 7;
            if (v == 0)
                v = 7;
            DrawLine(dc_, DayCaption(p_.DayHeader, v), left, top + p_.HeaderYOffset, right,
                     bottom + (top - bottom) / 2 + p_.HeaderYOffset, DT_CENTER | DT_VCENTER, fore);
            char day[16];
            std::snprintf(day, sizeof day, "%d", SerialToDate(control_.GetDate() + i).day);
            const int a = (bottom - top) / 2 - 2 * p_.HeaderYOffset;
            DrawLine(dc_, day, left, top + a, right, bottom, DT_CENTER | DT_VCENTER, fore);
            DrawBorderFrame(dc_, left, top, right, bottom, p_.HeaderBorder,
                            TranslateColor(p_.BorderColor));
        }
    }

    // All bars share one colour and a column's bars share its middle third, so the
    // picture is the union of each column's vertical spans: the spans are counted per
    // pixel row and each covered run is filled once, however many bars overlap.
    void PaintBars()
    {
        const std::vector<Bar>& bars = control_.LayOutBars();
        if (bars.empty())
            return;
        const int top = l_.bounds.top;
        const int height = l_.bounds.bottom - top;
        const int columns = std::max<int>(p_.DayColumns, 1);
        std::vector<int> depth(static_cast<size_t>(columns) * (height + 1), 0);
        auto at = [&](int column, int y) -> int& {
            return depth[static_cast<size_t>(column) * (height + 1) +
                         std::clamp(y - top, 0, height)];
        };
        for (const Bar& bar : bars) {
            // An empty range ends above its own top and covers no pixel; counted, it
            // would close another bar's run for a line.
            if (bar.rect.bottom <= bar.rect.top)
                continue;
            ++at(bar.column, bar.rect.top);
            --at(bar.column, bar.rect.bottom);
        }
        const COLORREF color = TranslateColor(p_.AppBarColor);
        const int w3 = l_.dayColumnWidth / 3;
        for (int c = 0; c < columns; ++c) {
            const int x = l_.bounds.left + l_.timeColumnWidth + c * l_.dayColumnWidth + w3;
            int open = 0;
            int runTop = 0;
            for (int y = top; y <= top + height; ++y) {
                const int before = open;
                open += at(c, y);
                if (before == 0 && open > 0)
                    runTop = y;
                else if (before > 0 && open == 0)
                    FillArea(dc_, x, runTop, x + w3, y, color);
            }
        }
    }

    WeekViewControl& control_;
    const DisplayProperties& p_;
    HDC dc_;
    const PaintContext& pc_;
    Layout l_;
    Insets insets_;
};

// Redraws the cells of the columns whose selection state changed, straight onto
// the window, with the layout of the last full paint.
void PaintSelection(WeekViewControl& control, HDC dc, const PaintContext& pc)
{
    const Selection& s = control.CurrentSelection();
    const Layout& l = control.LastLayout();
    const DisplayProperties& p = control.Properties();
    const COLORREF line = TranslateColor(p.LineColor);
    const COLORREF bar = TranslateColor(p.AppBarColor);
    const int from = std::max<int>(std::min(s.repaint.from, s.repaint.to), 0);
    const int to = std::min<int>(std::max(s.repaint.from, s.repaint.to), p.DayColumns - 1);
    if (s.repaint.IsSet() && l.rowHeight > 0) {
        for (int c = from; c <= to; ++c) {
            const int left = l.bounds.left + l.timeColumnWidth + c * l.dayColumnWidth;
            const int right = left + l.dayColumnWidth;
            int j = 0;
            for (int r = control.FirstRow(); r <= l.lastRow && j <= l.visibleRows; ++r, ++j) {
                const int top = l.gridTop + j * l.rowHeight;
                const int bottom = top + l.rowHeight;
                FillArea(dc, left, top, right, bottom, TranslateColor(StateColor(control, r, c)));
                DottedLine(dc, left, bottom - 1, right, bottom - 1, line);
                DottedLine(dc, right - 1, top, right - 1, bottom - 1, line);
                if (c < kCellMapColumns && j < kCellMapRows && control.Cells().At(c, j) != -1) {
                    const int w3 = l.dayColumnWidth / 3;
                    FillArea(dc, left + w3, top, left + 2 * w3, bottom, bar);
                }
            }
        }
    }
    control.SelectionRepainted();
    FullPainter::PaintFocus(control, dc, pc);
}

void PaintFull(WeekViewControl& control, HDC dc, const RECT& r, const PaintContext& pc)
{
    FillArea(dc, r.left, r.top, r.right, r.bottom, TranslateColor(control.Properties().BackColor));
    FullPainter(control, dc, pc).Paint(Rect{r.left, r.top, r.right, r.bottom});
}

}  // namespace

OleColor StateColor(const WeekViewControl& control, int r, int c)
{
    const DisplayProperties& p = control.Properties();
    if (control.IsSelected(r, c))
        return p.SelectedColor;
    return IsPrime(p, r, c) ? p.PrimeTimeColor : p.NonPrimeColor;
}

COLORREF TranslateColor(OleColor color)
{
    COLORREF result = 0;
    if (FAILED(OleTranslateColor(color, nullptr, &result)))
        return 0;
    return result;
}

bool PaintThroughBitmap(WeekViewControl& control, HDC dc, const RECT& bounds,
                        const PaintContext& pc)
{
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0)
        return false;
    MemoryDc memory(dc);
    GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc, width, height));
    if (memory.Get() == nullptr || bitmap.Get() == nullptr)
        return false;
    SelectedObject selected(memory.Get(), bitmap.Get());
    if (!selected.Ok())
        return false;
    PaintFull(control, memory.Get(), RECT{0, 0, width, height}, pc);
    BitBlt(dc, bounds.left, bounds.top, width, height, memory.Get(), 0, 0, SRCCOPY);
    return true;
}

bool PaintPicture(WeekViewControl& control, HDC dc, const RECT& bounds, const PaintContext& pc)
{
    if (pc.runMode)
        return PaintThroughBitmap(control, dc, bounds, pc);
    PaintFull(control, dc, bounds, pc);
    return true;
}

void DrawWeekView(WeekViewControl& control, HDC dc, const RECT& bounds, const PaintContext& pc)
{
    if (control.TakeSelectionRepaint()) {
        PaintSelection(control, dc, pc);
        return;
    }
    PaintPicture(control, dc, bounds, pc);
}

}  // namespace weekview
