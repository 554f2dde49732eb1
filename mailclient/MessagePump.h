// The thread's message loops: taking and dispatching window messages for every modal loop and
// for the wait of every blocking call, with one rule for the quit request.
#pragma once

#include <windows.h>

// The rule of every loop: a quit request (WM_QUIT) taken from the queue ends the loop and is
// posted again, so that the loop outside it, and finally the program's, ends too.

// Waits for the next message and dispatches it (through `dialog`'s keyboard handling when a
// dialog is given); false when the quit request came instead, posted again.
bool DispatchNextMessage(HWND dialog = nullptr);

// Dispatches at most `limit` waiting messages without waiting; false when the quit request
// came among them, posted again.
bool DispatchWaitingMessages(int limit);

// The wait of every blocking call: sleep until a message arrives (at most 2 ms), then dispatch
// the thread's pending window messages, so timers and menus stay alive during a check. Its loop
// is the whole wait: a quit request met in a turn is posted again when the wait ends, so the
// wait's own timers (its time-outs) keep running until then.
class MessagePump {
public:
    MessagePump() = default;
    ~MessagePump();
    MessagePump(const MessagePump&) = delete;
    MessagePump& operator=(const MessagePump&) = delete;

    // One turn: wait up to 2 ms for a message, then dispatch every pending one.
    void Turn();

private:
    bool quitSeen = false;
    int quitCode = 0;
};
