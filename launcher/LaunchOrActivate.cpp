// Finds the suite application's window by class and title text and brings it to
// the front; starts the application when no window matches.
#include "LaunchOrActivate.h"

#include <windows.h>

#include "TitleMatch.h"

namespace launcher {
namespace {

// The system may refuse to hand over the foreground; after about a second of
// short tries the launcher gives up rather than spin forever.
constexpr int kActivationTries = 100;
constexpr DWORD kActivationPauseMs = 10;

// Larger than any configured title buffer count.
constexpr int kMaxTitleBufferCount = 64;

bool TitleOf(HWND window, const LaunchConfig& config)
{
    char title[kMaxTitleBufferCount] = {};
    const int count = config.titleBufferCount < kMaxTitleBufferCount ? config.titleBufferCount
                                                                     : kMaxTitleBufferCount;
    int read = GetWindowTextA(window, title, count);
    if (read < 0)
        read = 0;
    if (read > count - 1)
        read = count - 1;
    return TitleContains(title, static_cast<size_t>(read), config.titleText);
}

// Walks down the Z order from the first window of the class, whatever the class
// of the windows below it.
HWND FindApplicationWindow(const LaunchConfig& config)
{
    for (HWND window = FindWindowA(config.windowClass, nullptr); window != nullptr;
         window = GetWindow(window, GW_HWNDNEXT)) {
        if (TitleOf(window, config))
            return window;
    }
    return nullptr;
}

void Activate(HWND window)
{
    for (int i = 0; i < kActivationTries; ++i) {
        SetForegroundWindow(window);
        if (GetForegroundWindow() == window)
            return;
        Sleep(kActivationPauseMs);
    }
}

void StartPrograms(const LaunchConfig& config)
{
    for (const char* program : config.programs) {
        if (program != nullptr)
            WinExec(program, SW_SHOW);  // a program that fails to start is skipped
    }
}

}  // namespace

int LaunchOrActivate(const LaunchConfig& config)
{
    if (HWND window = FindApplicationWindow(config))
        Activate(window);
    else
        StartPrograms(config);
    return kLauncherExitCode;
}

}  // namespace launcher
