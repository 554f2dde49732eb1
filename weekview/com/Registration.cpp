// The registry layout of the control and its pages under HKEY_CLASSES_ROOT.
#include "Registration.h"

#include <string>

#include "ComModule.h"
#include "PropertyPages.h"
#include "SeptenaIds.h"

namespace septena {
namespace {

struct ClassEntry {
    const CLSID* clsid;
    const char* progId;
    int nameString;
    const char* fallbackName;
    bool control;
};

const ClassEntry kClasses[] = {
    {&CLSID_Septena, kProgId, kStringControlName, kUserTypeName, true},
    {&CLSID_SeptenaGeneralPage, "SEPTENA.SeptenaPropPage.1", kStringGeneralPageName,
     "Septena Property Page", false},
    {&CLSID_SeptenaMorePage, "Septena.CMorePropPage", kStringMorePageName, "About Septena", false},
    {&CLSID_SeptenaAboutPage, "Septena.CAboutPropPage", kStringAboutPageName, "About Septena",
     false},
};

std::string GuidText(const GUID& guid)
{
    wchar_t wide[40];
    StringFromGUID2(guid, wide, 40);
    char text[40];
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

std::string ResourceString(int id, const char* fallback)
{
    char text[256];
    const int n = LoadStringA(ModuleInstance(), static_cast<UINT>(id), text, sizeof text);
    return n > 0 ? std::string(text, static_cast<size_t>(n)) : std::string(fallback);
}

bool SetValue(const std::string& key, const char* name, const std::string& value)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const LONG rc =
        RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    RegCloseKey(handle);
    return rc == ERROR_SUCCESS;
}

// Deletes a key with everything below it; a key that is not there counts as gone.
bool DeleteTree(HKEY parent, const std::string& key)
{
    HKEY handle = nullptr;
    LONG rc = RegOpenKeyExA(parent, key.c_str(), 0, KEY_READ | KEY_WRITE, &handle);
    if (rc == ERROR_FILE_NOT_FOUND)
        return true;
    if (rc != ERROR_SUCCESS)
        return false;
    char child[256];
    bool ok = true;
    for (;;) {
        DWORD size = sizeof child;
        if (RegEnumKeyExA(handle, 0, child, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        if (!DeleteTree(handle, child)) {
            ok = false;
            break;
        }
    }
    RegCloseKey(handle);
    return ok && RegDeleteKeyA(parent, key.c_str()) == ERROR_SUCCESS;
}

bool WriteClassKeys(const ClassEntry& entry, const std::string& path)
{
    const std::string clsidKey = "CLSID\\" + GuidText(*entry.clsid);
    const std::string name = ResourceString(entry.nameString, entry.fallbackName);
    bool ok = SetValue(clsidKey, nullptr, name) &&
              SetValue(clsidKey + "\\InprocServer32", nullptr, path) &&
              SetValue(clsidKey + "\\InprocServer32", "ThreadingModel", "Apartment") &&
              SetValue(clsidKey + "\\ProgID", nullptr, entry.progId) &&
              SetValue(entry.progId, nullptr, name) &&
              SetValue(std::string(entry.progId) + "\\CLSID", nullptr, GuidText(*entry.clsid));
    if (!ok || !entry.control)
        return ok;
    const std::string misc = std::to_string(kMiscStatus);
    return SetValue(clsidKey + "\\Control", nullptr, "") &&
           SetValue(clsidKey + "\\ToolboxBitmap32", nullptr,
                    path + ", " + std::to_string(kToolboxBitmap)) &&
           SetValue(clsidKey + "\\MiscStatus", nullptr, "0") &&
           SetValue(clsidKey + "\\MiscStatus\\1", nullptr, misc) &&
           SetValue(clsidKey + "\\TypeLib", nullptr, GuidText(LIBID_SEPTENALib)) &&
           SetValue(clsidKey + "\\Version", nullptr, "1.0") &&
           SetValue(clsidKey + "\\Verb\\0", nullptr, "&Edit,0,2") &&
           SetValue(clsidKey + "\\Verb\\-7", nullptr, "&Properties...,0,2");
}

}  // namespace

bool RegisterClasses()
{
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(ModuleInstance(), path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return false;
    for (const ClassEntry& entry : kClasses) {
        if (!WriteClassKeys(entry, path))
            return false;
    }
    return true;
}

bool UnregisterClasses()
{
    bool ok = true;
    for (const ClassEntry& entry : kClasses) {
        ok = DeleteTree(HKEY_CLASSES_ROOT, "CLSID\\" + GuidText(*entry.clsid)) && ok;
        ok = DeleteTree(HKEY_CLASSES_ROOT, entry.progId) && ok;
    }
    return ok;
}

}  // namespace septena
