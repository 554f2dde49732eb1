// The entry points of SEPTENA.OCX: the module's start and end, registration and the
// class objects of the control and its property pages.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include "ClassFactory.h"
#include "ComModule.h"
#include "PropertyPages.h"
#include "Registration.h"
#include "SeptenaCtrl.h"
#include "SeptenaIds.h"
#include "TypeLibrary.h"

using namespace septena;

namespace {

#ifdef _WIN64
constexpr SYSKIND kSysKind = SYS_WIN64;
#else
constexpr SYSKIND kSysKind = SYS_WIN32;
#endif

HRESULT RegisterTypeLibrary()
{
    ITypeLib* lib = nullptr;
    HRESULT hr = LoadSeptenaTypeLib(&lib);
    if (FAILED(hr))
        return hr;
    wchar_t path[MAX_PATH];
    hr = ModulePath(path, MAX_PATH) ? RegisterTypeLib(lib, path, nullptr) : E_FAIL;
    lib->Release();
    return hr;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        SetModuleInstance(instance);
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // Unloaded by FreeLibrary: no window of the class may outlive the code.
        weekview::WeekViewWindow::UnregisterWindowClass();
    }
    return TRUE;
}

STDAPI DllRegisterServer()
{
    if (FAILED(RegisterTypeLibrary()))
        return SELFREG_E_TYPELIB;
    try {
        if (!RegisterClasses())
            return SELFREG_E_CLASS;
    } catch (...) {
        return SELFREG_E_CLASS;
    }
    return S_OK;
}

// The classes are removed even when the type library's registration is already gone,
// so no class is left pointing at a module that is about to be deleted; the failure
// is still reported.
STDAPI DllUnregisterServer()
{
    const bool typeLibGone = SUCCEEDED(
        UnRegisterTypeLib(LIBID_SEPTENALib, kTypeLibMajor, kTypeLibMinor, 0x409, kSysKind));
    bool classesGone = false;
    try {
        classesGone = UnregisterClasses();
    } catch (...) {
        classesGone = false;
    }
    if (!typeLibGone)
        return SELFREG_E_TYPELIB;
    return classesGone ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (clsid == CLSID_Septena)
        return MakeClassFactory(clsid, &CSeptenaCtrl::Create, riid, out);
    if (clsid == CLSID_SeptenaGeneralPage || clsid == CLSID_SeptenaMorePage ||
        clsid == CLSID_SeptenaAboutPage)
        return MakeClassFactory(clsid, &CreateSeptenaPropertyPage, riid, out);
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow()
{
    if (ModuleLocks() != 0 || SeptenaPropertyPagesAlive() != 0)
        return S_FALSE;
    ReleaseSeptenaTypeLib();
    return S_OK;
}
