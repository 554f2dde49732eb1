// CSeptenaCtrl's dispatch interface: names and type information from the type
// library, invocation by DISPID, and the properties.
#include <new>

#include "DispatchArgs.h"
#include "SeptenaCtrl.h"
#include "SeptenaIds.h"
#include "TypeLibrary.h"

namespace septena {
namespace {

using weekview::DisplayProperties;
using weekview::OleColor;
using weekview::WeekViewControl;

struct ShortProperty {
    DISPID id;
    int16_t DisplayProperties::*member;
    void (WeekViewControl::*set)(int16_t);
};
const ShortProperty kShorts[] = {
    {kTimeStart, &DisplayProperties::TimeStart, &WeekViewControl::SetTimeStart},
    {kTimeEnd, &DisplayProperties::TimeEnd, &WeekViewControl::SetTimeEnd},
    {kTimeTextWidth, &DisplayProperties::TimeTextWidth, &WeekViewControl::SetTimeTextWidth},
    {kHeightOffset, &DisplayProperties::HeightOffset, &WeekViewControl::SetHeightOffset},
    {kDayColumns, &DisplayProperties::DayColumns, &WeekViewControl::SetDayColumns},
    {kHeaderHeight, &DisplayProperties::HeaderHeight, &WeekViewControl::SetHeaderHeight},
    {kPrimeTimeStart, &DisplayProperties::PrimeTimeStart, &WeekViewControl::SetPrimeTimeStart},
    {kPrimeTimeEnd, &DisplayProperties::PrimeTimeEnd, &WeekViewControl::SetPrimeTimeEnd},
    {kDay, &DisplayProperties::Day, &WeekViewControl::SetDay},
    {kMonth, &DisplayProperties::Month, &WeekViewControl::SetMonth},
    {kYear, &DisplayProperties::Year, &WeekViewControl::SetYear},
    {kHeaderYOffset, &DisplayProperties::HeaderYOffset, &WeekViewControl::SetHeaderYOffset},
};

// Enumerations are 32-bit at this interface; the core refuses what is out of range.
struct EnumProperty {
    DISPID id;
    int16_t DisplayProperties::*member;
    void (WeekViewControl::*set)(int32_t);
};
const EnumProperty kEnums[] = {
    {kBorderType, &DisplayProperties::BorderType, &WeekViewControl::SetBorderType},
    {kTimeUnits, &DisplayProperties::TimeUnits, &WeekViewControl::SetTimeUnits},
    {kTimeBorder, &DisplayProperties::TimeBorder, &WeekViewControl::SetTimeBorder},
    {kHeaderBorder, &DisplayProperties::HeaderBorder, &WeekViewControl::SetHeaderBorder},
    {kTimeType, &DisplayProperties::TimeType, &WeekViewControl::SetTimeType},
};

struct ColorProperty {
    DISPID id;
    OleColor DisplayProperties::*member;
};
const ColorProperty kColors[] = {
    {kBorderColor, &DisplayProperties::BorderColor},
    {kTimeBackColor, &DisplayProperties::TimeBackColor},
    {kPrimeTimeColor, &DisplayProperties::PrimeTimeColor},
    {kNonPrimeColor, &DisplayProperties::NonPrimeColor},
    {kHeaderBackColor, &DisplayProperties::HeaderBackColor},
    {kHeaderForeColor, &DisplayProperties::HeaderForeColor},
    {kLineColor, &DisplayProperties::LineColor},
    {kSelectedColor, &DisplayProperties::SelectedColor},
    {kAppBarColor, &DisplayProperties::AppBarColor},
    {DISPID_BACKCOLOR, &DisplayProperties::BackColor},
    {DISPID_FORECOLOR, &DisplayProperties::ForeColor},
};

struct BoolProperty {
    DISPID id;
    bool DisplayProperties::*member;
    void (WeekViewControl::*set)(bool);
};
const BoolProperty kBools[] = {
    {kMilitaryTime, &DisplayProperties::MilitaryTime, &WeekViewControl::SetMilitaryTime},
    {kIncludeAmPm, &DisplayProperties::IncludeAmPm, &WeekViewControl::SetIncludeAmPm},
    {kWeekendPrime, &DisplayProperties::WeekendPrime, &WeekViewControl::SetWeekendPrime},
    {DISPID_ENABLED, &DisplayProperties::Enabled, &WeekViewControl::SetEnabled},
};

template <typename T, size_t N>
const T* Find(const T (&table)[N], DISPID id)
{
    for (const T& entry : table) {
        if (entry.id == id)
            return &entry;
    }
    return nullptr;
}

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
    exception->bstrSource = SysAllocString(L"SEPTENA.SeptenaCtrl.1");
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
    if (const ShortProperty* s = Find(kShorts, dispid)) {
        SetShort(result, p.*(s->member));
        return S_OK;
    }
    if (const EnumProperty* e = Find(kEnums, dispid)) {
        SetLong(result, p.*(e->member));
        return S_OK;
    }
    if (const ColorProperty* c = Find(kColors, dispid)) {
        SetLong(result, static_cast<int32_t>(p.*(c->member)));
        return S_OK;
    }
    if (const BoolProperty* b = Find(kBools, dispid)) {
        SetBool(result, p.*(b->member));
        return S_OK;
    }
    switch (dispid) {
        case kDayHeader:
            return SetText(result, p.DayHeader);
        case kTopTime:
            SetShort(result, control.GetTopTime());
            return S_OK;
        case kDate:
            SetLong(result, control.GetDate());
            return S_OK;
        case kHourFont:
            return FontResult(hourFont_.Get(), result);
        case DISPID_FONT:
            return FontResult(font_.Get(), result);
        case DISPID_HWND:
            SetLong(result, static_cast<int32_t>(reinterpret_cast<INT_PTR>(view_.Handle())));
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT CSeptenaCtrl::PutProperty(DISPID dispid, VARIANT& value)
{
    WeekViewControl& control = view_.Control();
    HRESULT hr = S_OK;
    if (const ShortProperty* s = Find(kShorts, dispid)) {
        int16_t v = 0;
        if (SUCCEEDED(hr = ToShort(value, v)))
            (control.*(s->set))(v);
        return hr;
    }
    if (const EnumProperty* e = Find(kEnums, dispid)) {
        int32_t v = 0;
        if (SUCCEEDED(hr = ToLong(value, v)))
            (control.*(e->set))(v);
        return hr;
    }
    if (const ColorProperty* c = Find(kColors, dispid)) {
        uint32_t v = 0;
        if (SUCCEEDED(hr = ToColor(value, v)))
            control.SetColor(c->member, v);
        return hr;
    }
    if (const BoolProperty* b = Find(kBools, dispid)) {
        bool v = false;
        if (SUCCEEDED(hr = ToBool(value, v))) {
            (control.*(b->set))(v);
            if (dispid == DISPID_ENABLED && view_.Handle() != nullptr)
                EnableWindow(view_.Handle(), v);
        }
        return hr;
    }
    switch (dispid) {
        case kDayHeader: {
            std::string text;
            if (SUCCEEDED(hr = ToText(value, text)))
                control.SetDayHeader(text);
            return hr;
        }
        case kTopTime: {
            int16_t v = 0;
            if (SUCCEEDED(hr = ToShort(value, v)))
                control.SetTopTime(v);
            return hr;
        }
        case kDate: {
            int32_t v = 0;
            if (SUCCEEDED(hr = ToLong(value, v)))
                control.SetDate(v);
            return hr;
        }
        case kHourFont:
        case DISPID_FONT: {
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
        case DISPID_HWND:
            return kCtlSetNotSupported;
        default:
            return DISP_E_MEMBERNOTFOUND;
    }
}

}  // namespace septena
