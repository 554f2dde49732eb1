// Message dispatching inside the blocking waits.
#include "MessagePump.h"

#include <windows.h>

namespace {
constexpr DWORD kTurnMs = 2;
}

MessagePump::~MessagePump()
{
    if (quitSeen)
        PostQuitMessage(quitCode);
}

void MessagePump::Turn()
{
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kTurnMs, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitSeen = true;
            quitCode = static_cast<int>(message.wParam);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
