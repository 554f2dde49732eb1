// Where the appointment bars go: one middle-third bar per day column an appointment covers.
#include "Bars.h"

#include <algorithm>

namespace weekview {
namespace {

// Rows past this one are never drawn, whatever the unit.
constexpr int kLastBarRow = 227;

struct RowSpan {
    int64_t startColumn;
    int64_t endColumn;
    int startRow;
    int endRow;
};

// Columns and rows of an appointment; a time before the first shown time belongs
// to the display day of the column before.
RowSpan SpanOf(const Appointment& a, int32_t first, int s0, int unit)
{
    RowSpan s;
    const bool startEarly = a.startTime < s0;
    const bool endEarly = a.endTime < s0;
    s.startColumn = int64_t{a.startDate} - first - (startEarly ? 1 : 0);
    s.endColumn = int64_t{a.endDate} - first - (endEarly ? 1 : 0);
    s.startRow = (a.startTime - s0 + (startEarly ? 1440 : 0)) / unit;
    s.endRow = (a.endTime - s0 + (endEarly ? 1440 : 0)) / unit;
    if (a.endTime % unit == 0)
        --s.endRow;
    s.startRow = std::min(s.startRow, kLastBarRow);
    s.endRow = std::min(s.endRow, kLastBarRow);
    return s;
}

}  // namespace

void CellMap::ClearAll()
{
    Clear(kCellMapColumns, kCellMapRows);
}

void CellMap::Clear(int columns, int rows)
{
    columns = std::clamp(columns, 0, kCellMapColumns);
    rows = std::clamp(rows, 0, kCellMapRows);
    for (int c = 0; c < columns; ++c)
        std::fill(cells_[c], cells_[c] + rows, int16_t{-1});
}

void LayOutBars(const BarInput& in, const AppointmentList& list, CellMap& map,
                std::vector<Bar>& bars)
{
    const DisplayProperties& p = *in.properties;
    const Layout& l = *in.layout;
    const Insets& insets = *in.insets;
    bars.clear();
    map.Clear(p.DayColumns, l.visibleRows + 1);
    if (l.rowHeight <= 0)
        return;

    const int unit = l.rowUnit;
    const int s0 = std::max((p.TimeStart / unit) * unit, 0);
    const int e0 = std::max((p.TimeEnd / unit) * unit, 0);
    const int64_t windowStart = int64_t{in.firstDate} * 1440 + s0;
    const int64_t windowEnd = (int64_t{in.firstDate} + p.DayColumns + 1) * 1440 + e0;
    const int top = l.bounds.top;
    const int gridLine = top + insets.top + p.HeaderHeight;
    const int gridBottom = l.bounds.bottom - insets.bottom;
    const int w3 = l.dayColumnWidth / 3;
    auto rowY = [&](int k) { return (k - in.firstRow) * l.rowHeight + gridLine; };
    auto mapRow = [&](int y) {
        return std::clamp((y - gridLine) / l.rowHeight, 0, kCellMapRows - 1);
    };

    for (int j = 0; j < list.Count(); ++j) {
        const Appointment& a = list.At(j + 1);
        if (AbsoluteMinute(a.startDate, a.startTime) > windowEnd ||
            AbsoluteMinute(a.endDate, a.endTime) < windowStart)
            continue;
        const RowSpan s = SpanOf(a, in.firstDate, s0, unit);
        const int64_t fromColumn = std::max<int64_t>(s.startColumn, 0);
        const int64_t toColumn = std::min<int64_t>(p.DayColumns - 1, s.endColumn);
        for (int c = static_cast<int>(fromColumn); c <= toColumn; ++c) {
            const int barTop = c == s.startColumn ? rowY(s.startRow) : gridLine;
            const int barBottom =
                std::min(c == s.endColumn ? rowY(s.endRow + 1) - 1 : gridBottom, gridBottom);
            if (barTop >= l.bounds.bottom - 1 || top + p.HeaderHeight >= barBottom - 1)
                continue;
            const int x = l.bounds.left + l.timeColumnWidth + c * l.dayColumnWidth + w3;
            const int shownTop = std::max(barTop, gridLine);
            bars.push_back(Bar{Rect{x, shownTop, x + w3, barBottom}, static_cast<int16_t>(j),
                               static_cast<int16_t>(c)});
            const int column = std::min(c, kCellMapColumns - 1);
            for (int r = mapRow(shownTop); r <= mapRow(barBottom); ++r)
                map.Set(column, r, static_cast<int16_t>(j));
        }
    }
}

}  // namespace weekview
