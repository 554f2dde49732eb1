// The wait of every blocking call: sleep until a message arrives (at most 2 ms), then dispatch
// the thread's pending window messages, so timers and menus stay alive during a check.
#pragma once

class MessagePump {
public:
    MessagePump() = default;
    // A quit request taken from the queue during the wait is posted again for the outer loop.
    ~MessagePump();
    MessagePump(const MessagePump&) = delete;
    MessagePump& operator=(const MessagePump&) = delete;

    // One turn: wait up to 2 ms for a message, then dispatch every pending one.
    void Turn();

private:
    bool quitSeen = false;
    int quitCode = 0;
};
