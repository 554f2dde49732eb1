// Drawing primitives of the week view.
#include "PaintPrimitives.h"

#include <algorithm>

#include "GdiObjects.h"

namespace weekview {
namespace {

const COLORREF kFrameShadow = RGB(128, 128, 128);
const COLORREF kFrameLight = RGB(255, 255, 255);

void Polyline3(HDC dc, COLORREF color, POINT a, POINT b, POINT c)
{
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, color));
    SelectedObject selected(dc, pen.Get());
    const POINT points[] = {a, b, c};
    Polyline(dc, points, 3);
}

}  // namespace

void DrawBorderFrame(HDC dc, int left, int top, int right, int bottom, int16_t style,
                     COLORREF borderColor)
{
    switch (style) {
        case BorderRegular: {
            GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, borderColor));
            SelectedObject selected(dc, pen.Get());
            const POINT points[] = {{left, top},
                                    {right - 1, top},
                                    {right - 1, bottom - 1},
                                    {left, bottom - 1},
                                    {left, top}};
            Polyline(dc, points, 5);
            break;
        }
        case BorderRaised:
        case BorderLowered: {
            const bool raised = style == BorderRaised;
            Polyline3(dc, raised ? kFrameLight : kFrameShadow, {left, bottom - 1}, {left, top},
                      {right - 1, top});
            Polyline3(dc, raised ? kFrameShadow : kFrameLight, {left, bottom - 1},
                      {right - 1, bottom - 1}, {right - 1, top - 1});
            break;
        }
        default:
            break;
    }
}

void DottedLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF color)
{
    if (x1 == x2) {
        const int from = std::min(y1, y2) & ~1;
        const int to = std::max(y1, y2);
        for (int y = from; y <= to; y += 2)
            SetPixelV(dc, x1, y, color);
        return;
    }
    const int from = std::min(x1, x2);
    const int to = std::max(x1, x2);
    for (int x = from; x <= to; x += 2)
        SetPixelV(dc, x, y1, color);
}

void FillArea(HDC dc, int left, int top, int right, int bottom, COLORREF color)
{
    if (right <= left || bottom <= top)
        return;
    const COLORREF previous = SetBkColor(dc, color);
    const RECT rect{left, top, right, bottom};
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    SetBkColor(dc, previous);
}

void DrawLine(HDC dc, const std::string& text, int left, int top, int right, int bottom, UINT flags,
              COLORREF color)
{
    if (text.empty())
        return;
    RECT rect{left, top, right, bottom};
    SetTextColor(dc, color);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect,
              flags | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace weekview
