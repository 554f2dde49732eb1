// Automation argument coercion for the control's dispatch interface.
#include "DispatchArgs.h"

#include <new>

#include "VariantText.h"

namespace septena {
namespace {

// The positional argument `position` (0 = the first), or null when there is none.
VARIANT* Positional(DISPPARAMS* params, UINT position)
{
    if (params == nullptr || position >= params->cArgs - params->cNamedArgs)
        return nullptr;
    return &params->rgvarg[params->cArgs - 1 - position];
}

// Coerces `value` to `vt` and hands the coerced value to `take`.
template <typename Take>
HRESULT Coerce(VARIANT& value, VARTYPE vt, Take take)
{
    ArgValue v;
    const HRESULT hr = VariantChangeType(&v.Get(), &value, 0, vt);
    if (SUCCEEDED(hr))
        take(v.Get());
    return hr;
}

}  // namespace

VARIANT* PutValue(DISPPARAMS* params)
{
    if (params == nullptr || params->cArgs == 0 || params->cNamedArgs == 0 ||
        params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
        return nullptr;
    return &params->rgvarg[0];
}

HRESULT ToShort(VARIANT& value, int16_t& out)
{
    return Coerce(value, VT_I2, [&out](const VARIANT& v) { out = v.iVal; });
}

HRESULT ToLong(VARIANT& value, int32_t& out)
{
    return Coerce(value, VT_I4, [&out](const VARIANT& v) { out = v.lVal; });
}

HRESULT ToBool(VARIANT& value, bool& out)
{
    return Coerce(value, VT_BOOL, [&out](const VARIANT& v) { out = v.boolVal != VARIANT_FALSE; });
}

HRESULT ToColor(VARIANT& value, uint32_t& out)
{
    const auto take = [&out](const VARIANT& v) { out = static_cast<uint32_t>(v.lVal); };
    if (SUCCEEDED(Coerce(value, VT_I4, take)))
        return S_OK;
    return Coerce(value, VT_UI4, [&out](const VARIANT& v) { out = v.ulVal; });
}

HRESULT ToText(VARIANT& value, std::string& out)
{
    return Coerce(value, VT_BSTR, [&out](const VARIANT& v) { out = FromBstr(v.bstrVal); });
}

HRESULT ArgShort(DISPPARAMS* params, UINT position, int16_t& out)
{
    VARIANT* arg = Positional(params, position);
    return arg != nullptr ? ToShort(*arg, out) : DISP_E_BADPARAMCOUNT;
}

HRESULT ArgLong(DISPPARAMS* params, UINT position, int32_t& out)
{
    VARIANT* arg = Positional(params, position);
    return arg != nullptr ? ToLong(*arg, out) : DISP_E_BADPARAMCOUNT;
}

HRESULT ArgText(DISPPARAMS* params, UINT position, std::string& out)
{
    VARIANT* arg = Positional(params, position);
    return arg != nullptr ? ToText(*arg, out) : DISP_E_BADPARAMCOUNT;
}

void SetShort(VARIANT* result, int16_t value)
{
    if (result != nullptr) {
        result->vt = VT_I2;
        result->iVal = value;
    }
}

void SetLong(VARIANT* result, int32_t value)
{
    if (result != nullptr) {
        result->vt = VT_I4;
        result->lVal = value;
    }
}

void SetBool(VARIANT* result, bool value)
{
    if (result != nullptr) {
        result->vt = VT_BOOL;
        result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    }
}

HRESULT SetText(VARIANT* result, const std::string& value)
{
    if (result == nullptr)
        return S_OK;
    BSTR text = ToBstr(value);
    if (text == nullptr)
        throw std::bad_alloc();
    result->vt = VT_BSTR;
    result->bstrVal = text;
    return S_OK;
}

}  // namespace septena
