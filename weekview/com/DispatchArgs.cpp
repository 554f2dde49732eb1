// Automation argument coercion for the control's dispatch interface.
#include "DispatchArgs.h"

#include <new>

#include "VariantText.h"

namespace septena {

HRESULT GetArg(DISPPARAMS* params, UINT position, VARTYPE vt, ArgValue& out)
{
    if (params == nullptr)
        return DISP_E_BADPARAMCOUNT;
    const UINT positional = params->cArgs - params->cNamedArgs;
    if (position >= positional)
        return DISP_E_BADPARAMCOUNT;
    VARIANT& source = params->rgvarg[params->cArgs - 1 - position];
    return VariantChangeType(&out.Get(), &source, 0, vt);
}

VARIANT* PutValue(DISPPARAMS* params)
{
    if (params == nullptr || params->cArgs == 0 || params->cNamedArgs == 0 ||
        params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
        return nullptr;
    return &params->rgvarg[0];
}

namespace {

HRESULT Coerce(VARIANT& value, VARTYPE vt, ArgValue& out)
{
    return VariantChangeType(&out.Get(), &value, 0, vt);
}

}  // namespace

HRESULT ToShort(VARIANT& value, int16_t& out)
{
    ArgValue v;
    const HRESULT hr = Coerce(value, VT_I2, v);
    if (SUCCEEDED(hr))
        out = v.Get().iVal;
    return hr;
}

HRESULT ToLong(VARIANT& value, int32_t& out)
{
    ArgValue v;
    const HRESULT hr = Coerce(value, VT_I4, v);
    if (SUCCEEDED(hr))
        out = v.Get().lVal;
    return hr;
}

HRESULT ToBool(VARIANT& value, bool& out)
{
    ArgValue v;
    const HRESULT hr = Coerce(value, VT_BOOL, v);
    if (SUCCEEDED(hr))
        out = v.Get().boolVal != VARIANT_FALSE;
    return hr;
}

HRESULT ToColor(VARIANT& value, uint32_t& out)
{
    ArgValue v;
    if (SUCCEEDED(Coerce(value, VT_I4, v))) {
        out = static_cast<uint32_t>(v.Get().lVal);
        return S_OK;
    }
    ArgValue u;
    const HRESULT hr = Coerce(value, VT_UI4, u);
    if (SUCCEEDED(hr))
        out = u.Get().ulVal;
    return hr;
}

HRESULT ToText(VARIANT& value, std::string& out)
{
    ArgValue v;
    const HRESULT hr = Coerce(value, VT_BSTR, v);
    if (SUCCEEDED(hr))
        out = FromBstr(v.Get().bstrVal);
    return hr;
}

HRESULT ArgShort(DISPPARAMS* params, UINT position, int16_t& out)
{
    ArgValue v;
    const HRESULT hr = GetArg(params, position, VT_I2, v);
    if (SUCCEEDED(hr))
        out = v.Get().iVal;
    return hr;
}

HRESULT ArgLong(DISPPARAMS* params, UINT position, int32_t& out)
{
    ArgValue v;
    const HRESULT hr = GetArg(params, position, VT_I4, v);
    if (SUCCEEDED(hr))
        out = v.Get().lVal;
    return hr;
}

HRESULT ArgText(DISPPARAMS* params, UINT position, std::string& out)
{
    ArgValue v;
    const HRESULT hr = GetArg(params, position, VT_BSTR, v);
    if (SUCCEEDED(hr))
        out = FromBstr(v.Get().bstrVal);
    return hr;
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
