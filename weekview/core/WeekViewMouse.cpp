// The week view control's selection: hit tests, press, drag, right click and the
// events they fire.
#include "WeekViewControl.h"

#include <algorithm>

namespace weekview {

bool WeekViewControl::IsSelected(int r, int c) const
{
    return selection_.IsSelected(r, c, RowUnitMinutes(props_.TimeUnits));
}

void WeekViewControl::ClearSelection()
{
    selection_.Clear();
    events_.TimeSelect(-1, -1, -1, -1);
}

bool WeekViewControl::TakeSelectionRepaint()
{
    if (!selection_.pending)
        return false;
    selection_.pending = false;
    return true;
}

int16_t WeekViewControl::HitColumn(int x, const Rect& client) const
{
    if (props_.DayColumns < 1)
        return -1;
    const int w0 = TimeColumnWidth(props_, client.left, client.right);
    const int cw = (client.right - client.left - w0) / props_.DayColumns;
    if (cw < 1)
        return -1;
    const int column = std::max((x - insets_.left - w0) / cw, 0);
    return static_cast<int16_t>(std::min<int>(column, props_.DayColumns - 1));
}

int16_t WeekViewControl::HitRow(int y) const
{
    if (layout_.rowHeight <= 0)
        return -1;
    const int r = (y - insets_.top - props_.HeaderHeight - 1) / layout_.rowHeight;
    return r >= 0 && r <= visibleRows_ ? static_cast<int16_t>(r) : int16_t{-1};
}

bool WeekViewControl::InBounds(int x, int y, const Rect& client) const
{
    return x >= TimeColumnWidth(props_, client.left, client.right) &&
           y >= props_.HeaderHeight + insets_.top;
}

// The cell under a point. A drag below the grid (the pointer is captured) keeps to
// the lowest row it can reach, so the host never sees a row that does not exist.
bool WeekViewControl::CellAt(int x, int y, const Rect& client, bool dragging, int16_t& col,
                             int16_t& row) const
{
    if (!InBounds(x, y, client))
        return false;
    col = HitColumn(x, client);
    row = HitRow(y);
    if (col == -1 || layout_.rowHeight <= 0)
        return false;
    if (row == -1) {
        if (!dragging)
            return false;
        row = static_cast<int16_t>(
            std::min<int>(firstRow_ + visibleRows_, std::max<int>(layout_.lastRow, 0)));
        return true;
    }
    row = static_cast<int16_t>(row + firstRow_);
    return true;
}

void WeekViewControl::Press(int x, int y, const Rect& client)
{
    Cell cell;
    if (!CellAt(x, y, client, false, cell.column, cell.row))
        return;
    if (cell == selection_.anchor)
        return;
    selection_.PressAt(cell);
    AnnounceAndRepaint(client);
}

void WeekViewControl::Drag(int x, int y, const Rect& client)
{
    Cell cell;
    if (!CellAt(x, y, client, true, cell.column, cell.row))
        return;
    if (cell == selection_.current || !selection_.anchor.IsSet())
        return;
    selection_.DragTo(cell);
    AnnounceAndRepaint(client);
}

void WeekViewControl::AnnounceAndRepaint(const Rect& client)
{
    const int unit = RowUnitMinutes(props_.TimeUnits);
    const TimeSpan span = selection_.Span(unit, (props_.TimeStart / unit) * unit, date_);
    events_.TimeSelect(span.dayStart, span.timeStart, span.dayEnd, span.timeEnd);
    Rect region = client;
    region.left += TimeColumnWidth(props_, client.left, client.right);
    region.top += props_.HeaderHeight + insets_.top;
    region.right -= insets_.right;
    region.bottom -= insets_.bottom;
    if (selection_.pending) {
        selection_.repaint.from = 0;
        selection_.repaint.to = static_cast<int16_t>(props_.DayColumns - 1);
    }
    selection_.pending = true;
    site_.RepaintNow(region);
}

void WeekViewControl::RightClickAt(int x, int y, const Rect& client)
{
    if (!InBounds(x, y, client))
        return;
    const int16_t col = HitColumn(x, client);
    const int16_t row = HitRow(y);
    if (col < 0 || col >= kCellMapColumns || row < 0 || row >= kCellMapRows)
        return;
    const int16_t i = cells_.At(col, row);
    if (i != -1 && i < list_.Count()) {
        // A copy: the handler may change or clear the list while it holds the key.
        const Appointment a = list_.At(i + 1);
        events_.RightClick(a.startTime, a.startDate, a.endTime, a.endDate,
                           static_cast<int16_t>(i + 1), a.key);
    } else {
        events_.RightClick(-1, -1, -1, -1, 0, std::string());
    }
}

}  // namespace weekview
