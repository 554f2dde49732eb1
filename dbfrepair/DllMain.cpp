// The library's entry points: process attach and detach, and the one exported dispatch entry.
#include <windows.h>

#include "HostRoutines.h"
#include "HostServices.h"

#ifdef _WIN64
// 64-bit code has no fastcall decoration; the entry keeps the 32-bit name so that
// hosts find it the same way in both builds.
#define DISPATCH_NAME __asm__("@DispatchAPI@4")
#else
#define DISPATCH_NAME
#endif

extern "C" __declspec(dllexport) int __fastcall DispatchAPI(dbf::RequestBlock* request)
    DISPATCH_NAME;

extern "C" int __fastcall DispatchAPI(dbf::RequestBlock* request)
{
    dbf::ServeRequest(request);
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        return dbf::AllocateThreadSlots() ? TRUE : FALSE;
    if (reason == DLL_PROCESS_DETACH)
        dbf::FreeThreadSlots();
    return TRUE;
}
