// A property page object made from a dialog resource and a table of fields: the
// IPropertyPage side that every page of the week view control shares.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "PropPageFields.h"

namespace septena_pages {

// A drop-down list and the items it is filled with when the page opens.
struct ListFill {
    int controlId;
    const wchar_t* const* items;
    size_t count;
};

struct PageDescription {
    int dialogId;
    int captionId;
    const PageField* fields;  // in exchange order
    size_t fieldCount;
    const ListFill* lists;
    size_t listCount;
};

class PropertyPageObject final : public IPropertyPage {
public:
    explicit PropertyPageObject(const PageDescription& page);
    PropertyPageObject(const PropertyPageObject&) = delete;
    PropertyPageObject& operator=(const PropertyPageObject&) = delete;

    // Page objects not yet destroyed, in the whole module.
    static LONG Alive();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IPropertyPage
    HRESULT STDMETHODCALLTYPE SetPageSite(IPropertyPageSite* site) override;
    HRESULT STDMETHODCALLTYPE Activate(HWND parent, LPCRECT rect, BOOL modal) override;
    HRESULT STDMETHODCALLTYPE Deactivate() override;
    HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* info) override;
    HRESULT STDMETHODCALLTYPE SetObjects(ULONG count, IUnknown** objects) override;
    HRESULT STDMETHODCALLTYPE Show(UINT command) override;
    HRESULT STDMETHODCALLTYPE Move(LPCRECT rect) override;
    HRESULT STDMETHODCALLTYPE IsPageDirty() override;
    HRESULT STDMETHODCALLTYPE Apply() override;
    HRESULT STDMETHODCALLTYPE Help(LPCOLESTR helpDir) override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* msg) override;

private:
    ~PropertyPageObject();
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(int controlId, int code);
    void FillLists();
    void LoadValues();
    void ReleaseObjects();
    void MarkDirty();
    bool ReadDialog(std::vector<FieldValue>& values);
    HRESULT WriteChanged(const std::vector<FieldValue>& values);
    void Complain(int controlId, const std::wstring& message);
    SIZE MeasureDialog() const;

    LONG refs_ = 1;
    const PageDescription& page_;
    IPropertyPageSite* site_ = nullptr;
    std::vector<IDispatch*> objects_;
    HWND dialog_ = nullptr;
    bool dirty_ = false;
    bool loading_ = false;
    std::vector<bool> changed_;  // per field: touched by the user since the last load
    std::vector<bool> shown_;    // per field: a value was shown (the objects agreed)
};

// The module that holds the page dialogs (the OCX, or a test program).
HINSTANCE PagesModule();

}  // namespace septena_pages
