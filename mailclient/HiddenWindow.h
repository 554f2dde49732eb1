// The invisible tool windows that receive socket and timer messages for their owning object.
#pragma once

#include <windows.h>

// Registers className once per process (no class style, one pointer of window extra space,
// the given routine) and creates an invisible pop-up tool window of it. The owner pointer is
// kept in the window's extra space; HiddenWindowOwner gives it back (null before it is set).
HWND CreateHiddenWindow(const char* className, WNDPROC routine, void* owner);
void* HiddenWindowOwner(HWND window);

// Destroys the window when it goes out of scope.
class HiddenWindowHandle {
public:
    HiddenWindowHandle() = default;
    explicit HiddenWindowHandle(HWND window) : handle(window) {}
    ~HiddenWindowHandle() { Reset(); }
    HiddenWindowHandle(const HiddenWindowHandle&) = delete;
    HiddenWindowHandle& operator=(const HiddenWindowHandle&) = delete;

    HWND Get() const { return handle; }
    void Reset();

private:
    HWND handle = nullptr;
};
