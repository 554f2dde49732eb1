// Selection rules: what is selected, which columns repaint, and the reported span.
#include "Selection.h"

#include <algorithm>
#include <cstdint>

namespace weekview {

bool Selection::IsSelected(int r, int c, int unit) const
{
    if (!anchor.IsSet() || !current.IsSet())
        return false;
    const int32_t position = r * unit + c * 1440;
    const int32_t a = CellPosition(anchor, unit);
    const int32_t b = CellPosition(current, unit);
    return position >= std::min(a, b) && position <= std::max(a, b);
}

void Selection::PressAt(const Cell& cell)
{
    if (anchor.column != -1 && current.column != -1) {
        repaint.from = std::min({anchor.column, current.column, cell.column});
        repaint.to = std::max({anchor.column, current.column, cell.column});
    } else {
        repaint.from = repaint.to = cell.column;
    }
    if (painted.IsSet()) {
        repaint.from = std::min(repaint.from, painted.from);
        repaint.to = std::max(repaint.to, painted.to);
    }
    repaintKind = RepaintKind::Press;
    anchor = current = cell;
}

void Selection::DragTo(const Cell& cell)
{
    current = cell;
    const int16_t col = cell.column;
    if (lastPaintedKind == RepaintKind::Press) {
        repaint.from = std::min({anchor.column, col, repaint.from});
        repaint.to = std::max({anchor.column, col, repaint.to});
    } else if (painted.to < col) {
        repaint.from = painted.to;
        repaint.to = col;
    } else if (painted.from > col) {
        repaint.from = col;
        repaint.to = painted.from;
    } else {
        repaint = painted;
    }
    repaintKind = RepaintKind::Drag;
}

void Selection::Painted()
{
    lastPaintedKind = repaintKind;
    if (repaintKind == RepaintKind::Press) {
        painted.from = anchor.column;
        painted.to = current.column;
    } else if (repaintKind == RepaintKind::Drag) {
        painted.from = std::min(repaint.from, repaint.to);
        painted.to = std::max(repaint.from, repaint.to);
    }
}

namespace {

// A time past midnight moves to the next day once, so blank rows far below a short
// range may keep more than a day's minutes, still naming the right moment. A time
// too large for the event's 16-bit argument gives its whole days to the date instead.
void CarryMidnight(int& time, int32_t& day)
{
    if (time >= 1440) {
        time -= 1440;
        ++day;
    }
    if (time > INT16_MAX) {
        day += time / 1440;
        time %= 1440;
    }
}

}  // namespace

TimeSpan Selection::Span(int unit, int base, int32_t firstDate) const
{
    const bool anchorFirst = CellPosition(anchor, unit) <= CellPosition(current, unit);
    const Cell& start = anchorFirst ? anchor : current;
    const Cell& end = anchorFirst ? current : anchor;
    TimeSpan s;
    int timeStart = base + unit * start.row;
    s.dayStart = firstDate + start.column;
    CarryMidnight(timeStart, s.dayStart);
    int timeEnd = base + unit * (end.row + 1);
    s.dayEnd = firstDate + end.column;
    CarryMidnight(timeEnd, s.dayEnd);
    s.timeStart = static_cast<int16_t>(timeStart);
    s.timeEnd = static_cast<int16_t>(timeEnd);
    return s;
}

}  // namespace weekview
