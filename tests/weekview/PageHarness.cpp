// Helpers for driving the property pages; see PageHarness.h.
#include "PageHarness.h"

#include "ChildProcess.h"
#include "WindowSearch.h"
#include "com/SeptenaIds.h"

namespace page_tests {
namespace {

template <typename Function>
Function Export(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

VARIANT Get(IDispatch* object, DISPID id)
{
    DISPPARAMS none{};
    VARIANT value;
    VariantInit(&value);
    object->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr);
    return value;
}

}  // namespace

std::vector<std::wstring> MessageBoxWatcher::texts;

SeptenaModule::SeptenaModule()
    : module_(LoadLibraryA((testsupport::BinDir() + "SEPTENA.OCX").c_str()))
{
}

SeptenaModule::~SeptenaModule()
{
    if (module_ != nullptr)
        FreeLibrary(module_);
}

HRESULT SeptenaModule::ClassObject(REFCLSID clsid, IClassFactory** factory)
{
    auto get = Export<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(module_, "DllGetClassObject");
    return get == nullptr ? E_FAIL
                          : get(clsid, IID_IClassFactory, reinterpret_cast<void**>(factory));
}

IDispatch* SeptenaModule::NewControl()
{
    IClassFactory* factory = nullptr;
    IDispatch* control = nullptr;
    if (FAILED(ClassObject(septena::CLSID_Septena, &factory)))
        return nullptr;
    factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&control));
    factory->Release();
    IPersistStreamInit* persist = nullptr;
    if (control != nullptr && SUCCEEDED(control->QueryInterface(
                                  IID_IPersistStreamInit, reinterpret_cast<void**>(&persist)))) {
        persist->InitNew();
        persist->Release();
    }
    return control;
}

HRESULT SeptenaModule::CanUnloadNow()
{
    auto canUnload = Export<HRESULT(WINAPI*)()>(module_, "DllCanUnloadNow");
    return canUnload == nullptr ? E_FAIL : canUnload();
}

long Number(IDispatch* object, DISPID id)
{
    VARIANT value = Get(object, id);
    const bool ok = SUCCEEDED(VariantChangeType(&value, &value, 0, VT_I4));
    const long number = ok ? value.lVal : -99999;
    VariantClear(&value);
    return number;
}

std::wstring Text(IDispatch* object, DISPID id)
{
    VARIANT value = Get(object, id);
    std::wstring text = value.vt == VT_BSTR && value.bstrVal ? value.bstrVal : L"<none>";
    VariantClear(&value);
    return text;
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
    // Every visible message box of the thread is noted and answered.
    testsupport::FindThreadWindow([](HWND window) {
        wchar_t cls[32] = L"";
        GetClassNameW(window, cls, 32);
        HWND text = GetDlgItem(window, 0xFFFF);  // a message box's text
        if (wcscmp(cls, L"#32770") == 0 && text != nullptr && IsWindowVisible(window)) {
            texts.push_back(ItemText(window, 0xFFFF));
            PostMessageW(window, WM_COMMAND, IDOK, 0);
        }
        return false;
    });
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

}  // namespace page_tests
