// SEPTENA.OCX's persistence in a container of ours: every persistent property through a
// stream and a property bag, values as stored, damaged forms, the closing steps; the
// table of properties against the registered type library.
#include <iterator>
#include <string>

#include "OcxFixture.h"
#include "PropertyList.h"

using namespace ocxtest;

namespace {

class SeptenaPersistTest : public RegisteredControlTest {};

struct Setting {
    DISPID id;
    long value;
};
const Setting kSettings[] = {{6, 255},
                             {8, 1},
                             {18, 2},
                             {19, 3},
                             {14, 4},
                             {15, 5},
                             {25, 6},
                             {27, 7},
                             {28, 8},
                             {2, 4},
                             {1, 3},
                             {10, 1},
                             {20, 0},
                             {32, 1},
                             {11, 5},
                             {29, 6},
                             {5, 1200},
                             {4, 420},
                             {16, 540},
                             {17, 960},
                             {9, 90},
                             {12, 5},
                             {13, 40},
                             {23, 2},
                             {24, 2026},
                             {22, 31},
                             {3, -1},
                             {26, -1},
                             {7, 0},
                             {DISPID_BACKCOLOR, 11},
                             {DISPID_FORECOLOR, 12},
                             {DISPID_ENABLED, 0}};

void ApplySettings(IDispatch* d)
{
    for (const Setting& s : kSettings)
        EXPECT_EQ(PutProperty(d, s.id, Long(s.value)), S_OK) << s.id;
    VARIANT header = Text(L"Su,Mo,Tu,We,Th,Fr,Sa");
    EXPECT_EQ(PutProperty(d, 21, header), S_OK);
    VariantClear(&header);
    FONTDESC desc{sizeof desc,   const_cast<LPOLESTR>(L"Arial"),
                  {{140000, 0}}, FW_BOLD,
                  ANSI_CHARSET,  FALSE,
                  FALSE,         FALSE};
    IFontDisp* font = nullptr;
    OleCreateFontIndirect(&desc, IID_IFontDisp, reinterpret_cast<void**>(&font));
    VARIANT v;
    v.vt = VT_DISPATCH;
    v.pdispVal = font;
    EXPECT_EQ(PutProperty(d, 33, v), S_OK);
    font->Release();
}

void ExpectSettings(IDispatch* d, const std::wstring& hourFont)
{
    for (const Setting& s : kSettings)
        EXPECT_EQ(GetLong(d, s.id), s.value) << s.id;
    EXPECT_EQ(GetText(d, 21), L"Su,Mo,Tu,We,Th,Fr,Sa");
    EXPECT_EQ(FontFacts(d, 33), hourFont);
}

TEST_F(SeptenaPersistTest, StreamRoundTripOfEveryPersistentProperty)
{
    Control a;
    ApplySettings(a.dispatch);
    const std::wstring hourFont = FontFacts(a.dispatch, 33);
    EXPECT_NE(hourFont.find(L" bold"), std::wstring::npos)
        << std::string(hourFont.begin(), hourFont.end());
    const long date = GetLong(a.dispatch, 31);
    IPersistStreamInit* saver = nullptr;
    a.dispatch->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&saver));
    EXPECT_EQ(saver->IsDirty(), S_OK);
    IStream* stream = nullptr;
    CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    ASSERT_EQ(saver->Save(stream, TRUE), S_OK);
    EXPECT_EQ(saver->IsDirty(), S_FALSE);
    saver->Release();
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);

    Control b;
    b.sink->lines.clear();
    IPersistStreamInit* loader = nullptr;
    b.dispatch->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&loader));
    // A damaged (cut short) form is refused and changes nothing.
    IStream* cut = nullptr;
    CreateStreamOnHGlobal(nullptr, TRUE, &cut);
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    ULARGE_INTEGER half;
    half.QuadPart = stat.cbSize.QuadPart - 3;
    stream->CopyTo(cut, half, nullptr, nullptr);
    cut->Seek(zero, STREAM_SEEK_SET, nullptr);
    EXPECT_NE(loader->Load(cut), S_OK);
    cut->Release();
    EXPECT_EQ(GetLong(b.dispatch, 22), 1);
    EXPECT_EQ(GetText(b.dispatch, 21), L"S,M,T,W,T,F,S");

    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    ASSERT_EQ(loader->Load(stream), S_OK);
    loader->Release();
    stream->Release();
    ExpectSettings(b.dispatch, hourFont);
    EXPECT_EQ(GetLong(b.dispatch, 31), date);  // Date follows the loaded day, month, year
    EXPECT_EQ(b.sink->lines, Lines({"TimeSelect -1 -1 -1 -1"}));
}

TEST_F(SeptenaPersistTest, PropertyBagRoundTripInExchangeOrder)
{
    Control a;
    ApplySettings(a.dispatch);
    const std::wstring hourFont = FontFacts(a.dispatch, 33);
    IPersistPropertyBag* saver = nullptr;
    a.dispatch->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(&saver));
    MemoryBag* bag = new MemoryBag;
    ASSERT_EQ(saver->Save(bag, TRUE, TRUE), S_OK);
    saver->Release();
    const std::vector<std::wstring> order = {L"_Version",
                                             L"BackColor",
                                             L"ForeColor",
                                             L"Enabled",
                                             L"Font",
                                             L"HourFont",
                                             L"BorderColor",
                                             L"TimeBackColor",
                                             L"HeaderBackColor",
                                             L"HeaderForeColor",
                                             L"PrimeTimeColor",
                                             L"NonPrimeColor",
                                             L"LineColor",
                                             L"SelectedColor",
                                             L"AppBarColor",
                                             L"TimeUnits",
                                             L"BorderType",
                                             L"TimeBorder",
                                             L"HeaderBorder",
                                             L"TimeType",
                                             L"HeightOffset",
                                             L"HeaderYOffset",
                                             L"TimeEnd",
                                             L"TimeStart",
                                             L"PrimeTimeStart",
                                             L"PrimeTimeEnd",
                                             L"TimeTextWidth",
                                             L"DayColumns",
                                             L"HeaderHeight",
                                             L"Day",
                                             L"Month",
                                             L"Year",
                                             L"MilitaryTime",
                                             L"WeekendPrime",
                                             L"IncludeAmPm",
                                             L"DayHeader"};
    EXPECT_EQ(bag->order, order);

    Control b;
    b.sink->lines.clear();
    IPersistPropertyBag* loader = nullptr;
    b.dispatch->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(&loader));
    ASSERT_EQ(loader->Load(bag, nullptr), S_OK);
    ExpectSettings(b.dispatch, hourFont);
    EXPECT_EQ(b.sink->lines, Lines({"TimeSelect -1 -1 -1 -1"}));

    // A stored value is taken as read, without the setter's clamp.
    VARIANT wide = Short(1500);
    bag->Write(L"TimeStart", &wide);
    ASSERT_EQ(loader->Load(bag, nullptr), S_OK);
    EXPECT_EQ(GetLong(b.dispatch, 4), 1500);

    // Colours as other writers keep them: a system colour unsigned, or as text.
    VARIANT system;
    system.vt = VT_UI4;
    system.ulVal = 0x80000005;
    bag->Write(L"BackColor", &system);
    VARIANT line = Text(L"2147483656");
    bag->Write(L"LineColor", &line);
    VariantClear(&line);
    ASSERT_EQ(loader->Load(bag, nullptr), S_OK);
    EXPECT_EQ(GetLong(b.dispatch, DISPID_BACKCOLOR), static_cast<long>(0x80000005));
    EXPECT_EQ(GetLong(b.dispatch, 25), static_cast<long>(0x80000008));

    // Another version of the set is refused; a bag written without one still loads.
    VARIANT version = Long(0x20000);
    bag->Write(L"_Version", &version);
    VARIANT timeStart = Short(600);
    bag->Write(L"TimeStart", &timeStart);
    EXPECT_EQ(loader->Load(bag, nullptr), STG_E_OLDFORMAT);
    EXPECT_EQ(GetLong(b.dispatch, 4), 1500);
    VariantClear(&bag->values[L"_Version"]);
    bag->values.erase(L"_Version");
    ASSERT_EQ(loader->Load(bag, nullptr), S_OK);
    EXPECT_EQ(GetLong(b.dispatch, 4), 600);

    // A value that is not a number refuses the whole bag and changes nothing.
    VARIANT bad = Text(L"tomorrow");
    bag->Write(L"Day", &bad);
    VariantClear(&bad);
    VARIANT month = Short(7);
    bag->Write(L"Month", &month);
    EXPECT_NE(loader->Load(bag, nullptr), S_OK);
    EXPECT_EQ(GetLong(b.dispatch, 22), 31);
    EXPECT_EQ(GetLong(b.dispatch, 23), 2);
    loader->Release();
    bag->Release();
}

// Runs last: it removes the registration the suite made.

TEST_F(SeptenaPersistTest, StorageRoundTrip)
{
    Control a;
    ApplySettings(a.dispatch);
    const std::wstring hourFont = FontFacts(a.dispatch, 33);
    ILockBytes* bytes = nullptr;
    ASSERT_EQ(CreateILockBytesOnHGlobal(nullptr, TRUE, &bytes), S_OK);
    IStorage* storage = nullptr;
    ASSERT_EQ(StgCreateDocfileOnILockBytes(
                  bytes, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &storage),
              S_OK);
    IPersistStorage* saver = nullptr;
    a.dispatch->QueryInterface(IID_IPersistStorage, reinterpret_cast<void**>(&saver));
    ASSERT_EQ(saver->Save(storage, FALSE), S_OK);
    EXPECT_EQ(saver->SaveCompleted(nullptr), S_OK);
    saver->Release();

    Control b;
    IPersistStorage* loader = nullptr;
    b.dispatch->QueryInterface(IID_IPersistStorage, reinterpret_cast<void**>(&loader));
    ASSERT_EQ(loader->Load(storage), S_OK);
    loader->Release();
    ExpectSettings(b.dispatch, hourFont);
    storage->Release();
    bytes->Release();
}

}  // namespace

namespace {

// A property's type as the type library spells it; "enum" for any enumeration.
std::wstring TypeName(ITypeInfo* owner, const TYPEDESC& type)
{
    switch (type.vt) {
        case VT_I2:
            return L"short";
        case VT_I4:
            return L"long";
        case VT_BOOL:
            return L"VARIANT_BOOL";
        case VT_BSTR:
            return L"BSTR";
        case VT_PTR:
            return TypeName(owner, *type.lptdesc) + L"*";
        case VT_USERDEFINED: {
            ITypeInfo* ref = nullptr;
            if (FAILED(owner->GetRefTypeInfo(type.hreftype, &ref)))
                return L"?";
            TYPEATTR* attr = nullptr;
            BSTR name = nullptr;
            ref->GetTypeAttr(&attr);
            ref->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
            std::wstring text = attr != nullptr && attr->typekind == TKIND_ENUM ? L"enum"
                                : name != nullptr                               ? name
                                                                                : L"?";
            SysFreeString(name);
            if (attr != nullptr)
                ref->ReleaseTypeAttr(attr);
            ref->Release();
            return text;
        }
        default:
            return L"vt " + std::to_wstring(type.vt);
    }
}

// What the type library must say for each type of the table, in PropertyType's order.
const wchar_t* const kIdlTypes[] = {L"short",     L"enum", L"long",       L"VARIANT_BOOL",
                                    L"OLE_COLOR", L"BSTR", L"IFontDisp*", L"OLE_HANDLE"};

struct Listed {
    const wchar_t* name;
    MEMBERID id;
    weekview::PropertyType type;
};
#define SEPTENA_LISTED(Name, Dispid, Type, Kept, Default) \
    {L"" #Name, Dispid, weekview::PropertyType::Type},
const Listed kListed[] = {WEEKVIEW_PROPERTIES(SEPTENA_LISTED)};
#undef SEPTENA_LISTED

}  // namespace

// The registered type library and the control's table of properties name the same
// properties, with the same DISPIDs and types.
TEST_F(SeptenaPersistTest, TypeLibraryMatchesTheTableOfProperties)
{
    ASSERT_EQ(registerExit, 0u);
    ITypeLib* lib = nullptr;
    ASSERT_EQ(LoadRegTypeLib(LIBID_SEPTENALib, 1, 0, 0x409, &lib), S_OK);
    ITypeInfo* dispatch = nullptr;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(septena::DIID_DSeptena, &dispatch), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(dispatch->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->cVars, std::size(kListed));
    for (UINT i = 0; i < attr->cVars; ++i) {
        VARDESC* v = nullptr;
        ASSERT_EQ(dispatch->GetVarDesc(i, &v), S_OK);
        BSTR name = nullptr;
        UINT named = 0;
        dispatch->GetNames(v->memid, &name, 1, &named);
        const std::wstring libName = name != nullptr ? name : L"";
        SysFreeString(name);
        const Listed* listed = nullptr;
        for (const Listed& l : kListed)
            listed = libName == l.name ? &l : listed;
        if (listed == nullptr) {
            ADD_FAILURE() << "the table lacks " << testing::PrintToString(libName);
        } else {
            EXPECT_EQ(v->memid, listed->id) << testing::PrintToString(libName);
            EXPECT_EQ(TypeName(dispatch, v->elemdescVar.tdesc),
                      kIdlTypes[static_cast<int>(listed->type)])
                << testing::PrintToString(libName);
        }
        dispatch->ReleaseVarDesc(v);
    }
    dispatch->ReleaseTypeAttr(attr);
    dispatch->Release();
    lib->Release();
}
