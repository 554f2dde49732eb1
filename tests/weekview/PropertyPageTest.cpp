// The week view control's property pages against a stand-in control object: identity,
// page info, lists, the values shown, and what an apply writes or refuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageHarness.h"
#include "PropPageResource.h"
#include "PropertyPages.h"

using namespace page_tests;

namespace {

constexpr DISPID kTimeStart = 4, kDay = 22, kMonth = 23, kDayHeader = 21, kEnabled = -514;

class PropertyPageTest : public testing::Test {
protected:
    void SetUp() override
    {
        OleInitialize(nullptr);
        parent_ = CreateWindowExW(0, L"STATIC", L"pages", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  600, 400, nullptr, nullptr, nullptr, nullptr);
        SetControlDefaults(control_);
    }
    void TearDown() override
    {
        DestroyWindow(parent_);
        EXPECT_EQ(SeptenaPropertyPagesAlive(), 0);
        OleUninitialize();
    }
    // Opens a page on the given objects and answers its dialog window.
    HWND Open(REFCLSID clsid, std::vector<IUnknown*> objects = {})
    {
        if (objects.empty())
            objects.push_back(&control_);
        EXPECT_EQ(
            CreateSeptenaPropertyPage(clsid, IID_IPropertyPage, reinterpret_cast<void**>(&page_)),
            S_OK);
        EXPECT_EQ(page_->SetObjects(static_cast<ULONG>(objects.size()), objects.data()), S_OK);
        const RECT bounds{10, 10, 410, 210};
        EXPECT_EQ(page_->Activate(parent_, &bounds, TRUE), S_OK);
        page_->Show(SW_SHOW);
        HWND dialog = GetWindow(parent_, GW_CHILD);
        EXPECT_NE(dialog, nullptr);
        return dialog;
    }
    void Close()
    {
        page_->Deactivate();
        page_->SetObjects(0, nullptr);
        page_->Release();
        page_ = nullptr;
    }

    HWND parent_ = nullptr;
    FakeControl control_;
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
        IPropertyPage* page = nullptr;
        ASSERT_EQ(
            CreateSeptenaPropertyPage(*c.clsid, IID_IPropertyPage, reinterpret_cast<void**>(&page)),
            S_OK);
        PROPPAGEINFO info{};
        ASSERT_EQ(page->GetPageInfo(&info), S_OK);
        EXPECT_STREQ(info.pszTitle, c.caption);
        // 250 x 110 dialog units of 8-point text: wider than high, a few hundred pixels.
        EXPECT_GT(info.size.cx, 250);
        EXPECT_GT(info.size.cy, 110);
        EXPECT_NEAR(info.size.cx * 110.0 / (info.size.cy * 250.0), 1.0, 0.25) << info.size.cx;
        CoTaskMemFree(info.pszTitle);
        void* dispatch = &info;
        EXPECT_EQ(page->QueryInterface(IID_IDispatch, &dispatch), E_NOINTERFACE);
        EXPECT_EQ(dispatch, nullptr);
        EXPECT_EQ(page->Release(), 0u);
    }
    void* out = &cases;
    const CLSID control = {
        0x3266CE66, 0x192F, 0x11D0, {0x9F, 0xFC, 0xE9, 0x98, 0x3B, 0x83, 0xC7, 0x07}};
    EXPECT_EQ(CreateSeptenaPropertyPage(control, IID_IUnknown, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);
}

TEST_F(PropertyPageTest, ListsHoldTheirItemsInOrderAndShowTheValues)
{
    control_.Set(1, 3);  // BorderType lowered
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

TEST_F(PropertyPageTest, ApplyWritesOnlyChangedValuesInExchangeOrderThenShowsTheResult)
{
    HWND dialog = Open(CLSID_SeptenaGeneralPage);
    TypeInto(dialog, IDC_TIME_START, L"1500");
    TypeInto(dialog, IDC_DAY, L" 0 ");
    SendDlgItemMessageW(dialog, IDC_TIME_UNITS, CB_SETCURSEL, 4, 0);  // no notification
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_TIME_UNITS, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_TIME_UNITS)));
    EXPECT_EQ(page_->IsPageDirty(), S_OK);
    control_.Set(kTimeStart, 480);  // the object changes underneath; the page reloads after
    ASSERT_EQ(page_->Apply(), S_OK);
    EXPECT_EQ(control_.puts, (std::vector<std::string>{"22=0:I2", "4=1500:I2", "2=4:I4"}));
    EXPECT_EQ(page_->IsPageDirty(), S_FALSE);
    control_.Set(kTimeStart, 60);  // what the control makes of 1500
    control_.puts.clear();
    ASSERT_EQ(page_->Apply(), S_OK);
    EXPECT_TRUE(control_.puts.empty()) << "a clean page writes nothing";
    Close();

    dialog = Open(CLSID_SeptenaMorePage);
    TypeInto(dialog, IDC_DAY_HEADER, L"");
    SendDlgItemMessageW(dialog, IDC_ENABLED, BM_CLICK, 0, 0);
    TypeInto(dialog, IDC_DAY_COLUMNS, L"31");
    ASSERT_EQ(page_->Apply(), S_OK);
    EXPECT_EQ(control_.puts, (std::vector<std::string>{"12=31:I2", "21=\"\"", "-514=0:BOOL"}));
    EXPECT_EQ(control_.Text(kDayHeader), L"");
    EXPECT_EQ(control_.Number(kEnabled), 0);
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
        {&CLSID_SeptenaGeneralPage, IDC_DAY, L"-1", L"Please enter an integer between 0 and 31."},
        {&CLSID_SeptenaGeneralPage, IDC_MONTH, L"13", L"Please enter an integer between 1 and 12."},
        {&CLSID_SeptenaGeneralPage, IDC_MONTH, L"0", L"Please enter an integer between 1 and 12."},
        {&CLSID_SeptenaGeneralPage, IDC_YEAR, L"19x6", L"Please enter an integer."},
        {&CLSID_SeptenaGeneralPage, IDC_TIME_END, L"40000", L"Please enter an integer."},
        {&CLSID_SeptenaGeneralPage, IDC_TIME_START, L"", L"Please enter an integer."},
        {&CLSID_SeptenaMorePage, IDC_DAY_COLUMNS, L"0",
         L"Please enter an integer between 1 and 31."},
        {&CLSID_SeptenaMorePage, IDC_HEADER_HEIGHT, L"3.5", L"Please enter an integer."},
    };
    for (const Case& c : cases) {
        HWND dialog = Open(*c.page);
        // A valid change earlier in the exchange order must not be written either.
        TypeInto(dialog, c.id == IDC_DAY ? IDC_YEAR : IDC_DAY, L"5");
        TypeInto(dialog, c.id, c.typed);
        control_.puts.clear();
        {
            MessageBoxWatcher watcher;
            EXPECT_EQ(page_->Apply(), E_FAIL) << c.typed;
            ASSERT_EQ(MessageBoxWatcher::texts.size(), 1u) << c.typed;
            EXPECT_EQ(MessageBoxWatcher::texts[0], c.message);
        }
        EXPECT_TRUE(control_.puts.empty()) << c.typed;
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, c.id)) << c.typed;
        EXPECT_EQ(page_->IsPageDirty(), S_OK) << "the typed values stay for correction";
        Close();
    }
    EXPECT_EQ(control_.Number(kDay), 1);
    EXPECT_EQ(control_.Number(kMonth), 1);
}

TEST_F(PropertyPageTest, ObjectsThatDisagreeShowBlankAndStayOutOfTheApply)
{
    FakeControl second;
    SetControlDefaults(second);
    second.Set(kDay, 9);
    HWND dialog = Open(CLSID_SeptenaGeneralPage, {&control_, &second});
    EXPECT_EQ(ItemText(dialog, IDC_DAY), L"");
    EXPECT_EQ(ItemText(dialog, IDC_MONTH), L"1");
    TypeInto(dialog, IDC_MONTH, L"7");
    ASSERT_EQ(page_->Apply(), S_OK);
    EXPECT_EQ(control_.puts, (std::vector<std::string>{"23=7:I2"}));
    EXPECT_EQ(second.puts, (std::vector<std::string>{"23=7:I2"}));
    EXPECT_EQ(second.Number(kDay), 9);
    Close();
    EXPECT_EQ(second.refs, 1) << "the page releases what it was given";
    EXPECT_EQ(control_.refs, 1);
}

}  // namespace
