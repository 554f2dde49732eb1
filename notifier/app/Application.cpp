// The application window, the program's message loop and the standard boxes.
#include "Application.h"

#include "MessagePump.h"

namespace {

constexpr char kApplicationClass[] = "TessalyApplication";

struct OwnedVisibleSearch {
    HWND owner;
    bool found;
};

BOOL CALLBACK FindOwnedVisible(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<OwnedVisibleSearch*>(param);
    if (window != search->owner && IsWindowVisible(window) &&
        GetWindow(window, GW_OWNER) == search->owner) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

TApplication& TApplication::Instance()
{
    static TApplication application;
    return application;
}

void TApplication::Initialize()
{
    if (window)
        return;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &TApplication::WindowRoutine;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, "MAINICON");
    windowClass.lpszClassName = kApplicationClass;
    RegisterClassA(&windowClass);
    // No size: the window exists for its taskbar entry only.
    window = CreateWindowExA(WS_EX_APPWINDOW, kApplicationClass, title.c_str(),
                             WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                             nullptr, nullptr, instance, nullptr);
}

void TApplication::SetTitle(const std::string& value)
{
    title = value;
    if (window)
        SetWindowTextA(window, title.c_str());
}

int TApplication::Run()
{
    while (!terminated && DispatchNextMessage()) {
    }
    terminated = true;
    return 0;
}

void TApplication::Terminate()
{
    terminated = true;
    PostQuitMessage(0);
}

int TApplication::ShowMessageBox(const std::string& text, const std::string& caption, UINT flags)
{
    HWND owner = GetActiveWindow();
    if (!owner)
        owner = window;
    if (MessageBoxFunction)
        return MessageBoxFunction(owner, text, caption, flags);
    return MessageBoxA(owner, text.c_str(), caption.c_str(), flags | MB_TASKMODAL);
}

void TApplication::ShowException(const std::exception& error)
{
    std::string text = error.what();
    // The standard box ends the message with a full stop.
    if (!text.empty() && text.back() != '.')
        text += '.';
    ShowMessageBox(text, title, MB_OK | MB_ICONSTOP);
}

void TApplication::ShowMessage(const std::string& text)
{
    ShowMessageBox(text, title, MB_OK);
}

void TApplication::UpdateTaskbarEntry()
{
    if (!window)
        return;
    OwnedVisibleSearch search{window, false};
    EnumThreadWindows(GetCurrentThreadId(), &FindOwnedVisible, reinterpret_cast<LPARAM>(&search));
    bool shown = IsWindowVisible(window) != FALSE;
    if (search.found && !shown)
        ShowWindow(window, SW_SHOWNOACTIVATE);
    else if (!search.found && shown)
        ShowWindow(window, SW_HIDE);
}

void TApplication::Flash()
{
    if (window)
        FlashWindow(window, TRUE);
}

LRESULT CALLBACK TApplication::WindowRoutine(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam)
{
    switch (message) {
        case WM_CLOSE:
            Instance().Terminate();
            return 0;
        case WM_SYSCOMMAND:
            // The taskbar entry's own menu may close the program, nothing else.
            if ((wParam & 0xFFF0) == SC_CLOSE) {
                Instance().Terminate();
                return 0;
            }
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
