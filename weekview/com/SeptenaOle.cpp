// CSeptenaCtrl in its container: the client site and ambient properties, verbs,
// in-place activation of the week view window (IOleObject, IOleInPlaceObject,
// IOleInPlaceActiveObject, IOleControl).
#include <new>

#include "ComModule.h"
#include "SeptenaCtrl.h"
#include "SeptenaIds.h"

namespace septena {

bool CSeptenaCtrl::AmbientProperty(DISPID dispid, VARIANT& value)
{
    VariantInit(&value);
    if (clientSite_ == nullptr)
        return false;
    IDispatch* ambient = nullptr;
    if (FAILED(clientSite_->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&ambient))))
        return false;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    const HRESULT hr = ambient->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                                       &none, &value, nullptr, nullptr);
    ambient->Release();
    return SUCCEEDED(hr);
}

// Without an answer the control runs in user mode, as a script's control does.
void CSeptenaCtrl::ReadAmbientUserMode()
{
    VARIANT v;
    bool runMode = true;
    if (AmbientProperty(DISPID_AMBIENT_USERMODE, v) &&
        SUCCEEDED(VariantChangeType(&v, &v, 0, VT_BOOL)))
        runMode = v.boolVal != VARIANT_FALSE;
    VariantClear(&v);
    view_.SetRunMode(runMode);
}

namespace {

const char kControlProperty[] = "SeptenaCtrl";

}  // namespace

void CSeptenaCtrl::GuardWindow()
{
    const HWND hwnd = view_.Handle();
    SetPropA(hwnd, kControlProperty, static_cast<HANDLE>(this));
    viewProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&GuardedWindowProc)));
}

// The window goes without the guard: the control may be in its destructor.
void CSeptenaCtrl::DestroyViewWindow()
{
    const HWND hwnd = view_.Handle();
    if (hwnd == nullptr)
        return;
    if (viewProc_ != nullptr) {
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(viewProc_));
        RemovePropA(hwnd, kControlProperty);
        viewProc_ = nullptr;
    }
    DestroyWindow(hwnd);
}

LRESULT CALLBACK CSeptenaCtrl::GuardedWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                                 LPARAM lParam)
{
    auto* self = static_cast<CSeptenaCtrl*>(GetPropA(hwnd, kControlProperty));
    if (self == nullptr || self->viewProc_ == nullptr)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    self->AddRef();
    const LRESULT result = CallWindowProcA(self->viewProc_, hwnd, message, wParam, lParam);
    self->Release();
    return result;
}

STDMETHODIMP CSeptenaCtrl::SetClientSite(IOleClientSite* site)
{
    ReplaceReference(clientSite_, site);
    if (site != nullptr) {
        ReadAmbientUserMode();
        try {
            if (font_.Get() == nullptr)
                SetFontHolder(font_, nullptr);
            if (hourFont_.Get() == nullptr)
                SetFontHolder(hourFont_, nullptr);
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::GetClientSite(IOleClientSite** site)
{
    if (site == nullptr)
        return E_POINTER;
    *site = clientSite_;
    if (clientSite_ != nullptr)
        clientSite_->AddRef();
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::SetHostNames(LPCOLESTR, LPCOLESTR)
{
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::Close(DWORD saveOption)
{
    if (saveOption != OLECLOSE_NOSAVE && view_.Modified() && clientSite_ != nullptr)
        clientSite_->SaveObject();
    InPlaceDeactivate();
    if (adviseHolder_ != nullptr)
        adviseHolder_->SendOnClose();
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::SetMoniker(DWORD, IMoniker*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CSeptenaCtrl::GetMoniker(DWORD, DWORD, IMoniker** out)
{
    if (out != nullptr)
        *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CSeptenaCtrl::InitFromData(IDataObject*, BOOL, DWORD)
{
    return E_NOTIMPL;
}

STDMETHODIMP CSeptenaCtrl::GetClipboardData(DWORD, IDataObject** out)
{
    if (out != nullptr)
        *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CSeptenaCtrl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent,
                                  LPCRECT posRect)
{
    if (site != nullptr && clientSite_ == nullptr)
        SetClientSite(site);
    switch (verb) {
        case OLEIVERB_PRIMARY:
        case OLEIVERB_SHOW:
        case OLEIVERB_INPLACEACTIVATE:
        case OLEIVERB_UIACTIVATE:
            return InPlaceActivate(verb, parent, posRect);
        case OLEIVERB_HIDE:
            return InPlaceDeactivate();
        case OLEIVERB_PROPERTIES:
            return ShowPropertyFrame(parent);
        default:
            return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
    }
}

HRESULT CSeptenaCtrl::InPlaceActivate(LONG verb, HWND parent, LPCRECT posRect)
{
    if (clientSite_ == nullptr)
        return E_UNEXPECTED;
    if (inPlaceSite_ == nullptr) {
        IOleInPlaceSite* site = nullptr;
        if (FAILED(
                clientSite_->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&site))))
            return E_NOINTERFACE;
        if (site->CanInPlaceActivate() != S_OK) {
            site->Release();
            return E_FAIL;
        }
        inPlaceSite_ = site;
        inPlaceSite_->OnInPlaceActivate();
    }
    if (view_.Handle() == nullptr) {
        IOleInPlaceFrame* frame = nullptr;
        IOleInPlaceUIWindow* document = nullptr;
        RECT pos{}, clip{};
        OLEINPLACEFRAMEINFO info{};
        info.cb = sizeof info;
        HWND container = nullptr;
        inPlaceSite_->GetWindow(&container);
        inPlaceSite_->GetWindowContext(&frame, &document, &pos, &clip, &info);
        if (frame != nullptr)
            frame->Release();
        if (document != nullptr)
            document->Release();
        if (posRect != nullptr)
            pos = *posRect;
        weekview::WeekViewWindowOptions options;
        options.bounds = pos;
        options.runMode = view_.RunMode();
        const DWORD enabled = view_.Control().Properties().Enabled ? 0 : WS_DISABLED;
        if (!view_.Create(container != nullptr ? container : parent, options,
                          WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | WS_CLIPSIBLINGS | enabled))
            return E_FAIL;
        GuardWindow();
        ApplyFonts(false);
    }
    if (verb == OLEIVERB_UIACTIVATE && !uiActive_) {
        uiActive_ = true;
        inPlaceSite_->OnUIActivate();
        SetFocus(view_.Handle());
    }
    return S_OK;
}

HRESULT CSeptenaCtrl::ShowPropertyFrame(HWND parent)
{
    CAUUID pages{};
    HRESULT hr = GetPages(&pages);
    if (FAILED(hr))
        return hr;
    IUnknown* self = static_cast<IDispatch*>(this);
    hr = OleCreatePropertyFrame(parent, 0, 0, L"" SEPTENA_CONTROL_NAME, 1, &self, pages.cElems,
                                pages.pElems, LOCALE_USER_DEFAULT, 0, nullptr);
    CoTaskMemFree(pages.pElems);
    return hr;
}

STDMETHODIMP CSeptenaCtrl::EnumVerbs(IEnumOLEVERB** out)
{
    return OleRegEnumVerbs(CLSID_Septena, out);
}

STDMETHODIMP CSeptenaCtrl::Update()
{
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::IsUpToDate()
{
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::GetUserClassID(CLSID* clsid)
{
    return GetClassID(clsid);
}

STDMETHODIMP CSeptenaCtrl::GetUserType(DWORD form, LPOLESTR* type)
{
    if (type == nullptr)
        return E_POINTER;
    if (SUCCEEDED(OleRegGetUserType(CLSID_Septena, form, type)))
        return S_OK;
    *type = static_cast<LPOLESTR>(CoTaskMemAlloc(sizeof L"" SEPTENA_CONTROL_NAME));
    if (*type == nullptr)
        return E_OUTOFMEMORY;
    memcpy(*type, L"" SEPTENA_CONTROL_NAME, sizeof L"" SEPTENA_CONTROL_NAME);
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::SetExtent(DWORD aspect, SIZEL* size)
{
    if (size == nullptr)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    extent_ = *size;
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::GetExtent(DWORD aspect, SIZEL* size)
{
    if (size == nullptr)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    *size = extent_;
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::Advise(IAdviseSink* sink, DWORD* connection)
{
    if (adviseHolder_ == nullptr && FAILED(CreateOleAdviseHolder(&adviseHolder_)))
        return E_OUTOFMEMORY;
    return adviseHolder_->Advise(sink, connection);
}

STDMETHODIMP CSeptenaCtrl::Unadvise(DWORD connection)
{
    return adviseHolder_ != nullptr ? adviseHolder_->Unadvise(connection) : OLE_E_NOCONNECTION;
}

STDMETHODIMP CSeptenaCtrl::EnumAdvise(IEnumSTATDATA** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    return adviseHolder_ != nullptr ? adviseHolder_->EnumAdvise(out) : E_FAIL;
}

STDMETHODIMP CSeptenaCtrl::GetMiscStatus(DWORD, DWORD* status)
{
    if (status == nullptr)
        return E_POINTER;
    *status = kMiscStatus;
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::SetColorScheme(LOGPALETTE*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CSeptenaCtrl::GetWindow(HWND* hwnd)
{
    if (hwnd == nullptr)
        return E_POINTER;
    *hwnd = view_.Handle();
    return *hwnd != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP CSeptenaCtrl::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP CSeptenaCtrl::InPlaceDeactivate()
{
    UIDeactivate();
    DestroyViewWindow();
    if (inPlaceSite_ != nullptr) {
        IOleInPlaceSite* site = inPlaceSite_;
        inPlaceSite_ = nullptr;
        site->OnInPlaceDeactivate();
        site->Release();
    }
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::UIDeactivate()
{
    if (uiActive_) {
        uiActive_ = false;
        if (inPlaceSite_ != nullptr)
            inPlaceSite_->OnUIDeactivate(FALSE);
    }
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::SetObjectRects(LPCRECT posRect, LPCRECT)
{
    if (posRect == nullptr)
        return E_POINTER;
    if (view_.Handle() != nullptr)
        MoveWindow(view_.Handle(), posRect->left, posRect->top, posRect->right - posRect->left,
                   posRect->bottom - posRect->top, TRUE);
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::ReactivateAndUndo()
{
    return E_NOTIMPL;
}

STDMETHODIMP CSeptenaCtrl::TranslateAccelerator(LPMSG)
{
    return S_FALSE;
}

STDMETHODIMP CSeptenaCtrl::OnFrameWindowActivate(BOOL)
{
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::OnDocWindowActivate(BOOL)
{
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL)
{
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::EnableModeless(BOOL)
{
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::GetControlInfo(CONTROLINFO* info)
{
    if (info == nullptr)
        return E_POINTER;
    info->cb = sizeof *info;
    info->hAccel = nullptr;
    info->cAccel = 0;
    info->dwFlags = 0;
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::OnMnemonic(MSG*)
{
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::OnAmbientPropertyChange(DISPID dispid)
{
    if (dispid == DISPID_AMBIENT_USERMODE || dispid == DISPID_UNKNOWN)
        ReadAmbientUserMode();
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::FreezeEvents(BOOL freeze)
{
    if (freeze)
        ++freezeEvents_;
    else if (freezeEvents_ > 0)
        --freezeEvents_;
    return S_OK;
}

}  // namespace septena
