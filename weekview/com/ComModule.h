// The control module's own state: its instance handle and the count of live objects
// and locks that decides whether the module may be unloaded.
#pragma once

#include <windows.h>

namespace septena {

HINSTANCE ModuleInstance();
void SetModuleInstance(HINSTANCE instance);
// Objects and server locks alive; the module may unload at zero.
void LockModule();
void UnlockModule();
LONG ModuleLocks();

// The module's own path (for registration and loading its type library).
bool ModulePath(wchar_t* path, DWORD size);

}  // namespace septena
