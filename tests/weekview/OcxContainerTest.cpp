// SEPTENA.OCX in a container of ours: registration with regsvr32, creation by ProgID and
// CLSID, the type library, the dispatch interface by DISPID and by name, in-place
// activation with events at a sink, ambient font, the Properties verb.
#include "OcxFixture.h"
#include "WindowSearch.h"

#include <commctrl.h>

using namespace ocxtest;

namespace {

constexpr long kMay1st1996 = 35063 + 31 + 29 + 31 + 30;
constexpr HRESULT kCtlSetNotSupported = MAKE_SCODE(SEVERITY_ERROR, FACILITY_CONTROL, 383);

class SeptenaControlTest : public RegisteredControlTest {};

TEST_F(SeptenaControlTest, RegisteredAndCreatedByProgIdAndClsid)
{
    ASSERT_EQ(registerExit, 0u);
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(L"SEPTENA.SeptenaCtrl.1", &clsid), S_OK);
    EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_Septena));
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
    ASSERT_EQ(LoadRegTypeLib(LIBID_SEPTENALib, 1, 0, 0x409, &lib), S_OK);
    ITypeInfo* events = nullptr;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(DIID_DSeptenaEvents, &events), S_OK);
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
    ASSERT_EQ(lib->GetTypeInfoOfGuid(septena::DIID_DSeptena, &dispatch), S_OK);
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

    // While the container freezes events none arrive.
    IOleControl* control = nullptr;
    c.dispatch->QueryInterface(IID_IOleControl, reinterpret_cast<void**>(&control));
    control->FreezeEvents(TRUE);
    CallMethod(c.dispatch, 39, {Short(9)}, &result);
    control->FreezeEvents(FALSE);
    CallMethod(c.dispatch, 39, {Short(10)}, &result);
    control->Release();
    EXPECT_EQ(c.sink->lines, Lines({"Error 32003 8", "Error 32003 9"}));
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
    // The TimeStart put before activation is still a change to save.
    IPersistStreamInit* persist = nullptr;
    c.dispatch->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist));
    EXPECT_EQ(persist->IsDirty(), S_OK);

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
    IStream* stream = nullptr;
    CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    EXPECT_EQ(persist->Save(stream, TRUE), S_OK);
    stream->Release();
    EXPECT_EQ(c.sink->lines, Lines({"TimeSelect -1 -1 -1 -1"}));
    EXPECT_EQ(GetLong(c.dispatch, 30), 480);

    // Hidden and shown again: showing is no change, a change made while hidden stays one.
    EXPECT_EQ(persist->IsDirty(), S_FALSE);
    EXPECT_EQ(c.ole->DoVerb(OLEIVERB_HIDE, nullptr, c.site, 0, c.host, nullptr), S_OK);
    EXPECT_EQ(c.ole->DoVerb(OLEIVERB_SHOW, nullptr, c.site, 0, c.host, &c.site->position), S_OK);
    EXPECT_EQ(persist->IsDirty(), S_FALSE);
    EXPECT_EQ(c.ole->DoVerb(OLEIVERB_HIDE, nullptr, c.site, 0, c.host, nullptr), S_OK);
    EXPECT_EQ(PutProperty(c.dispatch, 26, Short(1)), S_OK);  // WeekendPrime
    EXPECT_EQ(c.ole->DoVerb(OLEIVERB_SHOW, nullptr, c.site, 0, c.host, &c.site->position), S_OK);
    EXPECT_EQ(persist->IsDirty(), S_OK);
    EXPECT_EQ(PutProperty(c.dispatch, 26, Short(0)), S_OK);
    persist->Release();
    IOleInPlaceObject* inPlace = nullptr;
    c.dispatch->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace));
    HWND shown = nullptr;
    EXPECT_EQ(inPlace->GetWindow(&shown), S_OK);
    inPlace->Release();
    UpdateWindow(shown);

    // Two rows down, then 15-minute rows: the window keeps 09:00 at the top.
    SendMessageA(shown, WM_VSCROLL, SB_LINEDOWN, 0);
    SendMessageA(shown, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(PutProperty(c.dispatch, 2, Short(2)), S_OK);

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
    // A picture tall enough for every row (a printout) leaves the window's rows alone.
    bitmap = CreateCompatibleBitmap(screen, 400, 1600);
    old = SelectObject(memory, bitmap);
    bounds = RECTL{0, 0, 400, 1600};
    EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, memory, &bounds, nullptr,
                         nullptr, 0),
              S_OK);
    UpdateWindow(shown);
    EXPECT_EQ(GetLong(c.dispatch, 30), 540);
    EXPECT_EQ(GetScrollPos(shown, SB_VERT), 4);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    view->Release();
}

TEST_F(SeptenaControlTest, InactiveControlAtDesignTimeTellsAndDrawsForTheContainer)
{
    Control c;
    c.Site(false);
    IViewObject2* view = nullptr;
    ASSERT_EQ(c.dispatch->QueryInterface(IID_IViewObject2, reinterpret_cast<void**>(&view)), S_OK);
    auto* sink = new ViewSink;
    ASSERT_EQ(view->SetAdvise(DVASPECT_CONTENT, 0, sink), S_OK);
    DWORD connection = 0;
    ASSERT_EQ(c.ole->Advise(sink, &connection), S_OK);
    // A change of the picture is told; a call that changes nothing is not.
    EXPECT_EQ(PutProperty(c.dispatch, DISPID_BACKCOLOR, Long(255)), S_OK);
    VARIANT result;
    EXPECT_EQ(CallMethod(c.dispatch, 34, {Long(35063)}, &result), S_OK);
    EXPECT_EQ(sink->lines, Lines({"ViewChange 1 -1"}));
    sink->lines.clear();
    IPersistStreamInit* persist = nullptr;
    c.dispatch->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist));
    IStream* stream = nullptr;
    CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    EXPECT_EQ(persist->Save(stream, TRUE), S_OK);
    stream->Release();
    persist->Release();
    EXPECT_EQ(sink->lines, Lines({"ViewChange 1 -1", "Save"}));

    // At design time the picture is painted straight onto the container's context,
    // even one that cannot give an off-screen bitmap (a metafile).
    HDC meta = CreateMetaFileA(nullptr);
    const RECTL bounds{0, 0, 400, 300};
    EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, meta, &bounds, nullptr,
                         nullptr, 0),
              S_OK);
    HMETAFILE picture = CloseMetaFile(meta);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 400, 300);
    HGDIOBJ old = SelectObject(memory, bitmap);
    PatBlt(memory, 0, 0, 400, 300, BLACKNESS);
    EXPECT_TRUE(PlayMetaFile(memory, picture));
    EXPECT_EQ(GetPixel(memory, 200, 5), RGB(192, 192, 192));  // header
    int nonPrime = 0;
    for (int x = 80; x < 400; ++x)
        nonPrime += GetPixel(memory, x, 150) == RGB(128, 255, 255);  // 03:30
    EXPECT_GT(nonPrime, 80);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DeleteMetaFile(picture);

    EXPECT_EQ(view->SetAdvise(DVASPECT_CONTENT, 0, nullptr), S_OK);
    EXPECT_EQ(c.ole->Unadvise(connection), S_OK);
    view->Release();
    sink->Release();
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
    ASSERT_EQ(CoCreateInstance(CLSID_Septena, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
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
    cpc->FindConnectionPoint(DIID_DSeptenaEvents, &point);
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
    HWND frame = testsupport::FindThreadWindow([](HWND w) {
        char cls[16] = {};
        GetClassNameA(w, cls, sizeof cls);
        return std::string(cls) == "#32770" && IsWindowVisible(w);
    });
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

}  // namespace
