// The launch-or-activate routine shared by both launchers (Win32).
#pragma once

#include <windows.h>

#include "LaunchConfig.h"

namespace launcher {

// Exit code of a launcher on every path.
inline constexpr int kLauncherExitCode = 1;

// The first window, going down the Z order from the topmost window of the configured class,
// whose title holds the configured text; null when there is none.
HWND FindApplicationWindow(const LaunchConfig& config);

// Brings the first matching window forward, or starts the configured programs.
// Returns the launcher's exit code.
int LaunchOrActivate(const LaunchConfig& config);

}  // namespace launcher
