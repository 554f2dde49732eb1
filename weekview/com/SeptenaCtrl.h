// The week view as an OLE control: `CSeptenaCtrl` wraps the week view window and its
// control object in the interfaces a container and an automation client use.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>

#include <functional>
#include <string>

#include "ConnectionPoint.h"
#include "FontHolder.h"
#include "WeekViewWindow.h"

// The records the control exchanges with its container, pinned to their 32-bit layout.
#ifndef _WIN64
static_assert(sizeof(CONTROLINFO) == 16, "CONTROLINFO");
static_assert(sizeof(CAUUID) == 8, "CAUUID");
static_assert(sizeof(OLEINPLACEFRAMEINFO) == 20, "OLEINPLACEFRAMEINFO");
static_assert(sizeof(RECTL) == 16 && sizeof(SIZEL) == 8, "RECTL, SIZEL");
#endif

namespace septena {

struct PersistentProperty;

// Puts `value` in `slot` with a reference of its own and releases what was there.
template <typename T>
void ReplaceReference(T*& slot, T* value)
{
    if (value != nullptr)
        value->AddRef();
    if (slot != nullptr)
        slot->Release();
    slot = value;
}

class CSeptenaCtrl final : public IDispatch,
                           public IConnectionPointContainer,
                           public IOleObject,
                           public IOleInPlaceObject,
                           public IOleInPlaceActiveObject,
                           public IOleControl,
                           public IViewObject2,
                           public IPersistStreamInit,
                           public IPersistPropertyBag,
                           public IPersistStorage,
                           public IProvideClassInfo2,
                           public ISpecifyPropertyPages,
                           private weekview::WeekViewEvents,
                           private FontChangeListener {
public:
    // The class factory's creation function.
    static HRESULT Create(REFCLSID clsid, REFIID riid, void** out);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** out) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                               DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID dispid, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** out) override;
    STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** out) override;

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    STDMETHODIMP SetHostNames(LPCOLESTR app, LPCOLESTR object) override;
    STDMETHODIMP Close(DWORD saveOption) override;
    STDMETHODIMP SetMoniker(DWORD which, IMoniker* moniker) override;
    STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** out) override;
    STDMETHODIMP InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
    STDMETHODIMP GetClipboardData(DWORD reserved, IDataObject** out) override;
    STDMETHODIMP DoVerb(LONG verb, LPMSG msg, IOleClientSite* site, LONG index, HWND parent,
                        LPCRECT posRect) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** out) override;
    STDMETHODIMP Update() override;
    STDMETHODIMP IsUpToDate() override;
    STDMETHODIMP GetUserClassID(CLSID* clsid) override;
    STDMETHODIMP GetUserType(DWORD form, LPOLESTR* type) override;
    STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) override;
    STDMETHODIMP Unadvise(DWORD connection) override;
    STDMETHODIMP EnumAdvise(IEnumSTATDATA** out) override;
    STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE* palette) override;

    // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
    STDMETHODIMP GetWindow(HWND* hwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override;
    STDMETHODIMP SetObjectRects(LPCRECT posRect, LPCRECT clipRect) override;
    STDMETHODIMP ReactivateAndUndo() override;
    STDMETHODIMP TranslateAccelerator(LPMSG msg) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
    STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
    STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame) override;
    STDMETHODIMP EnableModeless(BOOL enable) override;

    // IOleControl
    STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
    STDMETHODIMP OnMnemonic(MSG* msg) override;
    STDMETHODIMP OnAmbientPropertyChange(DISPID dispid) override;
    STDMETHODIMP FreezeEvents(BOOL freeze) override;

    // IViewObject2
    STDMETHODIMP Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device,
                      HDC targetDc, HDC drawDc, LPCRECTL bounds, LPCRECTL wBounds,
                      BOOL(STDMETHODCALLTYPE* cont)(ULONG_PTR), ULONG_PTR contArg) override;
    STDMETHODIMP GetColorSet(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device,
                             HDC targetDc, LOGPALETTE** colors) override;
    STDMETHODIMP Freeze(DWORD aspect, LONG index, void* aspectInfo, DWORD* freeze) override;
    STDMETHODIMP Unfreeze(DWORD freeze) override;
    STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    STDMETHODIMP GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, LPSIZEL size) override;

    // IPersist, IPersistStreamInit, IPersistPropertyBag, IPersistStorage
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP IsDirty() override;
    STDMETHODIMP Load(LPSTREAM stream) override;
    STDMETHODIMP Save(LPSTREAM stream, BOOL clearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
    STDMETHODIMP InitNew() override;
    STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override;
    STDMETHODIMP Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;
    STDMETHODIMP InitNew(IStorage* storage) override;
    STDMETHODIMP Load(IStorage* storage) override;
    STDMETHODIMP Save(IStorage* storage, BOOL sameAsLoad) override;
    STDMETHODIMP SaveCompleted(IStorage* storage) override;
    STDMETHODIMP HandsOffStorage() override;

    // IProvideClassInfo2
    STDMETHODIMP GetClassInfo(ITypeInfo** out) override;
    STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;

    // ISpecifyPropertyPages
    STDMETHODIMP GetPages(CAUUID* pages) override;

private:
    CSeptenaCtrl();
    ~CSeptenaCtrl();

    // weekview::WeekViewEvents: the core's events go out to the event sinks.
    void TimeSelect(int32_t nDayStart, int16_t nTimeStart, int32_t nDayEnd,
                    int16_t nTimeEnd) override;
    void RightClick(int16_t nStartTime, int32_t nStartDate, int16_t nEndTime, int32_t nEndDate,
                    int16_t nIndex, const std::string& cKeyID) override;
    void Error(int16_t nError, int16_t nIndex) override;
    void MouseDown(int16_t button, int16_t shift, int x, int y) override;
    void MouseMove(int16_t button, int16_t shift, int x, int y) override;
    void MouseUp(int16_t button, int16_t shift, int x, int y) override;
    void Click() override;
    void DblClick() override;
    void PictureChanged() override;
    void Fire(DISPID dispid, VARIANTARG* reversedArgs, UINT count);
    void FireMouse(DISPID dispid, int16_t button, int16_t shift, int x, int y);

    // Members by DISPID (SeptenaDispatch.cpp and SeptenaMembers.cpp).
    HRESULT InvokeMember(DISPID dispid, WORD flags, DISPPARAMS* params, VARIANT* result);
    HRESULT GetProperty(DISPID dispid, VARIANT* result);
    HRESULT PutProperty(DISPID dispid, VARIANT& value);
    HRESULT CallMethod(DISPID dispid, DISPPARAMS* params, VARIANT* result);
    HRESULT Indexed(DISPID dispid, WORD flags, DISPPARAMS* params, VARIANT* result);
    void PropertyChanged(DISPID dispid);

    // Fonts: the stock Font and HourFont holders.
    HRESULT SetFontHolder(FontHolder& holder, IFont* font);
    // FontChangeListener: the host changed a font object the control holds.
    void FontChanged(DISPID dispid) override;
    IFont* AmbientOrDefaultFont();
    // Hands the fonts' handles to the view; `asChange` when a font property changed.
    void ApplyFonts(bool asChange);

    // Persistence (SeptenaPersist.cpp).
    void ResetToDefaults();
    // Reads one property of the set from a saved form: a font property into the font it
    // is given (which it may replace), any other into the values.
    using ReadProperty =
        std::function<HRESULT(const PersistentProperty&, IFont*&, weekview::DisplayProperties&)>;
    // Reads the whole set through `read` and gives it to the control only when all of it
    // was read; the fonts start from the ambient one.
    HRESULT LoadSet(const ReadProperty& read);
    void AfterSave(BOOL clearDirty);
    void AfterExchange();

    // Container side (SeptenaOle.cpp).
    HRESULT InPlaceActivate(LONG verb, HWND parent, LPCRECT posRect);
    HRESULT ShowPropertyFrame(HWND parent);
    bool AmbientProperty(DISPID dispid, VARIANT& value);
    // The control holds a reference to itself while its window handles a message, so
    // a host that drops the control from an event handler frees it only afterwards.
    static LRESULT CALLBACK GuardedWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam);
    void GuardWindow();
    void DestroyViewWindow();
    void ReadAmbientUserMode();

    LONG refs_ = 1;
    weekview::WeekViewWindow view_;
    ConnectionPoint events_;
    ConnectionPoint propertyNotify_;
    IOleClientSite* clientSite_ = nullptr;
    IOleInPlaceSite* inPlaceSite_ = nullptr;
    IOleAdviseHolder* adviseHolder_ = nullptr;
    IAdviseSink* viewSink_ = nullptr;
    DWORD viewAspects_ = 0;
    DWORD viewAdviseFlags_ = 0;
    FontHolder font_{*this, DISPID_FONT};
    FontHolder hourFont_{*this, 33};  // HourFont
    SIZEL extent_{16933, 12700};      // 640 x 480 pixels at 96 dpi, in HIMETRIC
    LONG freezeEvents_ = 0;
    WNDPROC viewProc_ = nullptr;
    bool uiActive_ = false;
};

}  // namespace septena
