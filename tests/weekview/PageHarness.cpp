// Helpers for driving the property pages; see PageHarness.h.
#include "PageHarness.h"

namespace page_tests {

std::vector<std::wstring> MessageBoxWatcher::texts;

FakeControl::FakeControl() = default;

FakeControl::~FakeControl()
{
    for (auto& entry : values_)
        VariantClear(&entry.second);
}

void FakeControl::Set(DISPID id, long value)
{
    VARIANT& v = values_[id];
    VariantClear(&v);
    v.vt = VT_I4;
    v.lVal = value;
}

void FakeControl::SetText(DISPID id, const wchar_t* text)
{
    VARIANT& v = values_[id];
    VariantClear(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(text);
}

long FakeControl::Number(DISPID id)
{
    VARIANT copy;
    VariantInit(&copy);
    VariantChangeType(&copy, &values_[id], 0, VT_I4);
    return copy.lVal;
}

std::wstring FakeControl::Text(DISPID id)
{
    const VARIANT& v = values_[id];
    return v.vt == VT_BSTR && v.bstrVal ? v.bstrVal : L"";
}

HRESULT STDMETHODCALLTYPE FakeControl::QueryInterface(REFIID riid, void** out)
{
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE FakeControl::GetTypeInfoCount(UINT* count)
{
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeControl::Invoke(DISPID id, REFIID, LCID, WORD flags,
                                              DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                              UINT*)
{
    auto found = values_.find(id);
    if (found == values_.end())
        return DISP_E_MEMBERNOTFOUND;
    if (flags & DISPATCH_PROPERTYGET)
        return VariantCopy(result, &found->second);
    if (params->cArgs != 1 || params->cNamedArgs != 1 ||
        params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
        return DISP_E_BADPARAMCOUNT;
    VARIANT& value = params->rgvarg[0];
    std::string shown = std::to_string(id) + "=";
    if (value.vt == VT_BSTR) {
        const int n = WideCharToMultiByte(CP_UTF8, 0, value.bstrVal, -1, nullptr, 0, nullptr, 0);
        std::string text(n > 0 ? n - 1 : 0, '\0');
        WideCharToMultiByte(CP_UTF8, 0, value.bstrVal, -1, text.data(), n, nullptr, nullptr);
        shown += "\"" + text + "\"";
    } else {
        VARIANT number;
        VariantInit(&number);
        VariantChangeType(&number, &value, 0, VT_I4);
        shown += std::to_string(number.lVal) + (value.vt == VT_I2     ? ":I2"
                                                : value.vt == VT_BOOL ? ":BOOL"
                                                                      : ":I4");
    }
    puts.push_back(shown);
    return VariantCopy(&found->second, &value);
}

void SetControlDefaults(FakeControl& control)
{
    const std::pair<DISPID, long> numbers[] = {
        {1, 0},  {2, 3},  {3, 0},     {4, 0},   {5, 0},    {7, -1},    {9, 75},
        {10, 2}, {11, 0}, {12, 7},    {13, 30}, {16, 480}, {17, 1020}, {20, 2},
        {22, 1}, {23, 1}, {24, 1996}, {26, 0},  {29, 0},   {32, 0},    {DISPID_ENABLED, -1}};
    for (const auto& [id, value] : numbers)
        control.Set(id, value);
    control.SetText(21, L"S,M,T,W,T,F,S");
}

MessageBoxWatcher::MessageBoxWatcher() : timer_(SetTimer(nullptr, 0, 20, Tick))
{
    texts.clear();
}

MessageBoxWatcher::~MessageBoxWatcher()
{
    KillTimer(nullptr, timer_);
}

void CALLBACK MessageBoxWatcher::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            wchar_t cls[32] = L"";
            GetClassNameW(window, cls, 32);
            HWND text = GetDlgItem(window, 0xFFFF);  // a message box's text
            if (wcscmp(cls, L"#32770") == 0 && text != nullptr && IsWindowVisible(window)) {
                texts.push_back(ItemText(window, 0xFFFF));
                PostMessageW(window, WM_COMMAND, IDOK, 0);
            }
            return TRUE;
        },
        0);
}

std::wstring ItemText(HWND dialog, int id)
{
    wchar_t text[256] = L"";
    GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

void TypeInto(HWND dialog, int id, const wchar_t* text)
{
    HWND edit = GetDlgItem(dialog, id);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
}

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace page_tests
