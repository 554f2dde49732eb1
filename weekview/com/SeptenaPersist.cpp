// CSeptenaCtrl's persistence: the property set through a stream, a property bag or a
// storage, the reset, and the closing steps after every exchange. A load reads
// everything first and changes the control only when all of it was read.
#include <new>

#include "PersistentSet.h"
#include "SeptenaCtrl.h"
#include "SeptenaIds.h"
#include "VariantText.h"

namespace septena {
namespace {

using weekview::DisplayProperties;

const wchar_t kContentsStream[] = L"Contents";

// Values read from a saved form, not yet given to the control.
struct Loaded {
    DisplayProperties props;
    IFont* font = nullptr;
    IFont* hourFont = nullptr;
    ~Loaded()
    {
        if (font != nullptr)
            font->Release();
        if (hourFont != nullptr)
            hourFont->Release();
    }
};

HRESULT WriteBytes(IStream* stream, const void* data, ULONG size)
{
    ULONG written = 0;
    const HRESULT hr = stream->Write(data, size, &written);
    return FAILED(hr) ? hr : written == size ? S_OK : STG_E_MEDIUMFULL;
}

HRESULT ReadBytes(IStream* stream, void* data, ULONG size)
{
    ULONG read = 0;
    const HRESULT hr = stream->Read(data, size, &read);
    return FAILED(hr) ? hr : read == size ? S_OK : STG_E_READFAULT;
}

HRESULT SaveFont(IStream* stream, IFont* font)
{
    IPersistStream* persist = nullptr;
    if (font == nullptr ||
        FAILED(font->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&persist))))
        return E_UNEXPECTED;
    const HRESULT hr = persist->Save(stream, FALSE);
    persist->Release();
    return hr;
}

HRESULT LoadFont(IStream* stream, IFont* font)
{
    IPersistStream* persist = nullptr;
    if (font == nullptr ||
        FAILED(font->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&persist))))
        return E_OUTOFMEMORY;
    const HRESULT hr = persist->Load(stream);
    persist->Release();
    return hr;
}

HRESULT SaveValue(IStream* stream, const PersistentProperty& p, const DisplayProperties& props)
{
    switch (p.kind) {
        case PersistKind::Color: {
            const uint32_t v = props.*(p.color);
            return WriteBytes(stream, &v, sizeof v);
        }
        case PersistKind::Short: {
            const int16_t v = props.*(p.number);
            return WriteBytes(stream, &v, sizeof v);
        }
        case PersistKind::Bool: {
            const int16_t v = props.*(p.flag) ? VARIANT_TRUE : VARIANT_FALSE;
            return WriteBytes(stream, &v, sizeof v);
        }
        case PersistKind::Text: {
            const uint32_t n = static_cast<uint32_t>(props.DayHeader.size());
            const HRESULT hr = WriteBytes(stream, &n, sizeof n);
            return FAILED(hr) ? hr : WriteBytes(stream, props.DayHeader.data(), n);
        }
        default:
            return E_UNEXPECTED;
    }
}

HRESULT LoadValue(IStream* stream, const PersistentProperty& p, DisplayProperties& props)
{
    HRESULT hr = S_OK;
    switch (p.kind) {
        case PersistKind::Color:
            return ReadBytes(stream, &(props.*(p.color)), sizeof(uint32_t));
        case PersistKind::Short:
            return ReadBytes(stream, &(props.*(p.number)), sizeof(int16_t));
        case PersistKind::Bool: {
            int16_t v = 0;
            if (SUCCEEDED(hr = ReadBytes(stream, &v, sizeof v)))
                props.*(p.flag) = v != 0;
            return hr;
        }
        case PersistKind::Text: {
            uint32_t n = 0;
            if (FAILED(hr = ReadBytes(stream, &n, sizeof n)))
                return hr;
            if (n > kMaxSavedText)
                return STG_E_READFAULT;
            std::string text(n, '\0');
            if (n > 0 && FAILED(hr = ReadBytes(stream, &text[0], n)))
                return hr;
            props.DayHeader = std::move(text);
            return S_OK;
        }
        default:
            return E_UNEXPECTED;
    }
}

HRESULT BagWrite(IPropertyBag* bag, const PersistentProperty& p, const DisplayProperties& props,
                 IFont* font, IFont* hourFont)
{
    VARIANT v;
    VariantInit(&v);
    switch (p.kind) {
        case PersistKind::Font:
        case PersistKind::HourFont: {
            IFont* f = p.kind == PersistKind::Font ? font : hourFont;
            v.vt = VT_DISPATCH;
            if (f == nullptr ||
                FAILED(f->QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(&v.pdispVal))))
                return E_UNEXPECTED;
            break;
        }
        case PersistKind::Color:
            v.vt = VT_I4;
            v.lVal = static_cast<LONG>(props.*(p.color));
            break;
        case PersistKind::Short:
            v.vt = VT_I2;
            v.iVal = props.*(p.number);
            break;
        case PersistKind::Bool:
            v.vt = VT_BOOL;
            v.boolVal = props.*(p.flag) ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case PersistKind::Text:
            v.vt = VT_BSTR;
            v.bstrVal = ToBstr(props.DayHeader);
            if (v.bstrVal == nullptr)
                throw std::bad_alloc();
            break;
    }
    const HRESULT hr = bag->Write(p.name, &v);
    VariantClear(&v);
    return hr;
}

// A font from a bag: the bag loads the given font object or hands back its own.
HRESULT BagReadFont(IPropertyBag* bag, const wchar_t* name, IFont*& font)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_DISPATCH;
    font->QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(&v.pdispVal));
    if (SUCCEEDED(bag->Read(name, &v, nullptr)) && (v.vt == VT_DISPATCH || v.vt == VT_UNKNOWN) &&
        v.punkVal != nullptr) {
        IFont* read = nullptr;
        if (SUCCEEDED(v.punkVal->QueryInterface(IID_IFont, reinterpret_cast<void**>(&read)))) {
            IFont* clone = nullptr;
            if (SUCCEEDED(read->Clone(&clone))) {
                font->Release();
                font = clone;
            }
            read->Release();
        }
    }
    VariantClear(&v);
    return S_OK;
}

// A property missing from the bag keeps its default; one that is there must fit.
HRESULT BagRead(IPropertyBag* bag, const PersistentProperty& p, DisplayProperties& props)
{
    VARIANT v;
    VariantInit(&v);
    if (FAILED(bag->Read(p.name, &v, nullptr)))
        return S_OK;
    const VARTYPE want = p.kind == PersistKind::Color   ? VT_I4
                         : p.kind == PersistKind::Short ? VT_I2
                         : p.kind == PersistKind::Bool  ? VT_BOOL
                                                        : VT_BSTR;
    HRESULT hr = VariantChangeType(&v, &v, 0, want);
    if (SUCCEEDED(hr)) {
        switch (p.kind) {
            case PersistKind::Color:
                props.*(p.color) = static_cast<uint32_t>(v.lVal);
                break;
            case PersistKind::Short:
                props.*(p.number) = v.iVal;
                break;
            case PersistKind::Bool:
                props.*(p.flag) = v.boolVal != VARIANT_FALSE;
                break;
            default:
                try {
                    props.DayHeader = FromBstr(v.bstrVal);
                } catch (...) {
                    hr = kCtlOutOfMemory;
                }
                break;
        }
    }
    VariantClear(&v);
    return hr;
}

}  // namespace

void CSeptenaCtrl::ResetToDefaults()
{
    view_.Control().ResetProperties();
    SetFontHolder(font_, nullptr);
    SetFontHolder(hourFont_, nullptr);
    view_.ClearModified();
}

STDMETHODIMP CSeptenaCtrl::GetClassID(CLSID* clsid)
{
    if (clsid == nullptr)
        return E_POINTER;
    *clsid = CLSID_Septena;
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::IsDirty()
{
    return view_.Modified() ? S_OK : S_FALSE;
}

STDMETHODIMP CSeptenaCtrl::InitNew()
{
    try {
        ResetToDefaults();
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::Load(LPSTREAM stream)
{
    if (stream == nullptr)
        return E_POINTER;
    try {
        uint32_t version = 0;
        HRESULT hr = ReadBytes(stream, &version, sizeof version);
        if (FAILED(hr))
            return hr;
        if (version != kPropertySetVersion)
            return STG_E_OLDFORMAT;
        return LoadSet(
            [stream](const PersistentProperty& p, IFont*& font, DisplayProperties& props) {
                return font != nullptr ? LoadFont(stream, font) : LoadValue(stream, p, props);
            });
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP CSeptenaCtrl::Save(LPSTREAM stream, BOOL clearDirty)
{
    if (stream == nullptr)
        return E_POINTER;
    try {
        const DisplayProperties& props = view_.Control().Properties();
        const uint32_t version = kPropertySetVersion;
        HRESULT hr = WriteBytes(stream, &version, sizeof version);
        for (size_t i = 0; i < kPersistentSetSize && SUCCEEDED(hr); ++i) {
            const PersistentProperty& p = kPersistentSet[i];
            if (p.kind == PersistKind::Font)
                hr = SaveFont(stream, font_.Get());
            else if (p.kind == PersistKind::HourFont)
                hr = SaveFont(stream, hourFont_.Get());
            else
                hr = SaveValue(stream, p, props);
        }
        if (FAILED(hr))
            return hr;
        AfterSave(clearDirty);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP CSeptenaCtrl::GetSizeMax(ULARGE_INTEGER* size)
{
    if (size == nullptr)
        return E_POINTER;
    // Two fonts of at most a few hundred bytes, the values and the weekday captions.
    size->QuadPart = 4096 + view_.Control().Properties().DayHeader.size();
    return S_OK;
}

HRESULT CSeptenaCtrl::LoadSet(const ReadProperty& read)
{
    try {
        Loaded loaded;
        loaded.font = AmbientOrDefaultFont();
        loaded.hourFont = AmbientOrDefaultFont();
        if (loaded.font == nullptr || loaded.hourFont == nullptr)
            return E_OUTOFMEMORY;
        HRESULT hr = S_OK;
        for (size_t i = 0; i < kPersistentSetSize && SUCCEEDED(hr); ++i) {
            const PersistentProperty& p = kPersistentSet[i];
            IFont* none = nullptr;
            hr = read(p,
                      p.kind == PersistKind::Font       ? loaded.font
                      : p.kind == PersistKind::HourFont ? loaded.hourFont
                                                        : none,
                      loaded.props);
        }
        if (FAILED(hr))
            return hr;
        font_.Reset(loaded.font);
        hourFont_.Reset(loaded.hourFont);
        loaded.font = loaded.hourFont = nullptr;
        view_.Control().LoadProperties(loaded.props);
        AfterExchange();
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

void CSeptenaCtrl::AfterSave(BOOL clearDirty)
{
    view_.Control().FinishPropertyExchange();
    if (clearDirty)
        view_.ClearModified();
}

void CSeptenaCtrl::AfterExchange()
{
    ApplyFonts();
    view_.ClearModified();
    if (view_.Handle() != nullptr)
        EnableWindow(view_.Handle(), view_.Control().Properties().Enabled);
}

STDMETHODIMP CSeptenaCtrl::Load(IPropertyBag* bag, IErrorLog*)
{
    if (bag == nullptr)
        return E_POINTER;
    return LoadSet([bag](const PersistentProperty& p, IFont*& font, DisplayProperties& props) {
        return font != nullptr ? BagReadFont(bag, p.name, font) : BagRead(bag, p, props);
    });
}

STDMETHODIMP CSeptenaCtrl::Save(IPropertyBag* bag, BOOL clearDirty, BOOL)
{
    if (bag == nullptr)
        return E_POINTER;
    try {
        const DisplayProperties& props = view_.Control().Properties();
        HRESULT hr = S_OK;
        for (size_t i = 0; i < kPersistentSetSize && SUCCEEDED(hr); ++i)
            hr = BagWrite(bag, kPersistentSet[i], props, font_.Get(), hourFont_.Get());
        if (FAILED(hr))
            return hr;
        AfterSave(clearDirty);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP CSeptenaCtrl::InitNew(IStorage*)
{
    return InitNew();
}

STDMETHODIMP CSeptenaCtrl::Load(IStorage* storage)
{
    if (storage == nullptr)
        return E_POINTER;
    IStream* stream = nullptr;
    HRESULT hr =
        storage->OpenStream(kContentsStream, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream);
    if (FAILED(hr))
        return hr;
    hr = Load(stream);
    stream->Release();
    return hr;
}

STDMETHODIMP CSeptenaCtrl::Save(IStorage* storage, BOOL)
{
    if (storage == nullptr)
        return E_POINTER;
    IStream* stream = nullptr;
    HRESULT hr = storage->CreateStream(
        kContentsStream, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, &stream);
    if (FAILED(hr))
        return hr;
    hr = Save(stream, TRUE);
    stream->Release();
    return hr;
}

STDMETHODIMP CSeptenaCtrl::SaveCompleted(IStorage*)
{
    return S_OK;
}

STDMETHODIMP CSeptenaCtrl::HandsOffStorage()
{
    return S_OK;
}

}  // namespace septena
