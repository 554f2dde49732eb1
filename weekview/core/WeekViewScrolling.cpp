// The week view control's rows: layout at each paint, the scroll table and `TopTime`.
#include "WeekViewControl.h"

#include <algorithm>

namespace weekview {

int16_t WeekViewControl::ScrollMaximum() const
{
    return static_cast<int16_t>(std::max(layout_.lastRow - visibleRows_ + 1, 0));
}

const Layout& WeekViewControl::BeginFullPaint(const Rect& bounds, int16_t textHeight)
{
    layout_ = ComputeLayout(props_, insets_, bounds, textHeight);
    visibleRows_ = layout_.visibleRows;
    if (site_.IsRunMode()) {
        const int16_t maximum = ScrollMaximum();
        if (!picture_)
            site_.SetScrollRange(maximum);
        // A window grown taller than the rows below the first one shows from the top
        // of what is left instead of blank rows.
        if (firstRow_ > maximum) {
            firstRow_ = maximum;
            if (!picture_)
                site_.SetScrollThumb(firstRow_);
        }
        if (restoreTopTime_ && picture_) {
            firstRow_ = RowOfTopTime(savedTopTime_);
        } else if (restoreTopTime_) {
            restoreTopTime_ = false;
            SetTopTime(savedTopTime_);
        }
    }
    return layout_;
}

WeekViewControl::PictureScope::PictureScope(WeekViewControl& control)
    : control_(control),
      layout_(control.layout_),
      cells_(control.cells_),
      firstRow_(control.firstRow_),
      visibleRows_(control.visibleRows_)
{
    control_.picture_ = true;
}

WeekViewControl::PictureScope::~PictureScope()
{
    control_.picture_ = false;
    control_.layout_ = layout_;
    control_.cells_ = cells_;
    control_.firstRow_ = firstRow_;
    control_.visibleRows_ = visibleRows_;
}

const std::vector<Bar>& WeekViewControl::LayOutBars()
{
    BarInput in;
    in.properties = &props_;
    in.layout = &layout_;
    in.insets = &insets_;
    in.firstRow = firstRow_;
    in.firstDate = date_;
    weekview::LayOutBars(in, list_, cells_, bars_);
    return bars_;
}

int16_t WeekViewControl::GetTopTime() const
{
    const int unit = RowUnitMinutes(props_.TimeUnits);
    int t = (props_.TimeStart / unit + firstRow_) * unit;
    if (t >= 1440)
        t %= 1440;
    return static_cast<int16_t>(t);
}

// The first row that shows `value` at the top, within the scroll range of the last layout.
int16_t WeekViewControl::RowOfTopTime(int16_t value) const
{
    const int unit = layout_.rowUnit;
    int v = value;
    if (v > 1439)
        v %= 1440;
    if (v < props_.TimeStart)
        v += 1440;
    const int row = (v - unit * (props_.TimeStart / unit)) / unit;
    return static_cast<int16_t>(std::clamp<int>(row, 0, ScrollMaximum()));
}

void WeekViewControl::SetTopTime(int16_t value)
{
    if (!site_.IsRunMode())
        return;
    firstRow_ = RowOfTopTime(value);
    site_.SetScrollThumb(firstRow_);
    Changed();
}

void WeekViewControl::Scroll(ScrollRequest request, int p, int requestedPosition)
{
    const int f = firstRow_;
    const int e = std::max(layout_.lastRow - visibleRows_, 0);
    // A page is never less than one row, so paging always moves the right way.
    const int v = std::max<int>(visibleRows_, 1);
    int first = f;
    int thumb = p;
    switch (request) {
        case ScrollRequest::LineUp:
            if (f == 0)
                return;
            first = f - 1;
            thumb = std::max(p - 1, 0);
            break;
        case ScrollRequest::LineDown:
            if (f > e)
                return;
            first = f + 1;
            thumb = p + 1;
            break;
        case ScrollRequest::PageUp:
            if (p < 1)
                return;
            first = p < v ? 0 : f + 1 - v;
            thumb = p < v ? 0 : p - v + 1;
            break;
        case ScrollRequest::PageDown:
            if (f > e)
                return;
            first = e - p < v ? e + 1 : f + v - 1;
            thumb = e - p < v ? e + 1 : p + v - 1;
            break;
        case ScrollRequest::ThumbPosition:
        case ScrollRequest::ThumbTrack:
            first = thumb = std::clamp<int>(requestedPosition, 0, ScrollMaximum());
            break;
        case ScrollRequest::Other:
            return;
    }
    firstRow_ = static_cast<int16_t>(std::max(first, 0));
    site_.SetScrollThumb(thumb);
    site_.InvalidateControl();
}

}  // namespace weekview
