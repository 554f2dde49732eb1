// CSeptenaCtrl's persistence: the property set through a stream, a property bag or a
// storage, the reset, and the closing steps after every exchange. A load reads
// everything first and changes the control only when all of it was read.
#include <new>

#include "DispatchArgs.h"
#include "PersistentSet.h"
#include "SeptenaCtrl.h"
#include "SeptenaIds.h"
#include "VariantText.h"

namespace septena {
namespace {

using weekview::DisplayProperties;

const wchar_t kContentsStream[] = L"Contents";
// The property set's version in a property bag; bags written without it load as this
// version.
const wchar_t kVersionName[] = L"_Version";

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

// A property missing from the bag keeps its default; one that is there must fit. The
// value goes through the same conversions as a property put, so a colour may come
// signed, unsigned or as text.
HRESULT BagRead(IPropertyBag* bag, const PersistentProperty& p, DisplayProperties& props)
{
    ArgValue v;
    if (FAILED(bag->Read(p.name, &v.Get(), nullptr)))
        return S_OK;
    try {
        switch (p.kind) {
            case PersistKind::Color:
                return ToColor(v.Get(), props.*(p.color));
            case PersistKind::Short:
                return ToShort(v.Get(), props.*(p.number));
            case PersistKind::Bool:
                return ToBool(v.Get(), props.*(p.flag));
            default:
                return ToText(v.Get(), props.DayHeader);
        }
    } catch (const std::bad_alloc&) {
        return kCtlOutOfMemory;
    }
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
    if (adviseHolder_ != nullptr)
        adviseHolder_->SendOnSave();
}

void CSeptenaCtrl::AfterExchange()
{
    ApplyFonts(false);
    view_.ClearModified();
    if (view_.Handle() != nullptr)
        EnableWindow(view_.Handle(), view_.Control().Properties().Enabled);
}

STDMETHODIMP CSeptenaCtrl::Load(IPropertyBag* bag, IErrorLog*)
{
    if (bag == nullptr)
        return E_POINTER;
    ArgValue version;
    int32_t value = 0;
    if (SUCCEEDED(bag->Read(kVersionName, &version.Get(), nullptr)) &&
        (FAILED(ToLong(version.Get(), value)) ||
         value != static_cast<int32_t>(kPropertySetVersion)))
        return STG_E_OLDFORMAT;
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
        VARIANT version;
        version.vt = VT_I4;
        version.lVal = static_cast<LONG>(kPropertySetVersion);
        HRESULT hr = bag->Write(kVersionName, &version);
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
