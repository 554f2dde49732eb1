// The launch-or-activate routine shared by both launchers (Win32).
#pragma once

#include "LaunchConfig.h"

namespace launcher {

// Exit code of a launcher on every path.
inline constexpr int kLauncherExitCode = 1;

// Brings the first matching window forward, or starts the configured programs.
// Returns the launcher's exit code.
int LaunchOrActivate(const LaunchConfig& config);

}  // namespace launcher
