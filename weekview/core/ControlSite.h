// What the week view's control object needs from its window and its host.
#pragma once

#include <cstdint>
#include <string>

#include "Layout.h"

namespace weekview {

// The custom events of the control, delivered to whoever hosts it.
class WeekViewEvents {
public:
    virtual ~WeekViewEvents() = default;
    virtual void TimeSelect(int32_t nDayStart, int16_t nTimeStart, int32_t nDayEnd,
                            int16_t nTimeEnd) = 0;
    virtual void RightClick(int16_t nStartTime, int32_t nStartDate, int16_t nEndTime,
                            int32_t nEndDate, int16_t nIndex, const std::string& cKeyID) = 0;
    virtual void Error(int16_t nError, int16_t nIndex) = 0;
    // Stock mouse events: button and shift masks as the automation events carry them.
    virtual void MouseDown(int16_t, int16_t, int, int) {}
    virtual void MouseMove(int16_t, int16_t, int, int) {}
    virtual void MouseUp(int16_t, int16_t, int, int) {}
    virtual void Click() {}
    virtual void DblClick() {}
    // The picture changed while no window shows it: a host that draws the control
    // itself draws it again.
    virtual void PictureChanged() {}
};

// Window services the control calls; the window shell implements them.
class ControlSite {
public:
    virtual ~ControlSite() = default;
    // Ask for a full repaint of the control.
    virtual void InvalidateControl() = 0;
    // Tell the container that persistent properties changed.
    virtual void SetModified() = 0;
    // Run time (the container's user mode) rather than design time.
    virtual bool IsRunMode() const = 0;
    virtual void SetScrollRange(int maximum) = 0;
    virtual void SetScrollThumb(int position) = 0;
    // Invalidate the region and paint it before returning (the selection repaint).
    virtual void RepaintNow(const Rect& region) = 0;
};

}  // namespace weekview
