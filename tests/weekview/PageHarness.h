// Helpers for driving the property pages: a scriptable dispatch object standing in
// for the control, a watcher that answers message boxes, and dialog-control access.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <map>
#include <string>
#include <vector>

namespace page_tests {

// An object with properties by DISPID only; records every put as "dispid=value".
class FakeControl : public IDispatch {
public:
    FakeControl();
    ~FakeControl();
    void Set(DISPID id, long value);
    void SetText(DISPID id, const wchar_t* text);
    long Number(DISPID id);
    std::wstring Text(DISPID id);
    std::vector<std::string> puts;
    LONG refs = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }  // lives on the stack
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO*, UINT*) override;

private:
    std::map<DISPID, VARIANT> values_;
};

// Sets every property the pages edit to the control's defaults.
void SetControlDefaults(FakeControl& control);

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
void Pump();

}  // namespace page_tests
