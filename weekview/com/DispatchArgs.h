// Reading automation arguments: positional arguments and the value of a property
// put, each coerced to the type the member declares.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <string>

namespace septena {

// Holds a coerced argument and frees it.
class ArgValue {
public:
    ArgValue() { VariantInit(&v_); }
    ~ArgValue() { VariantClear(&v_); }
    ArgValue(const ArgValue&) = delete;
    ArgValue& operator=(const ArgValue&) = delete;
    VARIANT& Get() { return v_; }

private:
    VARIANT v_;
};

// The new value of a property put.
VARIANT* PutValue(DISPPARAMS* params);

// Coercions of single values; DISP_E_TYPEMISMATCH or DISP_E_OVERFLOW when the value
// does not fit (a 16-bit property never receives a wrapped value).
HRESULT ToShort(VARIANT& value, int16_t& out);
HRESULT ToLong(VARIANT& value, int32_t& out);
HRESULT ToBool(VARIANT& value, bool& out);
// OLE_COLOR: negative 32-bit values and values up to 0xFFFFFFFF alike.
HRESULT ToColor(VARIANT& value, uint32_t& out);
HRESULT ToText(VARIANT& value, std::string& out);

// The positional argument `position` (0 = the first); DISP_E_BADPARAMCOUNT when absent.
HRESULT ArgShort(DISPPARAMS* params, UINT position, int16_t& out);
HRESULT ArgLong(DISPPARAMS* params, UINT position, int32_t& out);
HRESULT ArgText(DISPPARAMS* params, UINT position, std::string& out);

// Results.
void SetShort(VARIANT* result, int16_t value);
void SetLong(VARIANT* result, int32_t value);
void SetBool(VARIANT* result, bool value);
HRESULT SetText(VARIANT* result, const std::string& value);

}  // namespace septena
