// CSeptenaCtrl's methods and indexed appointment properties.
#include "DispatchArgs.h"
#include "SeptenaCtrl.h"
#include "SeptenaIds.h"

namespace septena {
namespace {

// The time range shared by AddAppointment, AddKeyAppointment and MoveKeyAppointment.
struct Range {
    int16_t startTime = 0;
    int32_t startDate = 0;
    int16_t endTime = 0;
    int32_t endDate = 0;
};

HRESULT ReadRange(DISPPARAMS* params, Range& r)
{
    HRESULT hr = ArgShort(params, 0, r.startTime);
    if (SUCCEEDED(hr))
        hr = ArgLong(params, 1, r.startDate);
    if (SUCCEEDED(hr))
        hr = ArgShort(params, 2, r.endTime);
    if (SUCCEEDED(hr))
        hr = ArgLong(params, 3, r.endDate);
    return hr;
}

}  // namespace

HRESULT CSeptenaCtrl::CallMethod(DISPID dispid, DISPPARAMS* params, VARIANT* result)
{
    weekview::WeekViewControl& control = view_.Control();
    HRESULT hr = S_OK;
    int16_t n = 0;
    int32_t date = 0;
    std::string key;
    Range r;
    switch (dispid) {
        case kFindDay:
        case kFindMonth:
        case kFindYear:
            if (FAILED(hr = ArgLong(params, 0, date)))
                return hr;
            SetShort(result, dispid == kFindDay     ? control.FindDay(date)
                             : dispid == kFindMonth ? control.FindMonth(date)
                                                    : control.FindYear(date));
            return S_OK;
        case kAddAppointment:
            if (FAILED(hr = ReadRange(params, r)))
                return hr;
            SetShort(result,
                     control.AddAppointment(r.startTime, r.startDate, r.endTime, r.endDate));
            return S_OK;
        case kAddKeyAppointment:
        case kMoveKeyAppointment:
            if (FAILED(hr = ReadRange(params, r)) || FAILED(hr = ArgText(params, 4, key)))
                return hr;
            if (dispid == kAddKeyAppointment)
                SetShort(result, control.AddKeyAppointment(r.startTime, r.startDate, r.endTime,
                                                           r.endDate, key));
            else
                SetBool(result, control.MoveKeyAppointment(r.startTime, r.startDate, r.endTime,
                                                           r.endDate, key));
            return S_OK;
        case kDeleteAppointment:
            if (FAILED(hr = ArgShort(params, 0, n)))
                return hr;
            SetBool(result, control.DeleteAppointment(n));
            return S_OK;
        case kDeleteKeyAppointment:
        case kKeyValue:
            if (FAILED(hr = ArgText(params, 0, key)))
                return hr;
            if (dispid == kKeyValue)
                SetShort(result, control.KeyValue(key));
            else
                SetBool(result, control.DeleteKeyAppointment(key));
            return S_OK;
        case kClearAppointments:
            control.ClearAppointments();
            return S_OK;
        case kFirstDay:
            if (FAILED(hr = ArgShort(params, 0, n)))
                return hr;
            control.FirstDay(n);
            return S_OK;
        case kAppointments:
            SetShort(result, control.Appointments());
            return S_OK;
        case DISPID_ABOUTBOX:
            MessageBoxA(view_.Handle(), SEPTENA_MODULE_NAME "\nVersion " SEPTENA_VERSION_TEXT,
                        "About Septena", MB_OK | MB_ICONINFORMATION);
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT CSeptenaCtrl::Indexed(DISPID dispid, WORD flags, DISPPARAMS* params, VARIANT* result)
{
    weekview::WeekViewControl& control = view_.Control();
    int16_t index = 0;
    HRESULT hr = ArgShort(params, 0, index);
    if (FAILED(hr))
        return hr;
    if (flags & DISPATCH_PROPERTYPUT) {
        VARIANT* value = PutValue(params);
        if (value == nullptr)
            return DISP_E_PARAMNOTOPTIONAL;
        int16_t time = 0;
        int32_t date = 0;
        std::string key;
        switch (dispid) {
            case kAppointKeyID:
                if (SUCCEEDED(hr = ToText(*value, key)))
                    control.SetAppointKeyID(index, key);
                return hr;
            case kAppointTimeStart:
            case kAppointTimeEnd:
                if (FAILED(hr = ToShort(*value, time)))
                    return hr;
                if (dispid == kAppointTimeStart)
                    control.SetAppointTimeStart(index, time);
                else
                    control.SetAppointTimeEnd(index, time);
                return S_OK;
            default:
                if (FAILED(hr = ToLong(*value, date)))
                    return hr;
                if (dispid == kAppointDateStart)
                    control.SetAppointDateStart(index, date);
                else
                    control.SetAppointDateEnd(index, date);
                return S_OK;
        }
    }
    if (!(flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)))
        return DISP_E_MEMBERNOTFOUND;
    switch (dispid) {
        case kAppointKeyID:
            return SetText(result, control.GetAppointKeyID(index));
        case kAppointTimeStart:
            SetShort(result, control.GetAppointTimeStart(index));
            return S_OK;
        case kAppointTimeEnd:
            SetShort(result, control.GetAppointTimeEnd(index));
            return S_OK;
        case kAppointDateStart:
            SetLong(result, control.GetAppointDateStart(index));
            return S_OK;
        default:
            SetLong(result, control.GetAppointDateEnd(index));
            return S_OK;
    }
}

}  // namespace septena
