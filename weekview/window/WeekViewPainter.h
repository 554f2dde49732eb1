// Paints the week view on a device context: the full paint and the selection repaint.
#pragma once

#include <windows.h>

#include "WeekViewControl.h"

namespace weekview {

struct PaintContext {
    HFONT font = nullptr;      // stock `Font`: time texts and header
    HFONT hourFont = nullptr;  // `HourFont`: hour numbers of the split style
    bool runMode = true;
    bool hasFocus = false;  // the control's window holds the keyboard focus
};

// The draw operation: the pending selection repaint if there is one, otherwise a
// full paint, through an off-screen bitmap at run time and directly at design time.
void DrawWeekView(WeekViewControl& control, HDC dc, const RECT& bounds, const PaintContext& pc);

// A full paint at run time into an off-screen bitmap of the bounds' size, copied to
// the context; false when the bitmap cannot be made.
bool PaintThroughBitmap(WeekViewControl& control, HDC dc, const RECT& bounds,
                        const PaintContext& pc);

// A whole picture for the draw entry: through an off-screen bitmap at run time, and
// straight onto the context at design time, so that a context that cannot give a
// bitmap (a metafile) is painted too; false when nothing could be painted.
bool PaintPicture(WeekViewControl& control, HDC dc, const RECT& bounds, const PaintContext& pc);

// Colour of a cell by its state: selected, prime or not.
OleColor StateColor(const WeekViewControl& control, int r, int c);

// Screen colour of an OLE_COLOR value (system colours included).
COLORREF TranslateColor(OleColor color);

}  // namespace weekview
