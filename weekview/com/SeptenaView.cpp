// CSeptenaCtrl's picture for the container (IViewObject2): drawing on the container's
// device context, and the view sink that hears of every change of the picture.
#include "SeptenaCtrl.h"
#include "SeptenaIds.h"

namespace septena {

STDMETHODIMP CSeptenaCtrl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC drawDc,
                                LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                                ULONG_PTR)
{
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    if (drawDc == nullptr || bounds == nullptr)
        return E_INVALIDARG;
    const RECT r{bounds->left, bounds->top, bounds->right, bounds->bottom};
    try {
        return view_.Draw(drawDc, r) ? S_OK : E_OUTOFMEMORY;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP CSeptenaCtrl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC,
                                       LOGPALETTE** colors)
{
    if (colors != nullptr)
        *colors = nullptr;
    return S_FALSE;
}

STDMETHODIMP CSeptenaCtrl::Freeze(DWORD, LONG, void*, DWORD*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CSeptenaCtrl::Unfreeze(DWORD)
{
    return E_NOTIMPL;
}

STDMETHODIMP CSeptenaCtrl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink)
{
    ReplaceReference(viewSink_, sink);
    viewAspects_ = aspects;
    viewAdviseFlags_ = flags;
    if (flags & ADVF_PRIMEFIRST)
        PictureChanged();
    return S_OK;
}

// The container that asked for it hears of every change of the content's picture
// (once only, when it asked for that).
void CSeptenaCtrl::PictureChanged()
{
    if (viewSink_ == nullptr || !(viewAspects_ & DVASPECT_CONTENT))
        return;
    IAdviseSink* sink = viewSink_;
    if (viewAdviseFlags_ & ADVF_ONLYONCE)
        viewSink_ = nullptr;
    else
        sink->AddRef();
    sink->OnViewChange(DVASPECT_CONTENT, -1);
    sink->Release();
}

STDMETHODIMP CSeptenaCtrl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink)
{
    if (aspects != nullptr)
        *aspects = viewAspects_;
    if (flags != nullptr)
        *flags = viewAdviseFlags_;
    if (sink != nullptr) {
        *sink = viewSink_;
        if (viewSink_ != nullptr)
            viewSink_->AddRef();
    }
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size)
{
    return GetExtent(aspect, size);
}

}  // namespace septena
