// Drawing primitives of the week view: frames, dotted lines, filled rectangles, texts.
#pragma once

#include <windows.h>

#include <string>

#include "DisplayProperties.h"

namespace weekview {

// Frame in one of the four border styles; `borderColor` is used by the regular one.
void DrawBorderFrame(HDC dc, int left, int top, int right, int bottom, int16_t style,
                     COLORREF borderColor);

// Every second pixel of a vertical or horizontal line, both ends included; vertical
// lines start on an even y.
void DottedLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF color);

void FillArea(HDC dc, int left, int top, int right, int bottom, COLORREF color);

// One line of text in the rectangle with the given DrawText alignment flags.
void DrawLine(HDC dc, const std::string& text, int left, int top, int right, int bottom, UINT flags,
              COLORREF color);

}  // namespace weekview
