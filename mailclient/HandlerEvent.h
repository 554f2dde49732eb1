// The event idiom of the mail client: std::function members, skipped when empty.
#pragma once

#include <functional>
#include <utility>

// One by-reference Handled flag: the caller sets it false before the call; a listener that
// sets it true asks for one more try.
using THandlerEvent = std::function<void(bool& Handled)>;

// Fires an event only when a listener is attached.
template <typename Event, typename... Args>
void FireEvent(const Event& event, Args&&... args)
{
    if (event)
        event(std::forward<Args>(args)...);
}
