// The control's font holders and their change notification.
#include "FontHolder.h"

#include <new>

namespace septena {

// The font object's notification sink. It has a count of its own and a plain pointer
// back to its holder, cut when the holder lets go, so the font never keeps the
// control alive.
class FontHolder::Watcher final : public IPropertyNotifySink {
public:
    Watcher(FontChangeListener* listener, DISPID dispid) : listener_(listener), dispid_(dispid) {}
    void Detach() { listener_ = nullptr; }
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override
    {
        if (out == nullptr)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IPropertyNotifySink) {
            *out = static_cast<IPropertyNotifySink*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG refs = InterlockedDecrement(&refs_);
        if (refs == 0)
            delete this;
        return refs;
    }
    STDMETHODIMP OnChanged(DISPID) override
    {
        if (listener_ != nullptr)
            listener_->FontChanged(dispid_);
        return S_OK;
    }
    STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }

private:
    LONG refs_ = 1;
    FontChangeListener* listener_;
    DISPID dispid_;
};

FontHolder::~FontHolder()
{
    Reset(nullptr);
}

void FontHolder::Disconnect()
{
    if (point_ != nullptr) {
        point_->Unadvise(cookie_);
        point_->Release();
        point_ = nullptr;
    }
    if (watcher_ != nullptr) {
        watcher_->Detach();
        watcher_->Release();
        watcher_ = nullptr;
    }
}

void FontHolder::Reset(IFont* font)
{
    Disconnect();
    if (font_ != nullptr)
        font_->Release();
    font_ = font;
    if (font_ == nullptr)
        return;
    IConnectionPointContainer* container = nullptr;
    if (FAILED(font_->QueryInterface(IID_IConnectionPointContainer,
                                     reinterpret_cast<void**>(&container))))
        return;
    if (SUCCEEDED(container->FindConnectionPoint(IID_IPropertyNotifySink, &point_))) {
        watcher_ = new (std::nothrow) Watcher(&listener_, dispid_);
        if (watcher_ == nullptr || FAILED(point_->Advise(watcher_, &cookie_))) {
            point_->Release();
            point_ = nullptr;
        }
    }
    container->Release();
}

}  // namespace septena
