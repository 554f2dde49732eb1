// Selection rules: what is selected, which columns repaint, and the reported span.
#include "Selection.h"

#include <algorithm>

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

TimeSpan Selection::Span(int unit, int base, int32_t firstDate) const
{
    const bool anchorFirst = CellPosition(anchor, unit) <= CellPosition(current, unit);
    const Cell& start = anchorFirst ? anchor : current;
    const Cell& end = anchorFirst ? current : anchor;
    // Blank rows below a long range may lie more than a day past the base.
    TimeSpan s;
    int timeStart = base + unit * start.row;
    int32_t dayStart = firstDate + start.column;
    while (timeStart >= 1440) {
        timeStart -= 1440;
        ++dayStart;
    }
    int timeEnd = base + unit * (end.row + 1);
    int32_t dayEnd = firstDate + end.column;
    while (timeEnd >= 1440) {
        timeEnd -= 1440;
        ++dayEnd;
    }
    s.dayStart = dayStart;
    s.timeStart = static_cast<int16_t>(timeStart);
    s.dayEnd = dayEnd;
    s.timeEnd = static_cast<int16_t>(timeEnd);
    return s;
}

}  // namespace weekview
