// The thread's message loops: the modal loops' dispatch and the blocking calls' wait.
#include "MessagePump.h"

namespace {
constexpr DWORD kTurnMs = 2;

void Dispatch(HWND dialog, MSG& message)
{
    if (dialog && IsDialogMessageA(dialog, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}
}  // namespace

bool DispatchNextMessage(HWND dialog)
{
    MSG message;
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == -1)
        return false;
    if (got == 0) {
        PostQuitMessage(static_cast<int>(message.wParam));
        return false;
    }
    Dispatch(dialog, message);
    return true;
}

bool DispatchWaitingMessages(int limit)
{
    MSG message;
    for (int i = 0; i < limit && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        Dispatch(nullptr, message);
    }
    return true;
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
        Dispatch(nullptr, message);
    }
}
