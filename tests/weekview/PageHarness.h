// Helpers for driving the property pages on the real control: the control module
// loaded from SEPTENA.OCX, property reads by DISPID, a watcher that answers message
// boxes, and typing into dialog boxes.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <string>
#include <vector>

namespace page_tests {

// SEPTENA.OCX loaded beside the test program; its class objects by CLSID.
class SeptenaModule {
public:
    SeptenaModule();
    ~SeptenaModule();
    bool Loaded() const { return module_ != nullptr; }
    HRESULT ClassObject(REFCLSID clsid, IClassFactory** factory);
    // A new control, initialised as a freshly inserted one.
    IDispatch* NewControl();
    HRESULT CanUnloadNow();

private:
    HMODULE module_;
};

long Number(IDispatch* object, DISPID id);
std::wstring Text(IDispatch* object, DISPID id);

// Answers every message box of this thread with OK while alive and keeps their texts.
class MessageBoxWatcher {
public:
    MessageBoxWatcher();
    ~MessageBoxWatcher();
    static std::vector<std::wstring> texts;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    UINT_PTR timer_;
};

std::wstring ItemText(HWND dialog, int id);
// Types into an edit box as a user does: selects all and replaces it with `text`.
void TypeInto(HWND dialog, int id, const wchar_t* text);

}  // namespace page_tests
