// The IPropertyPage side shared by the week view control's pages: the dialog's life
// in the property frame, change tracking, and the load/validate/apply exchange.
#include "PropPageBase.h"

#include <new>

#include "com/SeptenaNames.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace septena_pages {
namespace {

LONG g_alive = 0;

constexpr const wchar_t* kMessageCaption = L"" SEPTENA_CONTROL_NAME;

bool IsChangeNotification(FieldKind kind, int code)
{
    switch (kind) {
        case FieldKind::Integer:
        case FieldKind::Text:
            return code == EN_CHANGE;
        case FieldKind::ListIndex:
            return code == CBN_SELCHANGE || code == CBN_EDITCHANGE;
        case FieldKind::Check:
            return code == BN_CLICKED;
    }
    return false;
}

INT_PTR CALLBACK MeasureProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

}  // namespace

HINSTANCE PagesModule()
{
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

PropertyPageObject::PropertyPageObject(const PageDescription& page)
    : page_(page), changed_(page.fieldCount), shown_(page.fieldCount)
{
    InterlockedIncrement(&g_alive);
}

PropertyPageObject::~PropertyPageObject()
{
    if (dialog_ != nullptr)
        DestroyWindow(dialog_);
    ReleaseObjects();
    if (site_ != nullptr)
        site_->Release();
    InterlockedDecrement(&g_alive);
}

LONG PropertyPageObject::Alive()
{
    return g_alive;
}

HRESULT STDMETHODCALLTYPE PropertyPageObject::QueryInterface(REFIID riid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPropertyPage)) {
        *out = static_cast<IPropertyPage*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE PropertyPageObject::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
}

ULONG STDMETHODCALLTYPE PropertyPageObject::Release()
{
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE PropertyPageObject::SetPageSite(IPropertyPageSite* site)
{
    if (site != nullptr)
        site->AddRef();
    if (site_ != nullptr)
        site_->Release();
    site_ = site;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PropertyPageObject::Activate(HWND parent, LPCRECT rect, BOOL)
{
    if (dialog_ != nullptr)
        return E_UNEXPECTED;
    if (rect == nullptr)
        return E_POINTER;
    HWND dialog = CreateDialogParamW(PagesModule(), MAKEINTRESOURCEW(page_.dialogId), parent,
                                     DialogProc, reinterpret_cast<LPARAM>(this));
    if (dialog == nullptr)
        return E_OUTOFMEMORY;
    dialog_ = dialog;
    MoveWindow(dialog_, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
               FALSE);
    FillLists();
    LoadValues();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PropertyPageObject::Deactivate()
{
    if (dialog_ == nullptr)
        return S_OK;
    HWND dialog = dialog_;
    dialog_ = nullptr;
    DestroyWindow(dialog);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PropertyPageObject::GetPageInfo(PROPPAGEINFO* info)
{
    if (info == nullptr)
        return E_POINTER;
    wchar_t caption[64] = L"";
    LoadStringW(PagesModule(), static_cast<UINT>(page_.captionId), caption, 64);
    const size_t bytes = (wcslen(caption) + 1) * sizeof(wchar_t);
    auto* title = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (title == nullptr)
        return E_OUTOFMEMORY;
    memcpy(title, caption, bytes);
    info->cb = sizeof *info;
    info->pszTitle = title;
    info->size = MeasureDialog();
    info->pszDocString = nullptr;
    info->pszHelpFile = nullptr;
    info->dwHelpContext = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PropertyPageObject::SetObjects(ULONG count, IUnknown** objects)
{
    if (count > 0 && objects == nullptr)
        return E_POINTER;
    ReleaseObjects();
    try {
        for (ULONG i = 0; i < count; ++i) {
            IDispatch* dispatch = nullptr;
            if (objects[i] == nullptr || FAILED(objects[i]->QueryInterface(
                                             IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
                ReleaseObjects();
                return E_NOINTERFACE;
            }
            objects_.push_back(dispatch);
        }
    } catch (const std::bad_alloc&) {
        ReleaseObjects();
        return E_OUTOFMEMORY;
    }
    if (dialog_ != nullptr)
        LoadValues();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PropertyPageObject::Show(UINT command)
{
    if (dialog_ == nullptr)
        return E_UNEXPECTED;
    ShowWindow(dialog_, static_cast<int>(command));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PropertyPageObject::Move(LPCRECT rect)
{
    if (rect == nullptr)
        return E_POINTER;
    if (dialog_ == nullptr)
        return E_UNEXPECTED;
    MoveWindow(dialog_, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
               TRUE);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PropertyPageObject::IsPageDirty()
{
    return dirty_ ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE PropertyPageObject::Apply()
{
    if (dialog_ == nullptr || !dirty_)
        return S_OK;
    try {
        // Every box is read and tested before anything is written, so a refused value
        // leaves all the objects as they were.
        std::vector<FieldValue> values(page_.fieldCount);
        if (!ReadDialog(values))
            return E_FAIL;
        const HRESULT hr = WriteChanged(values);
        if (FAILED(hr))
            return hr;
        dirty_ = false;
        LoadValues();  // shows what the objects made of the values (clamps, remainders)
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT STDMETHODCALLTYPE PropertyPageObject::Help(LPCOLESTR)
{
    return E_NOTIMPL;  // the pages carry no help file
}

HRESULT STDMETHODCALLTYPE PropertyPageObject::TranslateAccelerator(MSG* msg)
{
    if (msg == nullptr)
        return E_POINTER;
    if (dialog_ != nullptr && IsDialogMessageW(dialog_, msg))
        return S_OK;
    return S_FALSE;
}

INT_PTR CALLBACK PropertyPageObject::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                                LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        return FALSE;  // the frame decides where the focus goes
    }
    auto* self = reinterpret_cast<PropertyPageObject*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (self != nullptr && message == WM_COMMAND)
        self->OnCommand(LOWORD(wParam), HIWORD(wParam));
    return FALSE;
}

void PropertyPageObject::OnCommand(int controlId, int code)
{
    if (loading_)
        return;
    for (size_t i = 0; i < page_.fieldCount; ++i) {
        const PageField& field = page_.fields[i];
        if (field.controlId == controlId && IsChangeNotification(field.kind, code)) {
            changed_[i] = true;
            MarkDirty();
        }
    }
}

void PropertyPageObject::FillLists()
{
    for (size_t i = 0; i < page_.listCount; ++i) {
        HWND list = GetDlgItem(dialog_, page_.lists[i].controlId);
        SendMessageW(list, CB_RESETCONTENT, 0, 0);
        for (size_t item = 0; item < page_.lists[i].count; ++item)
            SendMessageW(list, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(page_.lists[i].items[item]));
    }
}

void PropertyPageObject::LoadValues()
{
    loading_ = true;
    for (size_t i = 0; i < page_.fieldCount; ++i) {
        const FieldValue value = ReadFromObjects(objects_, page_.fields[i]);
        ShowInDialog(dialog_, page_.fields[i], value);
        shown_[i] = value.known;
        changed_[i] = false;
    }
    loading_ = false;
}

void PropertyPageObject::ReleaseObjects()
{
    for (IDispatch* object : objects_)
        object->Release();
    objects_.clear();
}

void PropertyPageObject::MarkDirty()
{
    dirty_ = true;
    if (site_ != nullptr)
        site_->OnStatusChange(PROPPAGESTATUS_DIRTY | PROPPAGESTATUS_VALIDATE);
}

bool PropertyPageObject::ReadDialog(std::vector<FieldValue>& values)
{
    for (size_t i = 0; i < page_.fieldCount; ++i) {
        // A box left blank because the objects disagree stays out of the apply.
        if (!shown_[i] && !changed_[i])
            continue;
        std::wstring message;
        if (!ReadFromDialog(dialog_, page_.fields[i], values[i], message)) {
            Complain(page_.fields[i].controlId, message);
            return false;
        }
    }
    return true;
}

HRESULT PropertyPageObject::WriteChanged(const std::vector<FieldValue>& values)
{
    for (size_t i = 0; i < page_.fieldCount; ++i) {
        if (!changed_[i] || !values[i].known)
            continue;
        const HRESULT hr = WriteToObjects(objects_, page_.fields[i], values[i]);
        if (FAILED(hr)) {
            Complain(page_.fields[i].controlId,
                     std::wstring(L"Cannot set the property ") + page_.fields[i].property + L".");
            return hr;
        }
        changed_[i] = false;
    }
    return S_OK;
}

void PropertyPageObject::Complain(int controlId, const std::wstring& message)
{
    MessageBoxW(GetParent(dialog_), message.c_str(), kMessageCaption, MB_OK | MB_ICONEXCLAMATION);
    HWND control = GetDlgItem(dialog_, controlId);
    SetFocus(control);
    SendMessageW(control, EM_SETSEL, 0, -1);
}

SIZE PropertyPageObject::MeasureDialog() const
{
    SIZE size{0, 0};
    HWND probe = CreateDialogParamW(PagesModule(), MAKEINTRESOURCEW(page_.dialogId),
                                    GetDesktopWindow(), MeasureProc, 0);
    if (probe != nullptr) {
        RECT bounds{};
        GetWindowRect(probe, &bounds);
        size.cx = bounds.right - bounds.left;
        size.cy = bounds.bottom - bounds.top;
        DestroyWindow(probe);
    }
    return size;
}

}  // namespace septena_pages
