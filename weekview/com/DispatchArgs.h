// Reading automation arguments: positional arguments and the value of a property
// put, each coerced to the type the member declares.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <oleauto.h>

#include <cstddef>
#include <cstdint>
#include <string>

// The records of automation, pinned to their 32-bit layout: a container built by
// another compiler reads them byte for byte.
#ifndef _WIN64
static_assert(sizeof(VARIANT) == 16, "VARIANT");
static_assert(offsetof(VARIANT, lVal) == 8, "VARIANT value");
static_assert(sizeof(DISPPARAMS) == 16, "DISPPARAMS");
static_assert(sizeof(EXCEPINFO) == 32, "EXCEPINFO");
static_assert(offsetof(EXCEPINFO, scode) == 28, "EXCEPINFO scode");
static_assert(sizeof(VARIANT_BOOL) == 2 && sizeof(OLE_COLOR) == 4, "automation scalars");
#endif

namespace septena {

// Holds a VARIANT (a coerced argument, a property's answer) and frees it.
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
