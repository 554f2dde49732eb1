// The test container's site, event sink and property bag.
#include "OcxHost.h"

#include <cstdio>

#include "com/SeptenaIds.h"

namespace ocxtest {
namespace {

std::string Describe(DISPID id)
{
    switch (id) {
        case 1:
            return "TimeSelect";
        case 2:
            return "RightClick";
        case DISPID_CLICK:
            return "Click";
        case DISPID_DBLCLICK:
            return "DblClick";
        case DISPID_MOUSEDOWN:
            return "MouseDown";
        case DISPID_MOUSEMOVE:
            return "MouseMove";
        case DISPID_MOUSEUP:
            return "MouseUp";
        case -608:
            return "Error";
        default:
            return "Event" + std::to_string(id);
    }
}

std::string ArgText(const VARIANT& v)
{
    switch (v.vt) {
        case VT_I2:
            return std::to_string(v.iVal);
        case VT_I4:
            return std::to_string(v.lVal);
        case VT_BSTR: {
            char text[512] = {};
            WideCharToMultiByte(CP_ACP, 0, v.bstrVal, -1, text, sizeof text - 1, nullptr, nullptr);
            return text;
        }
        default:
            return "vt" + std::to_string(v.vt);
    }
}

}  // namespace

STDMETHODIMP TestSite::QueryInterface(REFIID riid, void** out)
{
    if (riid == IID_IUnknown || riid == IID_IOleClientSite)
        *out = static_cast<IOleClientSite*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite)
        *out = static_cast<IOleInPlaceSite*>(this);
    else if (riid == IID_IDispatch)
        *out = static_cast<IDispatch*>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP TestSite::GetMoniker(DWORD, DWORD, IMoniker** m)
{
    *m = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP TestSite::GetContainer(IOleContainer** c)
{
    *c = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP TestSite::GetWindow(HWND* hwnd)
{
    *hwnd = window_;
    return S_OK;
}

STDMETHODIMP TestSite::OnInPlaceActivate()
{
    ++activations;
    return S_OK;
}

STDMETHODIMP TestSite::OnInPlaceDeactivate()
{
    ++deactivations;
    return S_OK;
}

STDMETHODIMP TestSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                        LPRECT pos, LPRECT clip, LPOLEINPLACEFRAMEINFO info)
{
    *frame = nullptr;
    *doc = nullptr;
    *pos = position;
    *clip = position;
    info->fMDIApp = FALSE;
    info->hwndFrame = window_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP TestSite::GetTypeInfoCount(UINT* n)
{
    *n = 0;
    return S_OK;
}

STDMETHODIMP TestSite::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP TestSite::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                              EXCEPINFO*, UINT*)
{
    if (result == nullptr)
        return E_POINTER;
    if (id == DISPID_AMBIENT_USERMODE) {
        result->vt = VT_BOOL;
        result->boolVal = userMode ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    if (id == DISPID_AMBIENT_FONT && ambientFont != nullptr) {
        result->vt = VT_DISPATCH;
        result->pdispVal = ambientFont;
        ambientFont->AddRef();
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP EventSink::QueryInterface(REFIID riid, void** out)
{
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == septena::DIID_DSeptenaEvents) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP EventSink::GetTypeInfoCount(UINT* n)
{
    *n = 0;
    return S_OK;
}

STDMETHODIMP EventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                               EXCEPINFO*, UINT*)
{
    if (id == DISPID_MOUSEMOVE && skipMouseMoves)
        return S_OK;
    std::string line = Describe(id);
    for (UINT i = params->cArgs; i > 0; --i)
        line += " " + ArgText(params->rgvarg[i - 1]);
    lines.push_back(line);
    if (onEvent)
        onEvent(id);
    return S_OK;
}

STDMETHODIMP NotifySink::QueryInterface(REFIID riid, void** out)
{
    if (riid == IID_IUnknown || riid == IID_IPropertyNotifySink) {
        *out = static_cast<IPropertyNotifySink*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP NotifySink::OnChanged(DISPID id)
{
    changed.push_back(id);
    return S_OK;
}

STDMETHODIMP ViewSink::QueryInterface(REFIID riid, void** out)
{
    if (riid == IID_IUnknown || riid == IID_IAdviseSink) {
        *out = static_cast<IAdviseSink*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(void) ViewSink::OnViewChange(DWORD aspect, LONG index)
{
    lines.push_back("ViewChange " + std::to_string(aspect) + " " + std::to_string(index));
}

MemoryBag::~MemoryBag()
{
    for (auto& entry : values)
        VariantClear(&entry.second);
}

STDMETHODIMP MemoryBag::QueryInterface(REFIID riid, void** out)
{
    if (riid == IID_IUnknown || riid == IID_IPropertyBag) {
        *out = static_cast<IPropertyBag*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP MemoryBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*)
{
    auto it = values.find(name);
    if (it == values.end())
        return E_INVALIDARG;
    VariantClear(value);
    return VariantCopy(value, &it->second);
}

STDMETHODIMP MemoryBag::Write(LPCOLESTR name, VARIANT* value)
{
    VARIANT copy;
    VariantInit(&copy);
    HRESULT hr = VariantCopy(&copy, value);
    if (FAILED(hr))
        return hr;
    auto it = values.find(name);
    if (it != values.end()) {
        VariantClear(&it->second);
        it->second = copy;
    } else {
        values[name] = copy;
        order.push_back(name);
    }
    return S_OK;
}

HWND CreateHostWindow()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SeptenaTestContainer";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "Septena test container",
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 700, 560,
                                nullptr, nullptr, wc.hInstance, nullptr);
    Pump();
    return hwnd;
}

HRESULT GetProperty(IDispatch* d, DISPID id, VARIANT& out)
{
    VariantInit(&out);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    return d->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &out, nullptr, nullptr);
}

HRESULT PutProperty(IDispatch* d, DISPID id, VARIANT value)
{
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &named, 1, 1};
    const WORD flags = value.vt == VT_DISPATCH ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
    return d->Invoke(id, IID_NULL, 0, flags, &params, nullptr, nullptr, nullptr);
}

HRESULT CallMethod(IDispatch* d, DISPID id, std::vector<VARIANT> args, VARIANT* result,
                   EXCEPINFO* exception)
{
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (result != nullptr)
        VariantInit(result);
    return d->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, result, exception, nullptr);
}

VARIANT Short(short v)
{
    VARIANT x;
    x.vt = VT_I2;
    x.iVal = v;
    return x;
}

VARIANT Long(long v)
{
    VARIANT x;
    x.vt = VT_I4;
    x.lVal = v;
    return x;
}

VARIANT Text(const wchar_t* v)
{
    VARIANT x;
    x.vt = VT_BSTR;
    x.bstrVal = SysAllocString(v);
    return x;
}

void Pump()
{
    MSG msg;
    for (int i = 0; i < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace ocxtest
