// Moving property values between the edited objects and the page's dialog controls.
#include "PropPageFields.h"

#include <cwctype>

#include "com/DispatchArgs.h"

namespace septena_pages {
namespace {

constexpr long kShortMin = -32768;
constexpr long kShortMax = 32767;

using septena::ArgValue;

HRESULT GetProperty(IDispatch* object, DISPID dispid, VARIANT* result)
{
    DISPPARAMS none{};
    return object->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                          result, nullptr, nullptr);
}

HRESULT PutProperty(IDispatch* object, DISPID dispid, VARIANT& value)
{
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &named, 1, 1};
    return object->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params,
                          nullptr, nullptr, nullptr);
}

// Converts a property's answer into the field's kind of value.
bool ToFieldValue(const PageField& field, VARIANT& answer, FieldValue& value)
{
    const VARTYPE wanted = field.kind == FieldKind::Text    ? VT_BSTR
                           : field.kind == FieldKind::Check ? VT_BOOL
                                                            : VT_I4;
    if (FAILED(VariantChangeType(&answer, &answer, 0, wanted)))
        return false;
    value.known = true;
    if (wanted == VT_BSTR)
        value.text.assign(answer.bstrVal ? answer.bstrVal : L"", SysStringLen(answer.bstrVal));
    else if (wanted == VT_BOOL)
        value.number = answer.boolVal != VARIANT_FALSE ? 1 : 0;
    else
        value.number = answer.lVal;
    return true;
}

bool SameValue(const FieldValue& a, const FieldValue& b)
{
    return a.number == b.number && a.text == b.text;
}

std::wstring ControlText(HWND control)
{
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(control, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::wstring RangeMessage(const PageField& field)
{
    return L"Please enter an integer between " + std::to_wstring(field.low) + L" and " +
           std::to_wstring(field.high) + L".";
}

}  // namespace

bool ParseShort(const std::wstring& text, long& value)
{
    size_t at = 0;
    while (at < text.size() && std::iswspace(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == L'-' || text[at] == L'+'))
        negative = text[at++] == L'-';
    const size_t digitsStart = at;
    long magnitude = 0;
    while (at < text.size() && text[at] >= L'0' && text[at] <= L'9') {
        magnitude = magnitude * 10 + (text[at++] - L'0');
        if (magnitude > -kShortMin)
            return false;
    }
    if (at == digitsStart)
        return false;
    while (at < text.size() && std::iswspace(text[at]))
        ++at;
    if (at != text.size())
        return false;
    value = negative ? -magnitude : magnitude;
    return value >= kShortMin && value <= kShortMax;
}

FieldValue ReadFromObjects(const std::vector<IDispatch*>& objects, const PageField& field)
{
    FieldValue first;
    for (size_t i = 0; i < objects.size(); ++i) {
        ArgValue answer;
        FieldValue value;
        if (FAILED(GetProperty(objects[i], field.dispid, &answer.Get())) ||
            !ToFieldValue(field, answer.Get(), value))
            return FieldValue{};
        if (i == 0)
            first = value;
        else if (!SameValue(first, value))
            return FieldValue{};
    }
    return first;
}

HRESULT WriteToObjects(const std::vector<IDispatch*>& objects, const PageField& field,
                       const FieldValue& value)
{
    for (IDispatch* object : objects) {
        ArgValue argument;
        VARIANT* v = &argument.Get();
        switch (field.kind) {
            case FieldKind::Integer:
                v->vt = VT_I2;
                v->iVal = static_cast<SHORT>(value.number);
                break;
            case FieldKind::ListIndex:
                v->vt = VT_I4;
                v->lVal = value.number;
                break;
            case FieldKind::Check:
                v->vt = VT_BOOL;
                v->boolVal = value.number != 0 ? VARIANT_TRUE : VARIANT_FALSE;
                break;
            case FieldKind::Text:
                v->vt = VT_BSTR;
                v->bstrVal =
                    SysAllocStringLen(value.text.data(), static_cast<UINT>(value.text.size()));
                if (v->bstrVal == nullptr)
                    return E_OUTOFMEMORY;
                break;
        }
        const HRESULT hr = PutProperty(object, field.dispid, *v);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

void ShowInDialog(HWND dialog, const PageField& field, const FieldValue& value)
{
    HWND control = GetDlgItem(dialog, field.controlId);
    switch (field.kind) {
        case FieldKind::Integer:
            SetWindowTextW(control, value.known ? std::to_wstring(value.number).c_str() : L"");
            break;
        case FieldKind::Text:
            SetWindowTextW(control, value.known ? value.text.c_str() : L"");
            break;
        case FieldKind::ListIndex:
            // An index the list does not hold selects nothing, as CB_SETCURSEL does.
            SendMessageW(control, CB_SETCURSEL, value.known ? value.number : -1, 0);
            break;
        case FieldKind::Check:
            SendMessageW(control, BM_SETCHECK,
                         value.known && value.number ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
    }
}

bool ReadFromDialog(HWND dialog, const PageField& field, FieldValue& value, std::wstring& message)
{
    HWND control = GetDlgItem(dialog, field.controlId);
    value = FieldValue{};
    switch (field.kind) {
        case FieldKind::Integer:
            if (!ParseShort(ControlText(control), value.number)) {
                message = field.ranged ? RangeMessage(field) : L"Please enter an integer.";
                return false;
            }
            if (field.ranged && (value.number < field.low || value.number > field.high)) {
                message = RangeMessage(field);
                return false;
            }
            value.known = true;
            return true;
        case FieldKind::Text:
            value.text = ControlText(control);
            value.known = true;
            return true;
        case FieldKind::ListIndex: {
            const LRESULT selected = SendMessageW(control, CB_GETCURSEL, 0, 0);
            value.known = selected != CB_ERR;
            value.number = static_cast<long>(selected);
            return true;
        }
        case FieldKind::Check:
            value.known = true;
            value.number = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
            return true;
    }
    return true;
}

}  // namespace septena_pages
