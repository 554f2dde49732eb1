// Registration and creation of the hidden notification windows.
#include "HiddenWindow.h"

HWND CreateHiddenWindow(const char* className, WNDPROC routine, void* owner)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA existing{};
    if (!GetClassInfoA(instance, className, &existing)) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = routine;
        windowClass.cbWndExtra = sizeof(LONG_PTR);
        windowClass.hInstance = instance;
        windowClass.lpszClassName = className;
        RegisterClassA(&windowClass);
    }
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, className, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, instance, nullptr);
    if (window)
        SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(owner));
    return window;
}

void* HiddenWindowOwner(HWND window)
{
    return reinterpret_cast<void*>(GetWindowLongPtrA(window, 0));
}

void HiddenWindowHandle::Reset()
{
    if (handle) {
        SetWindowLongPtrA(handle, 0, 0);
        DestroyWindow(handle);
        handle = nullptr;
    }
}
