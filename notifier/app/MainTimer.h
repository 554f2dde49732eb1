// TMainTimer: a timer of the main window. Setting a property to the value it already has
// changes nothing, so loading or saving the settings leaves a running timer's next tick where
// it was.
#pragma once

#include "WindowTimer.h"

class TMainTimer : public TWindowTimer {
public:
    void SetEnabled(bool value)
    {
        if (value != Enabled())
            TWindowTimer::SetEnabled(value);
    }
    void SetInterval(UINT value)
    {
        if (value != Interval())
            TWindowTimer::SetInterval(value);
    }
};
