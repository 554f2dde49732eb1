// The week view control's property pages on the real control from SEPTENA.OCX, as a
// frame drives them: identity, page info, lists, the values shown, and what an apply
// writes or refuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageHarness.h"
#include "PropPageResource.h"
#include "PropertyPages.h"
#include "com/SeptenaIds.h"

using namespace page_tests;

namespace {

constexpr DISPID kTimeUnits = 2, kTimeStart = 4, kEnabled = -514, kDayColumns = 12, kDayHeader = 21,
                 kDay = 22, kMonth = 23, kYear = 24;

void Put(IDispatch* object, DISPID id, long number)
{
    VARIANT value;
    value.vt = VT_I4;
    value.lVal = number;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &named, 1, 1};
    ASSERT_EQ(
        object->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr),
        S_OK);
}

class PropertyPageTest : public testing::Test {
protected:
    void SetUp() override
    {
        OleInitialize(nullptr);
        ASSERT_TRUE(module_.Loaded());
        control_ = module_.NewControl();
        ASSERT_NE(control_, nullptr);
        parent_ = CreateWindowExW(0, L"STATIC", L"pages", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  600, 400, nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(parent_);
        if (control_ != nullptr) {
            EXPECT_EQ(control_->Release(), 0u) << "the pages released the control";
        }
        EXPECT_EQ(module_.CanUnloadNow(), S_OK);
        OleUninitialize();
    }
    IPropertyPage* Make(REFCLSID clsid)
    {
        IClassFactory* factory = nullptr;
        IPropertyPage* page = nullptr;
        EXPECT_EQ(module_.ClassObject(clsid, &factory), S_OK);
        if (factory != nullptr) {
            EXPECT_EQ(factory->CreateInstance(nullptr, IID_IPropertyPage,
                                              reinterpret_cast<void**>(&page)),
                      S_OK);
            factory->Release();
        }
        return page;
    }
    // Opens a page on the given objects (the control by default); answers its dialog.
    HWND Open(REFCLSID clsid, std::vector<IUnknown*> objects = {})
    {
        if (objects.empty())
            objects.push_back(control_);
        page_ = Make(clsid);
        EXPECT_EQ(page_->SetObjects(static_cast<ULONG>(objects.size()), objects.data()), S_OK);
        const RECT bounds{10, 10, 410, 210};
        EXPECT_EQ(page_->Activate(parent_, &bounds, TRUE), S_OK);
        page_->Show(SW_SHOW);
        return GetWindow(parent_, GW_CHILD);
    }
    void Close()
    {
        page_->Deactivate();
        page_->SetObjects(0, nullptr);
        EXPECT_EQ(page_->Release(), 0u);
        page_ = nullptr;
    }

    SeptenaModule module_;
    IDispatch* control_ = nullptr;
    HWND parent_ = nullptr;
    IPropertyPage* page_ = nullptr;
};

TEST_F(PropertyPageTest, IdentityCaptionAndSize)
{
    struct Case {
        const CLSID* clsid;
        const wchar_t* caption;
    } cases[] = {{&CLSID_SeptenaGeneralPage, L"General"},
                 {&CLSID_SeptenaMorePage, L"More"},
                 {&CLSID_SeptenaAboutPage, L"About"}};
    for (const Case& c : cases) {
        IPropertyPage* page = Make(*c.clsid);
        ASSERT_NE(page, nullptr);
        PROPPAGEINFO info{};
        ASSERT_EQ(page->GetPageInfo(&info), S_OK);
        EXPECT_STREQ(info.pszTitle, c.caption);
        // 250 x 110 dialog units of 8-point text: wider than high, a few hundred pixels.
        EXPECT_GT(info.size.cy, 110);
        EXPECT_NEAR(info.size.cx * 110.0 / (info.size.cy * 250.0), 1.0, 0.25) << info.size.cx;
        CoTaskMemFree(info.pszTitle);
        void* dispatch = &info;
        EXPECT_EQ(page->QueryInterface(IID_IDispatch, &dispatch), E_NOINTERFACE);
        EXPECT_EQ(dispatch, nullptr);
        EXPECT_EQ(page->Release(), 0u);
    }
    void* out = &cases;
    EXPECT_EQ(CreateSeptenaPropertyPage(septena::CLSID_Septena, IID_IUnknown, &out),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);
}

TEST_F(PropertyPageTest, ListsHoldTheirItemsInOrderAndShowTheValues)
{
    Put(control_, 1, 3);  // BorderType lowered
    HWND dialog = Open(CLSID_SeptenaGeneralPage);
    const std::vector<std::wstring> units = {L"0 - 5 Minutes", L"1 - 10 Minutes", L"2 - 15 Minutes",
                                             L"3 - 30 Minutes", L"4 - 60 Minutes"};
    const std::vector<std::wstring> borders = {L"0 - Regular", L"1 - None", L"2 - Raised",
                                               L"3 - Lowered"};
    struct Case {
        int id;
        const std::vector<std::wstring>& items;
        int selected;
    } cases[] = {{IDC_TIME_UNITS, units, 3},
                 {IDC_BORDER_TYPE, borders, 3},
                 {IDC_TIME_BORDER, borders, 2},
                 {IDC_HEADER_BORDER, borders, 2}};
    for (const Case& c : cases) {
        HWND list = GetDlgItem(dialog, c.id);
        ASSERT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), (LRESULT)c.items.size()) << c.id;
        for (size_t i = 0; i < c.items.size(); ++i) {
            wchar_t text[64] = L"";
            SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            EXPECT_EQ(text, c.items[i]) << c.id;
        }
        EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), c.selected) << c.id;
    }
    EXPECT_EQ(ItemText(dialog, IDC_PRIME_TIME_START), L"480");
    EXPECT_EQ(ItemText(dialog, IDC_YEAR), L"1996");
    EXPECT_EQ(page_->IsPageDirty(), S_FALSE) << "showing values is not a change";
    Close();

    dialog = Open(CLSID_SeptenaMorePage);
    EXPECT_EQ(ItemText(dialog, IDC_DAY_HEADER), L"S,M,T,W,T,F,S");
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_INCLUDE_AM_PM, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_MILITARY_TIME, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_TIME_TYPE, CB_GETCOUNT, 0, 0), 2);
    Close();
}

TEST_F(PropertyPageTest, ApplyWritesOnlyChangedValuesAndShowsWhatTheControlKept)
{
    HWND dialog = Open(CLSID_SeptenaGeneralPage);
    TypeInto(dialog, IDC_TIME_START, L"1500");
    TypeInto(dialog, IDC_DAY, L" 0 ");
    SendDlgItemMessageW(dialog, IDC_TIME_UNITS, CB_SETCURSEL, 4, 0);  // as the user picks
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_TIME_UNITS, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_TIME_UNITS)));
    EXPECT_EQ(page_->IsPageDirty(), S_OK);
    Put(control_, kMonth, 5);  // changed elsewhere; the page's untouched 1 is not written
    ASSERT_EQ(page_->Apply(), S_OK);
    EXPECT_EQ(Number(control_, kTimeStart), 60);
    EXPECT_EQ(Number(control_, kDay), 1);
    EXPECT_EQ(Number(control_, kTimeUnits), 4);
    EXPECT_EQ(Number(control_, kMonth), 5);
    EXPECT_EQ(ItemText(dialog, IDC_TIME_START), L"60");
    EXPECT_EQ(ItemText(dialog, IDC_DAY), L"1");
    EXPECT_EQ(ItemText(dialog, IDC_MONTH), L"5");
    EXPECT_EQ(page_->IsPageDirty(), S_FALSE);
    Close();

    dialog = Open(CLSID_SeptenaMorePage);
    TypeInto(dialog, IDC_DAY_HEADER, L"");
    SendDlgItemMessageW(dialog, IDC_ENABLED, BM_CLICK, 0, 0);
    TypeInto(dialog, IDC_DAY_COLUMNS, L"31");
    ASSERT_EQ(page_->Apply(), S_OK);
    EXPECT_EQ(Text(control_, kDayHeader), L"");
    EXPECT_EQ(Number(control_, kEnabled), 0);
    EXPECT_EQ(Number(control_, kDayColumns), 31);
    Close();
}

TEST_F(PropertyPageTest, RefusedValueStopsTheApplyWritingNothing)
{
    struct Case {
        const CLSID* page;
        int id;
        const wchar_t* typed;
        const wchar_t* message;
    } cases[] = {
        {&CLSID_SeptenaGeneralPage, IDC_DAY, L"32", L"Please enter an integer between 0 and 31."},
        {&CLSID_SeptenaGeneralPage, IDC_MONTH, L"0", L"Please enter an integer between 1 and 12."},
        {&CLSID_SeptenaGeneralPage, IDC_YEAR, L"19x6", L"Please enter an integer."},
        {&CLSID_SeptenaGeneralPage, IDC_TIME_END, L"40000", L"Please enter an integer."},
        {&CLSID_SeptenaGeneralPage, IDC_TIME_START, L"", L"Please enter an integer."},
        {&CLSID_SeptenaMorePage, IDC_DAY_COLUMNS, L"32",
         L"Please enter an integer between 1 and 31."},
    };
    for (const Case& c : cases) {
        HWND dialog = Open(*c.page);
        // A valid change elsewhere on the page must not be written either.
        const int other = *c.page == CLSID_SeptenaMorePage ? IDC_HEADER_HEIGHT
                          : c.id == IDC_DAY                ? IDC_YEAR
                                                           : IDC_DAY;
        TypeInto(dialog, other, L"5");
        TypeInto(dialog, c.id, c.typed);
        {
            MessageBoxWatcher watcher;
            EXPECT_EQ(page_->Apply(), E_FAIL) << c.typed;
            ASSERT_EQ(MessageBoxWatcher::texts.size(), 1u) << c.typed;
            EXPECT_EQ(MessageBoxWatcher::texts[0], c.message);
        }
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, c.id)) << c.typed;
        EXPECT_EQ(page_->IsPageDirty(), S_OK) << "the typed values stay for correction";
        Close();
        EXPECT_EQ(Number(control_, kDay), 1) << c.typed;
        EXPECT_EQ(Number(control_, kYear), 1996) << c.typed;
        EXPECT_EQ(Number(control_, 13), 30) << c.typed;  // HeaderHeight
    }
}

TEST_F(PropertyPageTest, ObjectsThatDisagreeShowBlankAndStayOutOfTheApply)
{
    IDispatch* second = module_.NewControl();
    ASSERT_NE(second, nullptr);
    Put(second, kDay, 9);
    HWND dialog = Open(CLSID_SeptenaGeneralPage, {control_, second});
    EXPECT_EQ(ItemText(dialog, IDC_DAY), L"");
    EXPECT_EQ(ItemText(dialog, IDC_MONTH), L"1");
    TypeInto(dialog, IDC_MONTH, L"7");
    ASSERT_EQ(page_->Apply(), S_OK);
    EXPECT_EQ(Number(control_, kMonth), 7);
    EXPECT_EQ(Number(second, kMonth), 7);
    EXPECT_EQ(Number(second, kDay), 9);
    EXPECT_EQ(Number(control_, kDay), 1);
    Close();
    EXPECT_EQ(second->Release(), 0u);
}

}  // namespace
