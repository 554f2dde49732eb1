// The settings key's string values through the registry's ANSI calls.
#include "SettingsRegistry.h"

#include "Exceptions.h"

#include <windows.h>

#include <vector>

namespace {

class KeyHandle {
public:
    KeyHandle() = default;
    ~KeyHandle()
    {
        if (key)
            RegCloseKey(key);
    }
    KeyHandle(const KeyHandle&) = delete;
    KeyHandle& operator=(const KeyHandle&) = delete;
    HKEY* Out() { return &key; }
    HKEY Get() const { return key; }

private:
    HKEY key = nullptr;
};

}  // namespace

std::string RegReadString(const std::string& key, const std::string& name)
{
    KeyHandle handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_ALL_ACCESS, handle.Out()) !=
        ERROR_SUCCESS)
        return std::string();
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(handle.Get(), name.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS)
        return std::string();
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw Exception("Invalid data type for '" + name + "'");
    if (size == 0)
        return std::string();
    // The value may change between the two calls: read what fits, never past the buffer.
    std::vector<char> bytes(size + 1, '\0');
    DWORD read = size;
    if (RegQueryValueExA(handle.Get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(bytes.data()), &read) != ERROR_SUCCESS)
        return std::string();
    return std::string(bytes.data());
}

void RegWriteString(const std::string& key, const std::string& name, const std::string& value)
{
    KeyHandle handle;
    LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, handle.Out(), nullptr);
    if (result == ERROR_SUCCESS)
        result = RegSetValueExA(handle.Get(), name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>(value.size() + 1));
    if (result != ERROR_SUCCESS)
        throw Exception("Failed to set data for '" + name + "'");
}
