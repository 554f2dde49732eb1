// SEPTENA.OCX in a container of ours: registration with regsvr32, creation by ProgID and
// CLSID, the dispatch interface by DISPID and by name, in-place activation with events
// at a sink, persistence round trips, reference counts and unregistration.
#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "OcxHost.h"

#include <commctrl.h>

using namespace ocxtest;

namespace {

const CLSID kClsid = {0x3266CE66, 0x192F, 0x11D0, {0x9F, 0xFC, 0xE9, 0x98, 0x3B, 0x83, 0xC7, 0x07}};
const GUID kLibid = {0x3266CE63, 0x192F, 0x11D0, {0x9F, 0xFC, 0xE9, 0x98, 0x3B, 0x83, 0xC7, 0x07}};
const IID kEvents = {0x3266CE65, 0x192F, 0x11D0, {0x9F, 0xFC, 0xE9, 0x98, 0x3B, 0x83, 0xC7, 0x07}};
const char* const kClassKeys[] = {"CLSID\\{3266CE66-192F-11D0-9FFC-E9983B83C707}",
                                  "CLSID\\{3266CE67-192F-11D0-9FFC-E9983B83C707}",
                                  "CLSID\\{37C427A1-255E-11D0-9FFC-E9983B83C707}",
                                  "CLSID\\{37C427A4-255E-11D0-9FFC-E9983B83C707}",
                                  "SEPTENA.SeptenaCtrl.1",
                                  "SEPTENA.SeptenaPropPage.1",
                                  "Septena.CMorePropPage",
                                  "Septena.CAboutPropPage"};
constexpr long kMay1st1996 = 35063 + 31 + 29 + 31 + 30;
constexpr HRESULT kCtlSetNotSupported = MAKE_SCODE(SEVERITY_ERROR, FACILITY_CONTROL, 383);

using Lines = std::vector<std::string>;

DWORD Regsvr32(const std::string& option)
{
    const std::string command =
        "regsvr32.exe /s " + option + " \"" + testsupport::BinDir() + "SEPTENA.OCX\"";
    return testsupport::RunCaptured(command, "regsvr32").exitCode;
}

bool KeyExists(const char* key)
{
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key, 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    RegCloseKey(h);
    return true;
}

std::string ReadKey(const std::string& key)
{
    char value[256] = {};
    LONG size = sizeof value;
    return RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), value, &size) == ERROR_SUCCESS ? value
                                                                                         : "";
}

long GetLong(IDispatch* d, DISPID id)
{
    VARIANT v;
    EXPECT_EQ(GetProperty(d, id, v), S_OK) << id;
    VariantChangeType(&v, &v, 0, VT_I4);
    return v.lVal;
}

std::wstring GetText(IDispatch* d, DISPID id)
{
    VARIANT v;
    EXPECT_EQ(GetProperty(d, id, v), S_OK);
    std::wstring text = v.vt == VT_BSTR && v.bstrVal ? v.bstrVal : L"";
    VariantClear(&v);
    return text;
}

std::wstring FontFacts(IDispatch* d, DISPID id);

// One control with its site and event sink, optionally in-place active.
struct Control {
    Control()
    {
        EXPECT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(&dispatch)),
                  S_OK);
        dispatch->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&ole));
        IConnectionPointContainer* cpc = nullptr;
        dispatch->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc));
        cpc->FindConnectionPoint(kEvents, &point);
        cpc->Release();
        sink = new EventSink;
        EXPECT_EQ(point->Advise(static_cast<IDispatch*>(sink), &cookie), S_OK);
    }
    ~Control()
    {
        point->Unadvise(cookie);
        point->Release();
        if (site != nullptr) {
            ole->Close(OLECLOSE_NOSAVE);
            ole->SetClientSite(nullptr);
            site->Release();
        }
        ole->Release();
        sink->Release();
        const ULONG left = dispatch->Release();
        EXPECT_EQ(left, 0u);
        if (host != nullptr)
            DestroyWindow(host);
    }
    HWND Activate()
    {
        host = CreateHostWindow();
        site = new TestSite(host);
        EXPECT_EQ(ole->SetClientSite(site), S_OK);
        EXPECT_EQ(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site, 0, host, &site->position),
                  S_OK);
        IOleInPlaceObject* inPlace = nullptr;
        dispatch->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace));
        HWND window = nullptr;
        EXPECT_EQ(inPlace->GetWindow(&window), S_OK);
        inPlace->Release();
        Pump();
        return window;
    }
    IDispatch* dispatch = nullptr;
    IOleObject* ole = nullptr;
    IConnectionPoint* point = nullptr;
    EventSink* sink = nullptr;
    TestSite* site = nullptr;
    HWND host = nullptr;
    DWORD cookie = 0;
};

class SeptenaControlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitialize(nullptr);
        registerExit = Regsvr32("");
    }
    static void TearDownTestSuite() { CoUninitialize(); }
    static DWORD registerExit;
};
DWORD SeptenaControlTest::registerExit = 0xFFFFFFFF;

TEST_F(SeptenaControlTest, RegisteredAndCreatedByProgIdAndClsid)
{
    ASSERT_EQ(registerExit, 0u);
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(L"SEPTENA.SeptenaCtrl.1", &clsid), S_OK);
    EXPECT_TRUE(IsEqualCLSID(clsid, kClsid));
    EXPECT_EQ(ReadKey("CLSID\\{3266CE66-192F-11D0-9FFC-E9983B83C707}"), "Septena Control");
    EXPECT_EQ(ReadKey("CLSID\\{3266CE66-192F-11D0-9FFC-E9983B83C707}\\MiscStatus\\1"), "131473");
    EXPECT_EQ(ReadKey("CLSID\\{3266CE66-192F-11D0-9FFC-E9983B83C707}\\TypeLib"),
              "{3266CE63-192F-11D0-9FFC-E9983B83C707}");
    EXPECT_EQ(ReadKey("CLSID\\{37C427A1-255E-11D0-9FFC-E9983B83C707}\\ProgID"),
              "Septena.CMorePropPage");

    Control c;
    DWORD misc = 0;
    EXPECT_EQ(c.ole->GetMiscStatus(DVASPECT_CONTENT, &misc), S_OK);
    EXPECT_EQ(misc, 131473u);
    ISpecifyPropertyPages* pages = nullptr;
    ASSERT_EQ(
        c.dispatch->QueryInterface(IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&pages)),
        S_OK);
    CAUUID list{};
    ASSERT_EQ(pages->GetPages(&list), S_OK);
    pages->Release();
    ASSERT_EQ(list.cElems, 5u);
    wchar_t text[40];
    const wchar_t* expected[] = {
        L"{3266CE67-192F-11D0-9FFC-E9983B83C707}", L"{37C427A1-255E-11D0-9FFC-E9983B83C707}",
        L"{0BE35201-8F91-11CE-9DE3-00AA004BB851}", L"{0BE35200-8F91-11CE-9DE3-00AA004BB851}",
        L"{37C427A4-255E-11D0-9FFC-E9983B83C707}"};
    for (ULONG i = 0; i < 5; ++i) {
        StringFromGUID2(list.pElems[i], text, 40);
        EXPECT_STREQ(text, expected[i]) << i;
    }
    CoTaskMemFree(list.pElems);

    // The registered library describes the Error event with its two arguments.
    ITypeLib* lib = nullptr;
    ASSERT_EQ(LoadRegTypeLib(kLibid, 1, 0, 0x409, &lib), S_OK);
    ITypeInfo* events = nullptr;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(kEvents, &events), S_OK);
    BSTR name = SysAllocString(L"Error");
    MEMBERID id = 0;
    EXPECT_EQ(events->GetIDsOfNames(&name, 1, &id), S_OK);
    EXPECT_EQ(id, -608);
    SysFreeString(name);
    bool errorSeen = false;
    for (UINT i = 0; i < 8; ++i) {
        FUNCDESC* f = nullptr;
        if (FAILED(events->GetFuncDesc(i, &f)))
            break;
        if (f->memid == -608) {
            errorSeen = true;
            EXPECT_EQ(f->cParams, 2);
            EXPECT_EQ(f->lprgelemdescParam[0].tdesc.vt, VT_I2);
        }
        events->ReleaseFuncDesc(f);
    }
    EXPECT_TRUE(errorSeen);
    events->Release();

    // The properties carry the automation types containers rely on.
    ITypeInfo* dispatch = nullptr;
    const IID kDispatch = {
        0x3266CE64, 0x192F, 0x11D0, {0x9F, 0xFC, 0xE9, 0x98, 0x3B, 0x83, 0xC7, 0x07}};
    ASSERT_EQ(lib->GetTypeInfoOfGuid(kDispatch, &dispatch), S_OK);
    struct Typed {
        MEMBERID id;
        VARTYPE vt;
        const wchar_t* alias;  // the referenced type's name, for user-defined types
    };
    const Typed typed[] = {{3, VT_BOOL, nullptr},
                           {4, VT_I2, nullptr},
                           {21, VT_BSTR, nullptr},
                           {31, VT_I4, nullptr},
                           {6, VT_USERDEFINED, L"OLE_COLOR"},
                           {2, VT_USERDEFINED, L"enumUnits"},
                           {33, VT_PTR, nullptr},
                           {-515, VT_USERDEFINED, L"OLE_HANDLE"}};
    int found = 0;
    for (UINT i = 0; i < 64; ++i) {
        VARDESC* v = nullptr;
        if (FAILED(dispatch->GetVarDesc(i, &v)))
            break;
        for (const Typed& t : typed) {
            if (t.id != v->memid)
                continue;
            ++found;
            EXPECT_EQ(v->elemdescVar.tdesc.vt, t.vt) << t.id;
            if (t.alias != nullptr && v->elemdescVar.tdesc.vt == VT_USERDEFINED) {
                ITypeInfo* ref = nullptr;
                ASSERT_EQ(dispatch->GetRefTypeInfo(v->elemdescVar.tdesc.hreftype, &ref), S_OK);
                BSTR refName = nullptr;
                ref->GetDocumentation(MEMBERID_NIL, &refName, nullptr, nullptr, nullptr);
                EXPECT_STREQ(refName, t.alias) << t.id;
                SysFreeString(refName);
                ref->Release();
            }
        }
        dispatch->ReleaseVarDesc(v);
    }
    EXPECT_EQ(found, 8);
    dispatch->Release();
    lib->Release();
}

TEST_F(SeptenaControlTest, DispatchByNameAndByDispid)
{
    Control c;
    struct Name {
        const wchar_t* name;
        DISPID id;
    };
    const Name names[] = {{L"BorderType", 1},
                          {L"DayHeader", 21},
                          {L"Date", 31},
                          {L"HourFont", 33},
                          {L"FindDay", 34},
                          {L"Appointments", 45},
                          {L"AppointDateEnd", 50},
                          {L"BackColor", DISPID_BACKCOLOR},
                          {L"Font", DISPID_FONT},
                          {L"hWnd", DISPID_HWND},
                          {L"AboutBox", DISPID_ABOUTBOX}};
    for (const Name& n : names) {
        LPOLESTR s = const_cast<LPOLESTR>(n.name);
        DISPID id = 0;
        EXPECT_EQ(c.dispatch->GetIDsOfNames(IID_NULL, &s, 1, 0, &id), S_OK) << n.id;
        EXPECT_EQ(id, n.id);
    }
    LPOLESTR bogus = const_cast<LPOLESTR>(L"Bogus");
    DISPID id = 0;
    EXPECT_EQ(c.dispatch->GetIDsOfNames(IID_NULL, &bogus, 1, 0, &id), DISP_E_UNKNOWNNAME);

    // Property changes reach the property-change sinks by DISPID.
    IConnectionPointContainer* cpc = nullptr;
    c.dispatch->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc));
    IConnectionPoint* notify = nullptr;
    ASSERT_EQ(cpc->FindConnectionPoint(IID_IPropertyNotifySink, &notify), S_OK);
    cpc->Release();
    auto* changes = new NotifySink;
    DWORD cookie = 0;
    ASSERT_EQ(notify->Advise(changes, &cookie), S_OK);
    EXPECT_EQ(PutProperty(c.dispatch, 23, Short(5)), S_OK);
    EXPECT_EQ(PutProperty(c.dispatch, DISPID_BACKCOLOR, Long(255)), S_OK);
    EXPECT_EQ(changes->changed, std::vector<DISPID>({23, DISPID_BACKCOLOR}));
    notify->Unadvise(cookie);
    notify->Release();
    changes->Release();

    EXPECT_EQ(GetLong(c.dispatch, 31), kMay1st1996);  // Date follows Month
    EXPECT_EQ(PutProperty(c.dispatch, 4, Short(1500)), S_OK);
    EXPECT_EQ(GetLong(c.dispatch, 4), 60);
    EXPECT_EQ(PutProperty(c.dispatch, 22, Short(0)), S_OK);
    EXPECT_EQ(GetLong(c.dispatch, 22), 1);
    EXPECT_EQ(PutProperty(c.dispatch, 2, Long(65536)), S_OK);  // TimeUnits: refused, not 0
    EXPECT_EQ(GetLong(c.dispatch, 2), 3);
    EXPECT_EQ(PutProperty(c.dispatch, 4, Long(70000)), DISP_E_OVERFLOW);
    EXPECT_EQ(GetLong(c.dispatch, 4), 60);

    EXCEPINFO info{};
    VARIANT value = Long(1);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &named, 1, 1};
    EXPECT_EQ(c.dispatch->Invoke(DISPID_HWND, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr,
                                 &info, nullptr),
              DISP_E_EXCEPTION);
    EXPECT_EQ(info.scode, kCtlSetNotSupported);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);

    // Misuse reaches the host as the Error event.
    VARIANT result;
    EXPECT_EQ(CallMethod(c.dispatch, 39, {Short(9)}, &result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
    EXPECT_EQ(c.sink->lines, Lines({"Error 32003 8"}));
}

TEST_F(SeptenaControlTest, InPlaceActiveControlFiresEventsAtTheSink)
{
    Control c;
    EXPECT_EQ(PutProperty(c.dispatch, 4, Short(480)), S_OK);  // TimeStart 08:00
    VARIANT key = Text(L"standup");
    VARIANT result;
    EXPECT_EQ(CallMethod(c.dispatch, 38, {Short(540), Long(35063), Short(600), Long(35063), key},
                         &result),
              S_OK);
    VariantClear(&key);
    const HWND window = c.Activate();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetParent(window), c.host);
    EXPECT_EQ(c.site->activations, 1);
    EXPECT_EQ(GetLong(c.dispatch, DISPID_HWND),
              static_cast<long>(reinterpret_cast<INT_PTR>(window)));
    UpdateWindow(window);
    c.sink->lines.clear();

    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 100));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(200, 100));
    SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(120, 70));
    SendMessageA(window, WM_RBUTTONUP, 0, MAKELPARAM(120, 70));
    EXPECT_EQ(c.sink->lines,
              Lines({"TimeSelect 35064 600 35064 630", "MouseDown 1 0 200 100",
                     "MouseUp 1 0 200 100", "Click", "RightClick 540 35063 600 35063 1 standup",
                     "MouseDown 2 0 120 70", "MouseUp 2 0 120 70"}));

    // Saving runs the closing steps: the selection is cleared and the view is at the top.
    SendMessageA(window, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(GetLong(c.dispatch, 30), 510);  // TopTime one 30-minute row down
    c.sink->lines.clear();
    IPersistStreamInit* persist = nullptr;
    c.dispatch->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist));
    IStream* stream = nullptr;
    CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    EXPECT_EQ(persist->Save(stream, TRUE), S_OK);
    stream->Release();
    persist->Release();
    EXPECT_EQ(c.sink->lines, Lines({"TimeSelect -1 -1 -1 -1"}));
    EXPECT_EQ(GetLong(c.dispatch, 30), 480);

    // The draw entry paints on any device context: the header is grey, prime time white.
    IViewObject2* view = nullptr;
    ASSERT_EQ(c.dispatch->QueryInterface(IID_IViewObject2, reinterpret_cast<void**>(&view)), S_OK);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 400, 300);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECTL bounds{0, 0, 400, 300};
    EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, memory, &bounds, nullptr,
                         nullptr, 0),
              S_OK);
    EXPECT_EQ(GetPixel(memory, 200, 5), RGB(192, 192, 192));
    int white = 0;
    for (int x = 80; x < 400; ++x)
        white += GetPixel(memory, x, 150) == RGB(255, 255, 255);
    EXPECT_GT(white, 80);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    view->Release();
}

TEST_F(SeptenaControlTest, NewControlTakesTheContainersAmbientFont)
{
    FONTDESC desc{sizeof desc,   const_cast<LPOLESTR>(L"Courier New"),
                  {{120000, 0}}, FW_NORMAL,
                  ANSI_CHARSET,  FALSE,
                  FALSE,         FALSE};
    IFontDisp* ambient = nullptr;
    ASSERT_EQ(OleCreateFontIndirect(&desc, IID_IFontDisp, reinterpret_cast<void**>(&ambient)),
              S_OK);
    Control c;
    c.host = CreateHostWindow();
    c.site = new TestSite(c.host);
    c.site->ambientFont = ambient;
    ASSERT_EQ(c.ole->SetClientSite(c.site), S_OK);
    IPersistStreamInit* persist = nullptr;
    c.dispatch->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist));
    EXPECT_EQ(persist->InitNew(), S_OK);
    IFont* font = nullptr;
    ambient->QueryInterface(IID_IFont, reinterpret_cast<void**>(&font));
    BSTR name = nullptr;
    font->get_Name(&name);
    CY size{};
    font->get_Size(&size);
    font->Release();
    for (DISPID id : {DISPID(33), DISPID(DISPID_FONT)})
        EXPECT_EQ(FontFacts(c.dispatch, id),
                  std::wstring(name) + L" " + std::to_wstring(size.int64))
            << id;
    SysFreeString(name);

    // A change made to the control's font object itself reaches the control.
    EXPECT_EQ(persist->IsDirty(), S_FALSE);
    const std::wstring before = FontFacts(c.dispatch, 33);
    VARIANT hour;
    ASSERT_EQ(GetProperty(c.dispatch, 33, hour), S_OK);
    IFont* held = nullptr;
    hour.pdispVal->QueryInterface(IID_IFont, reinterpret_cast<void**>(&held));
    CY bigger{};
    bigger.int64 = 200000;
    held->put_Size(bigger);
    held->Release();
    VariantClear(&hour);
    EXPECT_EQ(persist->IsDirty(), S_OK);
    EXPECT_NE(FontFacts(c.dispatch, 33), before);
    persist->Release();
    c.ole->SetClientSite(nullptr);
    c.site->ambientFont = nullptr;
    ambient->Release();
}

TEST_F(SeptenaControlTest, HostDroppingTheControlInsideAnEventHandler)
{
    IOleObject* ole = nullptr;
    ASSERT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                               reinterpret_cast<void**>(&ole)),
              S_OK);
    HWND host = CreateHostWindow();
    auto* site = new TestSite(host);
    ole->SetClientSite(site);
    ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site, 0, host, &site->position);
    IOleInPlaceObject* inPlace = nullptr;
    ole->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace));
    HWND window = nullptr;
    inPlace->GetWindow(&window);
    inPlace->Release();
    IConnectionPointContainer* cpc = nullptr;
    ole->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc));
    IConnectionPoint* point = nullptr;
    cpc->FindConnectionPoint(kEvents, &point);
    cpc->Release();
    auto* sink = new EventSink;
    DWORD cookie = 0;
    point->Advise(static_cast<IDispatch*>(sink), &cookie);
    // The form closes on the first selection: everything the host holds goes at once.
    sink->onEvent = [&](DISPID id) {
        if (id != 1 || ole == nullptr)
            return;
        point->Unadvise(cookie);
        point->Release();
        ole->SetClientSite(nullptr);
        ole->Release();
        ole = nullptr;
    };
    UpdateWindow(window);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 100));
    EXPECT_EQ(ole, nullptr);
    EXPECT_FALSE(IsWindow(window));  // the control went once the message was handled
    EXPECT_EQ(sink->lines, Lines({"TimeSelect 35064 120 35064 150"}));
    sink->Release();
    site->Release();
    DestroyWindow(host);
}

// Closes the property frame once it shows, noting its tab captions.
std::vector<std::string> g_tabs;
void CALLBACK CloseFrame(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND frame = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM out) -> BOOL {
            char cls[16] = {};
            GetClassNameA(w, cls, sizeof cls);
            if (std::string(cls) == "#32770" && IsWindowVisible(w)) {
                *reinterpret_cast<HWND*>(out) = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&frame));
    if (frame == nullptr)
        return;
    KillTimer(nullptr, id);
    HWND tabs = FindWindowExA(frame, nullptr, "SysTabControl32", nullptr);
    const int count = tabs ? static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0)) : 0;
    for (int i = 0; i < count; ++i) {
        char text[64] = {};
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
        g_tabs.push_back(text);
    }
    PostMessageA(frame, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(SeptenaControlTest, PropertiesVerbShowsTheControlsPages)
{
    Control c;
    c.Activate();
    g_tabs.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, CloseFrame);
    EXPECT_EQ(c.ole->DoVerb(OLEIVERB_PROPERTIES, nullptr, c.site, 0, c.host, nullptr), S_OK);
    KillTimer(nullptr, timer);
    // The system's stock colour and font pages come between More and About where the
    // system has them.
    ASSERT_GE(g_tabs.size(), 3u);
    EXPECT_EQ(g_tabs.front(), "General");
    EXPECT_EQ(g_tabs[1], "More");
    EXPECT_EQ(g_tabs.back(), "About");
}

// Every persistent property with a value other than its default, by DISPID.
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

// The name, size and weight of a font property.
std::wstring FontFacts(IDispatch* d, DISPID id)
{
    VARIANT v;
    EXPECT_EQ(GetProperty(d, id, v), S_OK);
    if (v.vt != VT_DISPATCH || v.pdispVal == nullptr)
        return L"no font";
    IFont* font = nullptr;
    v.pdispVal->QueryInterface(IID_IFont, reinterpret_cast<void**>(&font));
    BSTR name = nullptr;
    font->get_Name(&name);
    CY size{};
    font->get_Size(&size);
    BOOL bold = FALSE;
    font->get_Bold(&bold);
    std::wstring facts =
        std::wstring(name) + L" " + std::to_wstring(size.int64) + (bold ? L" bold" : L"");
    SysFreeString(name);
    font->Release();
    VariantClear(&v);
    return facts;
}

void ExpectSettings(IDispatch* d, const std::wstring& hourFont)
{
    for (const Setting& s : kSettings)
        EXPECT_EQ(GetLong(d, s.id), s.value) << s.id;
    EXPECT_EQ(GetText(d, 21), L"Su,Mo,Tu,We,Th,Fr,Sa");
    EXPECT_EQ(FontFacts(d, 33), hourFont);
}

TEST_F(SeptenaControlTest, StreamRoundTripOfEveryPersistentProperty)
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

TEST_F(SeptenaControlTest, PropertyBagRoundTripInExchangeOrder)
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
    loader->Release();
    bag->Release();
}

// Runs last: it removes the registration the suite made.
TEST_F(SeptenaControlTest, ZZReferencesReachZeroModuleUnloadsAndUnregisterLeavesNothing)
{
    {
        Control c;
        c.Activate();
    }  // the destructor checks that the last Release answers 0
    HMODULE module = GetModuleHandleA("SEPTENA.OCX");
    ASSERT_NE(module, nullptr);
    auto canUnload = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
    ASSERT_NE(canUnload, nullptr);
    EXPECT_EQ(canUnload(), S_OK);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(CoGetClassObject(kClsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    factory->LockServer(TRUE);
    EXPECT_EQ(canUnload(), S_FALSE);
    factory->LockServer(FALSE);
    factory->Release();
    EXPECT_EQ(canUnload(), S_OK);

    // Unloaded, the module takes its window class with it.
    CoFreeUnusedLibrariesEx(0, 0);
    EXPECT_EQ(GetModuleHandleA("SEPTENA.OCX"), nullptr);
    WNDCLASSA info{};
    EXPECT_FALSE(GetClassInfoA(module, "WeekViewWindow", &info));

    EXPECT_EQ(Regsvr32("/u"), 0u);
    for (const char* key : kClassKeys)
        EXPECT_FALSE(KeyExists(key)) << key;
    ITypeLib* lib = nullptr;
    EXPECT_NE(LoadRegTypeLib(kLibid, 1, 0, 0x409, &lib), S_OK);
    IUnknown* none = nullptr;
    EXPECT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&none)),
              REGDB_E_CLASSNOTREG);

    // With the type library's registration already gone the classes still go, and
    // the failure is reported (SELFREG_E_TYPELIB).
    ASSERT_EQ(Regsvr32(""), 0u);
    ITypeLib* registered = nullptr;
    ASSERT_EQ(LoadRegTypeLib(kLibid, 1, 0, 0x409, &registered), S_OK);
    TLIBATTR* attr = nullptr;
    registered->GetLibAttr(&attr);
    const SYSKIND kind = attr->syskind;
    registered->ReleaseTLibAttr(attr);
    registered->Release();
    ASSERT_EQ(UnRegisterTypeLib(kLibid, 1, 0, 0x409, kind), S_OK);
    EXPECT_NE(Regsvr32("/u"), 0u);
    for (const char* key : kClassKeys)
        EXPECT_FALSE(KeyExists(key)) << key;
}

}  // namespace
