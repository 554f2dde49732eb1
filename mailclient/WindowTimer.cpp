// The hidden "TmrWindowClass" window and its timer.
#include "WindowTimer.h"

#include "Exceptions.h"

namespace {
constexpr UINT_PTR kTimerId = 1;
}

TWindowTimer::TWindowTimer()
    : window(CreateHiddenWindow("TmrWindowClass", &TWindowTimer::WindowRoutine, this))
{
    // Without its window the timer would become a thread timer that nothing kills.
    if (!window.Get())
        throw Exception("No Timer");
}

TWindowTimer::~TWindowTimer()
{
    if (window.Get())
        KillTimer(window.Get(), kTimerId);
}

void TWindowTimer::SetEnabled(bool value)
{
    enabled = value;
    UpdateTimer();
}

void TWindowTimer::SetInterval(UINT value)
{
    interval = value;
    UpdateTimer();
}

void TWindowTimer::SetOnTimer(TTimerEvent value)
{
    onTimer = std::move(value);
    UpdateTimer();
}

void TWindowTimer::UpdateTimer()
{
    KillTimer(window.Get(), kTimerId);
    if (interval != 0 && enabled && onTimer) {
        if (SetTimer(window.Get(), kTimerId, interval, nullptr) == 0)
            throw Exception("No Timer");
    }
}

// A tick counts only while the timer is armed: a timer message can still be queued after the
// timer was switched off, and another timer id on this window is not ours.
void TWindowTimer::Tick(UINT_PTR id)
{
    if (id != kTimerId || !enabled || interval == 0)
        return;
    try {
        if (onTimer)
            onTimer(*this);
    } catch (const std::exception& error) {
        ReportError(error);
    } catch (...) {
    }
}

void TWindowTimer::ReportError(const std::exception& error) noexcept
{
    try {
        if (OnError)
            OnError(error);
    } catch (...) {
    }
}

LRESULT CALLBACK TWindowTimer::WindowRoutine(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam)
{
    if (message == WM_TIMER) {
        if (auto* timer = static_cast<TWindowTimer*>(HiddenWindowOwner(window)))
            timer->Tick(wParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
