// Finds the suite application's window by class and title text and brings it to
// the front; starts the application when no window matches.
#include "LaunchOrActivate.h"

#include <windows.h>

#include <algorithm>
#include <vector>

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

// More top-level windows than any desktop holds; the snapshot stops there.
constexpr size_t kMaxWindows = 65536;

// Adds each top-level window to the list, top of the Z order first.
BOOL CALLBACK CollectWindow(HWND window, LPARAM list)
{
    auto* order = reinterpret_cast<std::vector<HWND>*>(list);
    order->push_back(window);
    return order->size() < kMaxWindows;
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

// Walks down the Z order from the first window of the class, whatever the class
// of the windows below it. The walk goes over a snapshot of the order taken once:
// windows that move while their titles are read cannot make it go round for ever.
HWND FindApplicationWindow(const LaunchConfig& config)
{
    HWND first = FindWindowA(config.windowClass, nullptr);
    if (first == nullptr)
        return nullptr;
    std::vector<HWND> order;
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&order));
    for (auto it = std::find(order.begin(), order.end(), first); it != order.end(); ++it) {
        if (TitleOf(*it, config))
            return *it;
    }
    return nullptr;
}

int LaunchOrActivate(const LaunchConfig& config)
{
    if (HWND window = FindApplicationWindow(config))
        Activate(window);
    else
        StartPrograms(config);
    return kLauncherExitCode;
}

}  // namespace launcher
