// The parts every form window of larkbell shares: its window class, its object and its place
// on screen.
#pragma once

#include <windows.h>

// Registers a form class of this program (arrow cursor, button-face background) unless it is
// registered already; false when it can be neither found nor registered.
bool RegisterFormClass(const char* name, WNDPROC routine);

// The object a window of this program was created for: kept with the window at WM_NCCREATE
// (the creation parameter) and answered for every message from then on; null before it.
template <typename Form>
Form* FormOfWindow(HWND window, UINT message, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return reinterpret_cast<Form*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// The window rectangle, centred on the screen, of a window of `style` and `exStyle` whose
// client area is `clientWidth` by `clientHeight`.
RECT CentredFrame(int clientWidth, int clientHeight, DWORD style, DWORD exStyle);
