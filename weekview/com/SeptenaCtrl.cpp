// CSeptenaCtrl: creation, interface lookup, connection points, class information,
// property pages, events and the font holders.
#include "SeptenaCtrl.h"

#include <new>

#include "ComModule.h"
#include "PropertyPages.h"
#include "SeptenaIds.h"
#include "TypeLibrary.h"
#include "VariantText.h"

namespace septena {
namespace {

// The font a control shows when the container offers none.
IFont* DefaultFont()
{
    FONTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.lpstrName = const_cast<LPOLESTR>(L"MS Sans Serif");
    desc.cySize.int64 = 8 * 10000;  // 8 points
    desc.sWeight = FW_NORMAL;
    desc.sCharset = ANSI_CHARSET;
    IFont* font = nullptr;
    OleCreateFontIndirect(&desc, IID_IFont, reinterpret_cast<void**>(&font));
    return font;
}

}  // namespace

CSeptenaCtrl::CSeptenaCtrl()
    : view_(*this),
      events_(*this, DIID_DSeptenaEvents),
      propertyNotify_(*this, IID_IPropertyNotifySink)
{
    LockModule();
}

CSeptenaCtrl::~CSeptenaCtrl()
{
    events_.UnadviseAll();
    propertyNotify_.UnadviseAll();
    DestroyViewWindow();
    for (IUnknown* p : {static_cast<IUnknown*>(clientSite_), static_cast<IUnknown*>(inPlaceSite_),
                        static_cast<IUnknown*>(adviseHolder_), static_cast<IUnknown*>(viewSink_)}) {
        if (p != nullptr)
            p->Release();
    }
    UnlockModule();
}

HRESULT CSeptenaCtrl::Create(REFCLSID, REFIID riid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    try {
        auto* control = new CSeptenaCtrl;
        control->ResetToDefaults();
        const HRESULT hr = control->QueryInterface(riid, out);
        control->Release();
        return hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP CSeptenaCtrl::QueryInterface(REFIID riid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    void* found = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID_DSeptena)
        found = static_cast<IDispatch*>(this);
    else if (riid == IID_IConnectionPointContainer)
        found = static_cast<IConnectionPointContainer*>(this);
    else if (riid == IID_IOleObject)
        found = static_cast<IOleObject*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceObject)
        found = static_cast<IOleInPlaceObject*>(this);
    else if (riid == IID_IOleInPlaceActiveObject)
        found = static_cast<IOleInPlaceActiveObject*>(this);
    else if (riid == IID_IOleControl)
        found = static_cast<IOleControl*>(this);
    else if (riid == IID_IViewObject || riid == IID_IViewObject2)
        found = static_cast<IViewObject2*>(this);
    else if (riid == IID_IPersist || riid == IID_IPersistStreamInit)
        found = static_cast<IPersistStreamInit*>(this);
    else if (riid == IID_IPersistPropertyBag)
        found = static_cast<IPersistPropertyBag*>(this);
    else if (riid == IID_IPersistStorage)
        found = static_cast<IPersistStorage*>(this);
    else if (riid == IID_IProvideClassInfo || riid == IID_IProvideClassInfo2)
        found = static_cast<IProvideClassInfo2*>(this);
    else if (riid == IID_ISpecifyPropertyPages)
        found = static_cast<ISpecifyPropertyPages*>(this);
    *out = found;
    if (found == nullptr)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CSeptenaCtrl::AddRef()
{
    return InterlockedIncrement(&refs_);
}

STDMETHODIMP_(ULONG) CSeptenaCtrl::Release()
{
    const LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0)
        delete this;
    return refs;
}

STDMETHODIMP CSeptenaCtrl::EnumConnectionPoints(IEnumConnectionPoints** out)
{
    if (out != nullptr)
        *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CSeptenaCtrl::FindConnectionPoint(REFIID riid, IConnectionPoint** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (riid == events_.Iid())
        *out = &events_;
    else if (riid == propertyNotify_.Iid())
        *out = &propertyNotify_;
    else
        return CONNECT_E_NOCONNECTION;
    (*out)->AddRef();
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::GetClassInfo(ITypeInfo** out)
{
    return SeptenaTypeInfo(CLSID_Septena, out);
}

STDMETHODIMP CSeptenaCtrl::GetGUID(DWORD kind, GUID* guid)
{
    if (guid == nullptr)
        return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
        *guid = GUID_NULL;
        return E_INVALIDARG;
    }
    *guid = DIID_DSeptenaEvents;
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::GetPages(CAUUID* pages)
{
    if (pages == nullptr)
        return E_POINTER;
    static const GUID kPages[] = {CLSID_SeptenaGeneralPage, CLSID_SeptenaMorePage,
                                  CLSID_StockColorPage, CLSID_StockFontPage,
                                  CLSID_SeptenaAboutPage};
    constexpr ULONG count = sizeof kPages / sizeof kPages[0];
    pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof kPages));
    if (pages->pElems == nullptr) {
        pages->cElems = 0;
        return E_OUTOFMEMORY;
    }
    for (ULONG i = 0; i < count; ++i)
        pages->pElems[i] = kPages[i];
    pages->cElems = count;
    return S_OK;
}

// Events: while the container freezes them they are dropped, as it asked.
void CSeptenaCtrl::Fire(DISPID dispid, VARIANTARG* reversedArgs, UINT count)
{
    if (freezeEvents_ > 0)
        return;
    AddRef();  // a handler may drop the control
    FireDispatchEvent(events_, dispid, reversedArgs, count);
    Release();
}

void CSeptenaCtrl::TimeSelect(int32_t nDayStart, int16_t nTimeStart, int32_t nDayEnd,
                              int16_t nTimeEnd)
{
    VARIANTARG args[4];
    args[3].vt = VT_I4, args[3].lVal = nDayStart;
    args[2].vt = VT_I2, args[2].iVal = nTimeStart;
    args[1].vt = VT_I4, args[1].lVal = nDayEnd;
    args[0].vt = VT_I2, args[0].iVal = nTimeEnd;
    Fire(kEventTimeSelect, args, 4);
}

void CSeptenaCtrl::RightClick(int16_t nStartTime, int32_t nStartDate, int16_t nEndTime,
                              int32_t nEndDate, int16_t nIndex, const std::string& cKeyID)
{
    VARIANTARG args[6];
    args[5].vt = VT_I2, args[5].iVal = nStartTime;
    args[4].vt = VT_I4, args[4].lVal = nStartDate;
    args[3].vt = VT_I2, args[3].iVal = nEndTime;
    args[2].vt = VT_I4, args[2].lVal = nEndDate;
    args[1].vt = VT_I2, args[1].iVal = nIndex;
    args[0].vt = VT_BSTR, args[0].bstrVal = ToBstr(cKeyID);
    Fire(kEventRightClick, args, 6);
    SysFreeString(args[0].bstrVal);
}

void CSeptenaCtrl::Error(int16_t nError, int16_t nIndex)
{
    VARIANTARG args[2];
    args[1].vt = VT_I2, args[1].iVal = nError;
    args[0].vt = VT_I2, args[0].iVal = nIndex;
    Fire(kEventError, args, 2);
}

void CSeptenaCtrl::FireMouse(DISPID dispid, int16_t button, int16_t shift, int x, int y)
{
    VARIANTARG args[4];
    args[3].vt = VT_I2, args[3].iVal = button;
    args[2].vt = VT_I2, args[2].iVal = shift;
    args[1].vt = VT_I4, args[1].lVal = x;
    args[0].vt = VT_I4, args[0].lVal = y;
    Fire(dispid, args, 4);
}

void CSeptenaCtrl::MouseDown(int16_t button, int16_t shift, int x, int y)
{
    FireMouse(DISPID_MOUSEDOWN, button, shift, x, y);
}

void CSeptenaCtrl::MouseMove(int16_t button, int16_t shift, int x, int y)
{
    FireMouse(DISPID_MOUSEMOVE, button, shift, x, y);
}

void CSeptenaCtrl::MouseUp(int16_t button, int16_t shift, int x, int y)
{
    FireMouse(DISPID_MOUSEUP, button, shift, x, y);
}

void CSeptenaCtrl::Click()
{
    Fire(DISPID_CLICK, nullptr, 0);
}

void CSeptenaCtrl::DblClick()
{
    Fire(DISPID_DBLCLICK, nullptr, 0);
}

void CSeptenaCtrl::PropertyChanged(DISPID dispid)
{
    FirePropertyChanged(propertyNotify_, dispid);
}

// The holders keep clones, so the caller's font object stays its own.
HRESULT CSeptenaCtrl::SetFontHolder(FontHolder& holder, IFont* font)
{
    IFont* clone = nullptr;
    if (font == nullptr)
        clone = AmbientOrDefaultFont();
    else if (FAILED(font->Clone(&clone)))
        clone = nullptr;
    if (clone == nullptr)
        return kCtlOutOfMemory;
    holder.Reset(clone);
    ApplyFonts(true);
    return S_OK;
}

void CSeptenaCtrl::FontChanged(DISPID dispid)
{
    ApplyFonts(true);
    PropertyChanged(dispid);
}

IFont* CSeptenaCtrl::AmbientOrDefaultFont()
{
    VARIANT v;
    VariantInit(&v);
    IFont* font = nullptr;
    if (AmbientProperty(DISPID_AMBIENT_FONT, v) && (v.vt == VT_DISPATCH || v.vt == VT_UNKNOWN) &&
        v.punkVal != nullptr) {
        IFont* ambient = nullptr;
        if (SUCCEEDED(v.punkVal->QueryInterface(IID_IFont, reinterpret_cast<void**>(&ambient)))) {
            ambient->Clone(&font);
            ambient->Release();
        }
    }
    VariantClear(&v);
    return font != nullptr ? font : DefaultFont();
}

void CSeptenaCtrl::ApplyFonts(bool asChange)
{
    HFONT font = nullptr;
    HFONT hourFont = nullptr;
    if (font_.Get() != nullptr)
        font_.Get()->get_hFont(&font);
    if (hourFont_.Get() != nullptr)
        hourFont_.Get()->get_hFont(&hourFont);
    if (asChange) {
        view_.SetFont(font);
        view_.SetHourFont(hourFont);
    } else {
        view_.ShowFonts(font, hourFont);
    }
}

}  // namespace septena
