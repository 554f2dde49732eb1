// The split time style: minutes on every row, hour numbers in blocks spanning an hour.
#pragma once

#include <windows.h>

#include "WeekViewPainter.h"

namespace weekview {

// Minute text of one row and the line under it.
void PaintSplitMinute(HDC dc, const DisplayProperties& p, int16_t t, const RECT& cell);

// Hour blocks over the rows drawn by the full paint.
void PaintSplitHours(HDC dc, const WeekViewControl& control, const PaintContext& pc, int rowsDrawn);

}  // namespace weekview
