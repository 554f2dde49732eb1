// Selection state of the week view: anchor and current cell, and which day columns
// the next selection repaint must redraw.
#pragma once

#include <cstdint>

namespace weekview {

struct Cell {
    int16_t column = -1;
    int16_t row = -1;  // absolute row (the first row shown added)
    bool IsSet() const { return column != -1 && row != -1; }
    bool operator==(const Cell& o) const { return column == o.column && row == o.row; }
};

// Position of a cell in reading order across days.
inline int32_t CellPosition(const Cell& cell, int unit)
{
    return int32_t{cell.row} * unit + int32_t{cell.column} * 1440;
}

enum class RepaintKind : int16_t { None = 0, Press = 1, Drag = 2 };

struct ColumnRange {
    int16_t from = -1;
    int16_t to = -1;
    bool IsSet() const { return from != -1 && to != -1; }
};

struct TimeSpan {
    int32_t dayStart = -1;
    int16_t timeStart = -1;
    int32_t dayEnd = -1;
    int16_t timeEnd = -1;
};

struct Selection {
    Cell anchor;
    Cell current;
    ColumnRange repaint;
    ColumnRange painted;
    RepaintKind repaintKind = RepaintKind::None;
    RepaintKind lastPaintedKind = RepaintKind::None;
    bool pending = false;

    bool IsSelected(int r, int c, int unit) const;
    void Clear() { *this = Selection(); }
    // Columns from a press on the cell, widened by what was painted before.
    void PressAt(const Cell& cell);
    // Columns for moving the current cell during a drag.
    void DragTo(const Cell& cell);
    // Bookkeeping once the selection repaint has drawn.
    void Painted();
    // The span reported to the host; rows start at the time `base`.
    TimeSpan Span(int unit, int base, int32_t firstDate) const;
};

}  // namespace weekview
