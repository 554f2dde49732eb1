// The control module's instance handle and its lock count.
#include "ComModule.h"

namespace septena {
namespace {

HINSTANCE g_instance = nullptr;
LONG g_locks = 0;

}  // namespace

HINSTANCE ModuleInstance()
{
    return g_instance;
}

void SetModuleInstance(HINSTANCE instance)
{
    g_instance = instance;
}

void LockModule()
{
    InterlockedIncrement(&g_locks);
}

void UnlockModule()
{
    InterlockedDecrement(&g_locks);
}

LONG ModuleLocks()
{
    return g_locks;
}

bool ModulePath(wchar_t* path, DWORD size)
{
    const DWORD n = GetModuleFileNameW(g_instance, path, size);
    return n != 0 && n < size;
}

}  // namespace septena
