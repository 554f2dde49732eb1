// SEPTENA.OCX's persistence in a container of ours: every persistent property through a
// stream and a property bag, values as stored, damaged forms, the closing steps.
#include "OcxFixture.h"

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
    const std::vector<std::wstring> order = {L"BackColor",
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
