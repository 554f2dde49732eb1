// CSeptenaCtrl's dispatch interface: names and type information from the type
// library, invocation by DISPID, and the properties.
#include <new>

#include "DispatchArgs.h"
#include "SeptenaCtrl.h"
#include "SeptenaIds.h"
#include "PropertyTable.h"
#include "TypeLibrary.h"

namespace septena {
namespace {

using weekview::DisplayProperties;
using weekview::PropertyInfo;
using weekview::PropertyType;
using weekview::WeekViewControl;

bool IsControlError(HRESULT hr)
{
    return FAILED(hr) && HRESULT_FACILITY(hr) == FACILITY_CONTROL;
}

void FillException(EXCEPINFO* exception, HRESULT hr)
{
    if (exception == nullptr)
        return;
    *exception = EXCEPINFO{};
    exception->scode = hr;
    exception->bstrSource = SysAllocString(L"" SEPTENA_PROGID);
    exception->bstrDescription =
        SysAllocString(hr == kCtlOutOfMemory ? L"Out of memory" : L"Property cannot be set");
}

HRESULT FontResult(IFont* font, VARIANT* result)
{
    if (result == nullptr)
        return S_OK;
    IDispatch* disp = nullptr;
    if (font != nullptr)
        font->QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(&disp));
    result->vt = VT_DISPATCH;
    result->pdispVal = disp;
    return S_OK;
}

}  // namespace

STDMETHODIMP CSeptenaCtrl::GetTypeInfoCount(UINT* count)
{
    if (count == nullptr)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::GetTypeInfo(UINT index, LCID, ITypeInfo** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    return SeptenaTypeInfo(DIID_DSeptena, out);
}

STDMETHODIMP CSeptenaCtrl::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                         DISPID* ids)
{
    if (riid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* info = nullptr;
    HRESULT hr = SeptenaTypeInfo(DIID_DSeptena, &info);
    if (FAILED(hr))
        return hr;
    hr = info->GetIDsOfNames(names, count, ids);
    info->Release();
    return hr;
}

STDMETHODIMP CSeptenaCtrl::Invoke(DISPID dispid, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                  VARIANT* result, EXCEPINFO* exception, UINT* argError)
{
    if (riid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    if (argError != nullptr)
        *argError = 0;
    if (result != nullptr)
        VariantInit(result);
    HRESULT hr;
    AddRef();  // an event handler may drop the control while a member runs
    try {
        hr = InvokeMember(dispid, flags, params, result);
    } catch (const std::bad_alloc&) {
        hr = kCtlOutOfMemory;
    } catch (...) {
        hr = E_UNEXPECTED;
    }
    Release();
    if (IsControlError(hr)) {
        if (result != nullptr)
            VariantClear(result);
        FillException(exception, hr);
        return DISP_E_EXCEPTION;
    }
    return hr;
}

HRESULT CSeptenaCtrl::InvokeMember(DISPID dispid, WORD flags, DISPPARAMS* params, VARIANT* result)
{
    if (dispid >= kAppointKeyID && dispid <= kAppointDateEnd)
        return Indexed(dispid, flags, params, result);
    if ((dispid >= kFindDay && dispid <= kAppointments) || dispid == DISPID_ABOUTBOX) {
        if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
            return DISP_E_MEMBERNOTFOUND;
        return CallMethod(dispid, params, result);
    }
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        VARIANT* value = PutValue(params);
        if (value == nullptr)
            return DISP_E_PARAMNOTOPTIONAL;
        const HRESULT hr = PutProperty(dispid, *value);
        if (SUCCEEDED(hr))
            PropertyChanged(dispid);
        return hr;
    }
    if (flags & DISPATCH_PROPERTYGET)
        return GetProperty(dispid, result);
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT CSeptenaCtrl::GetProperty(DISPID dispid, VARIANT* result)
{
    const WeekViewControl& control = view_.Control();
    const DisplayProperties& p = control.Properties();
    const PropertyInfo* info = weekview::FindProperty(dispid);
    if (info == nullptr)
        return DISP_E_MEMBERNOTFOUND;
    switch (info->type) {
        case PropertyType::Short:
            SetShort(result, info->number != nullptr ? p.*(info->number) : control.GetTopTime());
            return S_OK;
        case PropertyType::Enum:
            SetLong(result, p.*(info->number));
            return S_OK;
        case PropertyType::Color:
            SetLong(result, static_cast<int32_t>(p.*(info->color)));
            return S_OK;
        case PropertyType::Bool:
            SetBool(result, p.*(info->flag));
            return S_OK;
        case PropertyType::Text:
            return SetText(result, p.DayHeader);
        case PropertyType::Long:
            SetLong(result, control.GetDate());
            return S_OK;
        case PropertyType::Font:
            return FontResult(dispid == kHourFont ? hourFont_.Get() : font_.Get(), result);
        case PropertyType::Handle:
            SetLong(result, static_cast<int32_t>(reinterpret_cast<INT_PTR>(view_.Handle())));
            return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT CSeptenaCtrl::PutProperty(DISPID dispid, VARIANT& value)
{
    WeekViewControl& control = view_.Control();
    const PropertyInfo* info = weekview::FindProperty(dispid);
    if (info == nullptr)
        return DISP_E_MEMBERNOTFOUND;
    HRESULT hr = S_OK;
    switch (info->type) {
        case PropertyType::Short: {
            int16_t v = 0;
            if (SUCCEEDED(hr = ToShort(value, v)))
                (control.*(info->setShort))(v);
            return hr;
        }
        case PropertyType::Enum:
        case PropertyType::Long: {
            int32_t v = 0;
            if (SUCCEEDED(hr = ToLong(value, v)))
                (control.*(info->setLong))(v);
            return hr;
        }
        case PropertyType::Color: {
            uint32_t v = 0;
            if (SUCCEEDED(hr = ToColor(value, v)))
                control.SetColor(info->color, v);
            return hr;
        }
        case PropertyType::Bool: {
            bool v = false;
            if (SUCCEEDED(hr = ToBool(value, v))) {
                (control.*(info->setBool))(v);
                if (dispid == kEnabled && view_.Handle() != nullptr)
                    EnableWindow(view_.Handle(), v);
            }
            return hr;
        }
        case PropertyType::Text: {
            std::string text;
            if (SUCCEEDED(hr = ToText(value, text)))
                control.SetDayHeader(text);
            return hr;
        }
        case PropertyType::Font: {
            VARIANT* v = (value.vt == (VT_BYREF | VT_VARIANT)) ? value.pvarVal : &value;
            const bool object = v->vt == VT_DISPATCH || v->vt == VT_UNKNOWN;
            if (!object || v->punkVal == nullptr)
                return DISP_E_TYPEMISMATCH;
            IFont* font = nullptr;
            if (FAILED(v->punkVal->QueryInterface(IID_IFont, reinterpret_cast<void**>(&font))))
                return DISP_E_TYPEMISMATCH;
            hr = SetFontHolder(dispid == kHourFont ? hourFont_ : font_, font);
            font->Release();
            return hr;
        }
        case PropertyType::Handle:
            return kCtlSetNotSupported;
    }
    return DISP_E_MEMBERNOTFOUND;
}

}  // namespace septena
