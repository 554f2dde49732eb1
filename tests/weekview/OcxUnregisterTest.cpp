// SEPTENA.OCX leaving: the last reference, the module's unloading with its window class,
// and unregistration that leaves no class behind.
#include "OcxFixture.h"

using namespace ocxtest;

namespace {

const char* const kClassKeys[] = {"CLSID\\{3266CE66-192F-11D0-9FFC-E9983B83C707}",
                                  "CLSID\\{3266CE67-192F-11D0-9FFC-E9983B83C707}",
                                  "CLSID\\{37C427A1-255E-11D0-9FFC-E9983B83C707}",
                                  "CLSID\\{37C427A4-255E-11D0-9FFC-E9983B83C707}",
                                  "SEPTENA.SeptenaCtrl.1",
                                  "SEPTENA.SeptenaPropPage.1",
                                  "Septena.CMorePropPage",
                                  "Septena.CAboutPropPage"};

class SeptenaUnregisterTest : public RegisteredControlTest {};

TEST_F(SeptenaUnregisterTest, ReferencesReachZeroModuleUnloadsAndUnregisterLeavesNothing)
{
    {
        Control c;
        c.Activate();
    }  // the destructor checks that the last Release answers 0
    HMODULE module = GetModuleHandleA("SEPTENA.OCX");
    ASSERT_NE(module, nullptr);
    auto canUnload = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
    ASSERT_NE(canUnload, nullptr);
    EXPECT_EQ(canUnload(), S_OK);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(CoGetClassObject(CLSID_Septena, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    factory->LockServer(TRUE);
    EXPECT_EQ(canUnload(), S_FALSE);
    factory->LockServer(FALSE);
    factory->Release();
    EXPECT_EQ(canUnload(), S_OK);

    // Unloaded, the module takes its window class with it.
    CoFreeUnusedLibrariesEx(0, 0);
    EXPECT_EQ(GetModuleHandleA("SEPTENA.OCX"), nullptr);
    WNDCLASSA info{};
    EXPECT_FALSE(GetClassInfoA(module, "WeekViewWindow", &info));

    EXPECT_EQ(Regsvr32("/u"), 0u);
    for (const char* key : kClassKeys)
        EXPECT_FALSE(KeyExists(key)) << key;
    ITypeLib* lib = nullptr;
    EXPECT_NE(LoadRegTypeLib(LIBID_SEPTENALib, 1, 0, 0x409, &lib), S_OK);
    IUnknown* none = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_Septena, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&none)),
              REGDB_E_CLASSNOTREG);

    // With the type library's registration already gone the classes still go, and
    // the failure is reported (SELFREG_E_TYPELIB).
    ASSERT_EQ(Regsvr32(""), 0u);
    ITypeLib* registered = nullptr;
    ASSERT_EQ(LoadRegTypeLib(LIBID_SEPTENALib, 1, 0, 0x409, &registered), S_OK);
    TLIBATTR* attr = nullptr;
    registered->GetLibAttr(&attr);
    const SYSKIND kind = attr->syskind;
    registered->ReleaseTLibAttr(attr);
    registered->Release();
    ASSERT_EQ(UnRegisterTypeLib(LIBID_SEPTENALib, 1, 0, 0x409, kind), S_OK);
    EXPECT_NE(Regsvr32("/u"), 0u);
    for (const char* key : kClassKeys)
        EXPECT_FALSE(KeyExists(key)) << key;
}

}  // namespace
