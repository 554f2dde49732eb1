// The settings record TJOption and the process-wide values shared by every part of the
// notifier (defined in ProcessGlobals.cpp).
#pragma once

#include "ConnectionSecurity.h"

#include <cstdint>
#include <string>

struct TJOption {
    std::string CheckInterval;  // minutes, decimal text
    std::string SoundMode;      // "default", "nosound", "custom" or the raw stored text
    bool UseAnimation = false;
    std::string Account;      // as shown in the options dialog (not trimmed)
    std::string Password;     // as shown in the options dialog (not trimmed)
    std::string PopServer;    // as shown in the options dialog (not trimmed)
    bool Configured = false;  // server, account and password all given at the last load
    std::string CustomSoundFile;
    bool UseAlarm = false;
    ConnectionSecurity Security = ConnectionSecurity::None;  // the connection's protection
    int32_t Port = 110;                                      // the server's port
};

// Empty texts and false flags at start; lives until the program ends.
extern TJOption CurOption;
// The program's directory with a trailing backslash, set once at start-up.
extern std::string ExeDir;
// The process's short date format, "yyyy/mm/dd" once the main window exists; alarm dates are
// read with it and the summary window shows the time with it.
extern std::string ShortDateFormat;
