// Shared pieces of the SEPTENA.OCX container tests: the identities, registration with
// the prefix's regsvr32, property access, and one control with its site and sink.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChildProcess.h"
#include "OcxHost.h"
#include "com/SeptenaIds.h"

namespace ocxtest {

using septena::CLSID_Septena;
using septena::DIID_DSeptenaEvents;
using septena::LIBID_SEPTENALib;

using Lines = std::vector<std::string>;

inline DWORD Regsvr32(const std::string& option)
{
    const std::string command =
        "regsvr32.exe /s " + option + " \"" + testsupport::BinDir() + "SEPTENA.OCX\"";
    return testsupport::RunCaptured(command, "regsvr32").exitCode;
}

inline bool KeyExists(const char* key)
{
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key, 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    RegCloseKey(h);
    return true;
}

inline std::string ReadKey(const std::string& key)
{
    char value[256] = {};
    LONG size = sizeof value;
    return RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), value, &size) == ERROR_SUCCESS ? value
                                                                                         : "";
}

inline long GetLong(IDispatch* d, DISPID id)
{
    VARIANT v;
    EXPECT_EQ(GetProperty(d, id, v), S_OK) << id;
    VariantChangeType(&v, &v, 0, VT_I4);
    return v.lVal;
}

inline std::wstring GetText(IDispatch* d, DISPID id)
{
    VARIANT v;
    EXPECT_EQ(GetProperty(d, id, v), S_OK);
    std::wstring text = v.vt == VT_BSTR && v.bstrVal ? v.bstrVal : L"";
    VariantClear(&v);
    return text;
}

// One control with its site and event sink, optionally in-place active.
struct Control {
    Control()
    {
        EXPECT_EQ(CoCreateInstance(CLSID_Septena, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(&dispatch)),
                  S_OK);
        dispatch->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&ole));
        IConnectionPointContainer* cpc = nullptr;
        dispatch->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc));
        cpc->FindConnectionPoint(DIID_DSeptenaEvents, &point);
        cpc->Release();
        sink = new EventSink;
        EXPECT_EQ(point->Advise(static_cast<IDispatch*>(sink), &cookie), S_OK);
    }
    ~Control()
    {
        point->Unadvise(cookie);
        point->Release();
        if (site != nullptr) {
            ole->Close(OLECLOSE_NOSAVE);
            ole->SetClientSite(nullptr);
            site->Release();
        }
        ole->Release();
        sink->Release();
        const ULONG left = dispatch->Release();
        EXPECT_EQ(left, 0u);
        if (host != nullptr)
            DestroyWindow(host);
    }
    // Sets the container's site, answering the ambient UserMode with `userMode`
    // (false: a form designer's design mode).
    void Site(bool userMode = true)
    {
        host = CreateHostWindow();
        site = new TestSite(host);
        site->userMode = userMode;
        EXPECT_EQ(ole->SetClientSite(site), S_OK);
    }
    HWND Activate(bool userMode = true)
    {
        Site(userMode);
        EXPECT_EQ(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site, 0, host, &site->position),
                  S_OK);
        IOleInPlaceObject* inPlace = nullptr;
        dispatch->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace));
        HWND window = nullptr;
        EXPECT_EQ(inPlace->GetWindow(&window), S_OK);
        inPlace->Release();
        Pump();
        return window;
    }
    IDispatch* dispatch = nullptr;
    IOleObject* ole = nullptr;
    IConnectionPoint* point = nullptr;
    EventSink* sink = nullptr;
    TestSite* site = nullptr;
    HWND host = nullptr;
    DWORD cookie = 0;
};

// The name, size and weight of a font property.
inline std::wstring FontFacts(IDispatch* d, DISPID id)
{
    VARIANT v;
    EXPECT_EQ(GetProperty(d, id, v), S_OK);
    if (v.vt != VT_DISPATCH || v.pdispVal == nullptr)
        return L"no font";
    IFont* font = nullptr;
    v.pdispVal->QueryInterface(IID_IFont, reinterpret_cast<void**>(&font));
    BSTR name = nullptr;
    font->get_Name(&name);
    CY size{};
    font->get_Size(&size);
    BOOL bold = FALSE;
    font->get_Bold(&bold);
    std::wstring facts =
        std::wstring(name) + L" " + std::to_wstring(size.int64) + (bold ? L" bold" : L"");
    SysFreeString(name);
    font->Release();
    VariantClear(&v);
    return facts;
}

// Registers the module once per suite with the prefix's own regsvr32.
class RegisteredControlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitialize(nullptr);
        registerExit = Regsvr32("");
    }
    static void TearDownTestSuite() { CoUninitialize(); }
    inline static DWORD registerExit = 0xFFFFFFFF;
};

}  // namespace ocxtest
