// The four settings that make one launcher out of the shared routine.
#pragma once

#include <array>

namespace launcher {

struct LaunchConfig {
    const char* windowClass;              // class of the suite application's main window
    const char* titleText;                // text that identifies "our" application in the title
    int titleBufferCount;                 // buffer count for the title query, terminator included
    std::array<const char*, 2> programs;  // started in order when no window matches
};

inline constexpr char kSuiteWindowClass[] = "Fox_100000001";

// launch-main: the suite's main application.
inline constexpr LaunchConfig kMainConfig{
    kSuiteWindowClass, "Pomaria Pomaria2000", 25, {"prelude.exe", "pm2000.exe"}};

// launch-data: the suite's data-manager tool.
inline constexpr LaunchConfig kDataConfig{
    kSuiteWindowClass, "Ledgerwise", 22, {"recordkeep.exe", nullptr}};

}  // namespace launcher
