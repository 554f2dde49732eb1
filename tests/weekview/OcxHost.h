// A small OLE control container for tests: a client and in-place site with ambient
// properties, an event sink that records what arrives, and a property bag.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace ocxtest {

// Shared IUnknown plumbing for the test objects (not thread-safe; tests are STA).
template <typename Derived>
struct RefCounted {
    ULONG refs = 1;
    ULONG Add() { return ++refs; }
    ULONG Drop()
    {
        const ULONG r = --refs;
        if (r == 0)
            delete static_cast<Derived*>(this);
        return r;
    }
};

// Client site, in-place site and ambient properties (UserMode, Font) in one object.
class TestSite final : public IOleClientSite,
                 public IOleInPlaceSite,
                 public IDispatch,
                 public RefCounted<TestSite> {
public:
    explicit TestSite(HWND window) : window_(window) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return Add(); }
    STDMETHODIMP_(ULONG) Release() override { return Drop(); }
    // IOleClientSite
    STDMETHODIMP SaveObject() override { return S_OK; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** m) override;
    STDMETHODIMP GetContainer(IOleContainer** c) override;
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
    // IOleWindow, IOleInPlaceSite
    STDMETHODIMP GetWindow(HWND* hwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override { return S_OK; }
    STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }
    // IDispatch: the ambient properties
    STDMETHODIMP GetTypeInfoCount(UINT* n) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                        UINT*) override;

    RECT position{10, 10, 650, 490};
    bool userMode = true;
    IFontDisp* ambientFont = nullptr;  // borrowed
    int activations = 0;
    int deactivations = 0;

private:
    HWND window_;
};

// Records every event as a line: the name (by DISPID) and the arguments in order.
class EventSink final : public IDispatch, public RefCounted<EventSink> {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return Add(); }
    STDMETHODIMP_(ULONG) Release() override { return Drop(); }
    STDMETHODIMP GetTypeInfoCount(UINT* n) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                        UINT*) override;
    std::vector<std::string> lines;
    bool skipMouseMoves = true;
    // Called after each recorded event, with its DISPID.
    std::function<void(DISPID)> onEvent;
};

// Records the DISPIDs of property-change notifications.
class NotifySink final : public IPropertyNotifySink, public RefCounted<NotifySink> {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return Add(); }
    STDMETHODIMP_(ULONG) Release() override { return Drop(); }
    STDMETHODIMP OnChanged(DISPID id) override;
    STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }
    std::vector<DISPID> changed;
};

// Records what the control tells a container drawing it: "ViewChange aspect index",
// "Save" and "Close".
class ViewSink final : public IAdviseSink, public RefCounted<ViewSink> {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return Add(); }
    STDMETHODIMP_(ULONG) Release() override { return Drop(); }
    STDMETHODIMP_(void) OnDataChange(FORMATETC*, STGMEDIUM*) override {}
    STDMETHODIMP_(void) OnViewChange(DWORD aspect, LONG index) override;
    STDMETHODIMP_(void) OnRename(IMoniker*) override {}
    STDMETHODIMP_(void) OnSave() override { lines.push_back("Save"); }
    STDMETHODIMP_(void) OnClose() override { lines.push_back("Close"); }
    std::vector<std::string> lines;
};

// A property bag keeping the written VARIANTs by name, in the order written.
class MemoryBag final : public IPropertyBag, public RefCounted<MemoryBag> {
public:
    ~MemoryBag();
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return Add(); }
    STDMETHODIMP_(ULONG) Release() override { return Drop(); }
    STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override;
    STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override;
    std::vector<std::wstring> order;
    std::map<std::wstring, VARIANT> values;
};

// A top-level window to host the control.
HWND CreateHostWindow();

// Property access through IDispatch by DISPID.
HRESULT GetProperty(IDispatch* d, DISPID id, VARIANT& out);
HRESULT PutProperty(IDispatch* d, DISPID id, VARIANT value);
HRESULT CallMethod(IDispatch* d, DISPID id, std::vector<VARIANT> args, VARIANT* result,
                   EXCEPINFO* exception = nullptr);
VARIANT Short(short v);
VARIANT Long(long v);
VARIANT Text(const wchar_t* v);  // the caller clears it
// Processes pending window messages (paints).
void Pump();

}  // namespace ocxtest
