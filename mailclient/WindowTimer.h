// TWindowTimer: a timer that ticks through window timer 1 of its own hidden window.
#pragma once

#include "HiddenWindow.h"

#include <windows.h>

#include <exception>
#include <functional>

class TWindowTimer {
public:
    using TTimerEvent = std::function<void(TWindowTimer& Sender)>;
    using TErrorEvent = std::function<void(const std::exception& error)>;

    // Raises Exception "No Timer" when its hidden window cannot be made.
    TWindowTimer();
    ~TWindowTimer();
    TWindowTimer(const TWindowTimer&) = delete;
    TWindowTimer& operator=(const TWindowTimer&) = delete;

    bool Enabled() const { return enabled; }
    UINT Interval() const { return interval; }
    // Each setter re-arms the timer; arming raises Exception "No Timer" when refused.
    void SetEnabled(bool value);
    void SetInterval(UINT value);
    void SetOnTimer(TTimerEvent value);

    // Receives what escapes OnTimer, which must not cross the window routine; unattached,
    // the failure is dropped.
    TErrorEvent OnError;

private:
    static LRESULT CALLBACK WindowRoutine(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void UpdateTimer();
    void Tick(UINT_PTR id);
    void ReportError(const std::exception& error) noexcept;

    HiddenWindowHandle window;
    bool enabled = true;
    UINT interval = 1000;
    TTimerEvent onTimer;
};
