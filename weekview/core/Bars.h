// Appointment bars of one paint and the cell map that right clicks read.
#pragma once

#include <cstdint>
#include <vector>

#include "AppointmentList.h"
#include "Layout.h"

namespace weekview {

constexpr int kCellMapColumns = 31;
constexpr int kCellMapRows = 50;

// Appointment index (0-based) per day column and visible row, or -1.
class CellMap {
public:
    CellMap() { ClearAll(); }
    void ClearAll();
    void Clear(int columns, int rows);
    int16_t At(int column, int row) const { return cells_[column][row]; }
    void Set(int column, int row, int16_t index) { cells_[column][row] = index; }

private:
    int16_t cells_[kCellMapColumns][kCellMapRows];
};

struct Bar {
    Rect rect;  // right and bottom exclusive, as FillRect takes them
    int16_t appointment = 0;
    int16_t column = 0;  // day column
};

struct BarInput {
    const DisplayProperties* properties = nullptr;
    const Layout* layout = nullptr;
    const Insets* insets = nullptr;
    int16_t firstRow = 0;
    int32_t firstDate = 0;
};

// Computes the bars in list order (later ones paint over earlier ones) into `bars`
// and fills the cell map for the visible rows.
void LayOutBars(const BarInput& in, const AppointmentList& list, CellMap& map,
                std::vector<Bar>& bars);

}  // namespace weekview
