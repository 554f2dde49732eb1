// Finding windows by a condition, for tests that look for dialogs, frames and boxes.
#pragma once

#include <windows.h>

#include <functional>

namespace testsupport {

// The first top-level window of the calling thread for which `match` is true, or null.
HWND FindThreadWindow(const std::function<bool(HWND)>& match);

// The first window below `parent` (at any depth) for which `match` is true, or null.
HWND FindChildWindow(HWND parent, const std::function<bool(HWND)>& match);

}  // namespace testsupport
