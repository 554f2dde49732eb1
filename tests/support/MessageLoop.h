// Running the calling thread's message loop for a while, so its timers tick and the
// messages its windows post to themselves arrive.
#pragma once

#include <windows.h>

namespace testsupport {

// Dispatches the thread's messages for `milliseconds`, sleeping briefly between turns.
inline void PumpMessagesFor(DWORD milliseconds)
{
    const DWORD end = GetTickCount() + milliseconds;
    MSG msg;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(2);
    }
}

}  // namespace testsupport
