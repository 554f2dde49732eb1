// TApplication: the program's hidden application window (title, taskbar entry, flashing),
// its message loop, and the standard message and error boxes.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

class TApplication {
public:
    // text, caption and flags of a message box; returns the button pressed.
    using TMessageBoxFunction = std::function<int(HWND owner, const std::string& text,
                                                  const std::string& caption, UINT flags)>;

    static TApplication& Instance();

    // Creates the application window, hidden, with the title as its caption.
    void Initialize();
    HWND Handle() const { return window; }
    const std::string& Title() const { return title; }
    void SetTitle(const std::string& value);

    // Runs the message loop until Terminate; gives the quit code.
    int Run();
    void Terminate();
    bool Terminated() const { return terminated; }

    // The standard error box for a failure that escaped a handler; the program goes on.
    void ShowException(const std::exception& error);
    // A plain message box with the application title.
    void ShowMessage(const std::string& text);
    int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags);

    // The application window carries the taskbar entry exactly while a window of the program
    // (a window it owns) is visible; windows call this when they show or hide.
    void UpdateTaskbarEntry();
    // One taskbar flash (the window's caption colours inverted).
    void Flash();

    // Replaces the system's message box (tests record the boxes through it).
    TMessageBoxFunction MessageBoxFunction;

private:
    TApplication() = default;
    static LRESULT CALLBACK WindowRoutine(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window = nullptr;
    std::string title;
    bool terminated = false;
};

inline TApplication& Application()
{
    return TApplication::Instance();
}

// Runs a handler of a window or timer: what escapes it goes to the standard error box.
template <typename Fn>
void RunHandler(Fn fn) noexcept
{
    try {
        fn();
    } catch (const std::exception& error) {
        try {
            Application().ShowException(error);
        } catch (...) {
        }
    } catch (...) {
    }
}
