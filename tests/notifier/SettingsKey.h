// The notifier's settings key between tests: what one test saved goes with it.
#pragma once

#include <windows.h>

#include "OptionRules.h"

// Removes every value of the settings key, then the key itself.
inline void ClearSettingsKey()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_ALL_ACCESS, &key) == 0) {
        char name[256];
        DWORD size = sizeof name;
        while (RegEnumValueA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) == 0) {
            RegDeleteValueA(key, name);
            size = sizeof name;
        }
        RegCloseKey(key);
        RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    }
}
