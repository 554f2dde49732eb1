// Paints the split time style of the week view's time column.
#include "SplitTimePainter.h"

#include <cstdio>

#include "GdiObjects.h"
#include "PaintPrimitives.h"

namespace weekview {
namespace {

struct HourBlock {
    int left, top, right, bottom;
};

void DrawWithFont(HDC dc, HFONT font, const std::string& text, const HourBlock& b, COLORREF color)
{
    SelectedObject selected(dc, font);
    DrawLine(dc, text, b.left, b.top, b.right, b.bottom, DT_CENTER | DT_VCENTER, color);
}

}  // namespace

void PaintSplitMinute(HDC dc, const DisplayProperties& p, int16_t t, const RECT& cell)
{
    DrawLine(dc, SplitMinuteText(t), cell.left, cell.top, cell.right, cell.bottom,
             DT_RIGHT | DT_VCENTER, TranslateColor(p.ForeColor));
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, TranslateColor(p.BorderColor)));
    SelectedObject selected(dc, pen.Get());
    MoveToEx(dc, cell.left, cell.bottom - 1, nullptr);
    LineTo(dc, cell.right, cell.bottom - 1);
}

void PaintSplitHours(HDC dc, const WeekViewControl& control, const PaintContext& pc, int rowsDrawn)
{
    const DisplayProperties& p = control.Properties();
    const Layout& l = control.LastLayout();
    const Insets& insets = control.BorderInsetsNow();
    const int unit = l.rowUnit;
    const bool regular = p.TimeBorder == BorderRegular;
    const bool showAmPm = p.IncludeAmPm && !p.MilitaryTime;
    const int left = l.bounds.left + insets.left;
    const int w = l.timeColumnWidth - 1 - (regular ? 1 : 0);
    const int blockRight = left + 5 * w / 8;
    const int hourHeight = (60 / unit) * l.rowHeight;
    const COLORREF back = TranslateColor(p.TimeBackColor);
    const COLORREF fore = TranslateColor(p.ForeColor);
    const HFONT hourFont = pc.hourFont != nullptr ? pc.hourFont : pc.font;

    for (int j = 0; j < rowsDrawn; ++j) {
        const int r = control.FirstRow() + j;
        const bool firstShown = j == 0;
        const int y = l.bounds.top + p.HeaderHeight + insets.top - 1 + j * l.rowHeight;
        const int16_t t = RowTime(p, r);
        const int m = t % 60;
        const int h = HourNumber(p, t);
        const char* amPm = t < 720 ? "AM" : "PM";
        HourBlock frame{left, y, left + w, y + hourHeight};
        if (m != 0) {
            if (!firstShown)
                continue;
            FillArea(dc, left, y, blockRight, y + hourHeight, back);
            if (showAmPm)
                DrawLine(dc, amPm, left, y, blockRight, y + l.rowHeight, DT_CENTER | DT_VCENTER,
                         fore);
            frame.bottom = y + ((60 - m) / unit) * l.rowHeight;
        } else {
            FillArea(dc, left, y, blockRight, y + hourHeight, back);
            char hour[16];
            std::snprintf(hour, sizeof hour, "%d", h);
            if (!firstShown && h != 12) {
                DrawWithFont(dc, hourFont, hour, {left, y, blockRight, y + hourHeight}, fore);
            } else {
                const int numberBottom = showAmPm ? y + 5 * hourHeight / 8 : y + hourHeight;
                DrawWithFont(dc, hourFont, hour, {left, y, blockRight, numberBottom}, fore);
                if (showAmPm)
                    DrawLine(dc, amPm, left, y + hourHeight / 2, blockRight, y + hourHeight,
                             DT_CENTER | DT_VCENTER, fore);
                if (!regular && p.TimeBorder != BorderNone && p.BorderType == BorderRegular &&
                    firstShown)
                    ++frame.top;
            }
        }
        if (regular) {
            ++frame.right;
            ++frame.bottom;
            if (p.BorderType == BorderRegular || p.BorderType == BorderNone)
                --frame.left;
        }
        DrawBorderFrame(dc, frame.left, frame.top, frame.right, frame.bottom, p.TimeBorder,
                        TranslateColor(p.BorderColor));
    }
}

}  // namespace weekview
