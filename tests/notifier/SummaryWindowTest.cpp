// The alarm summary window under Wine, owned by a stand-in for the main window.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "SystemDateTime.h"
#include "chkMainUnit.h"
#include "chkSummaryUnit.h"

namespace {

// A hidden window standing in for the main window: it owns summary windows as components and
// records message 1125 with the number of summary windows it owned when the message came.
class StandInOwner : public TComponentOwner {
public:
    StandInOwner()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Routine;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "SummaryTestOwner";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, "SummaryTestOwner", "owner", WS_POPUP, 0, 0, 10, 10, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), this);
    }
    ~StandInOwner() override
    {
        DestroyComponents();
        DestroyWindow(window);
    }

    HWND window = nullptr;
    int messages = 0;
    int ownedAtMessage = -1;

private:
    static LRESULT CALLBACK Routine(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE)
            SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(
                                  reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<StandInOwner*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self && message == kCheckFinishFlashMessage) {
            ++self->messages;
            self->ownedAtMessage = self->CountComponentsOf(TformSummary::kClassName);
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
};

std::string Text(HWND hwnd)
{
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

std::string Cell(HWND list, int row, int column)
{
    char text[256] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

TEST(SummaryWindowTest, LooksAsTheAlarmSummary)
{
    StandInOwner owner;
    TformSummary* form = TformSummary::Create(owner, owner.window);
    ASSERT_NE(form, nullptr);
    const HWND hwnd = form->Handle();
    EXPECT_EQ(Text(hwnd), "\xbe\xcb\xb6\xf7 \xb0\xa3\xb7\xab\xc8\xf7 \xba\xb8\xb1\xe2");
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_TRUE(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT client, frame;
    GetClientRect(hwnd, &client);
    GetWindowRect(hwnd, &frame);
    EXPECT_EQ(client.right, 514);
    EXPECT_EQ(client.bottom, 232);
    EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "\xb1\xbc\xb8\xb2");
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_EQ(font.lfCharSet, HANGUL_CHARSET);

    EXPECT_EQ(Text(GetDlgItem(hwnd, kSummaryLabel1)), "\xc7\xf6\xc0\xe7\xbd\xc3\xb0\xa3 :");
    const std::string header = Text(GetDlgItem(hwnd, kSummaryLabel2));
    const alarms::LocalTime now = alarms::LocalNow();
    EXPECT_EQ(header.substr(0, 10),
              alarms::FormatShortDate(now, alarms::SystemDateTimeFormat().dateSeparator))
        << header;
    EXPECT_GT(header.size(), 11u) << "the time follows the date: " << header;
    EXPECT_EQ(Text(GetDlgItem(hwnd, kSummaryButton1)), "\xc8\xae\xc0\xce(&O)");

    const HWND list = GetDlgItem(hwnd, kSummaryListView1);
    EXPECT_EQ(GetWindowLongA(list, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    const struct {
        const char* title;
        int width;
    } columns[] = {{"\xbd\xc3\xb0\xa3", 140}, {"\xb3\xbb\xbf\xeb", 357}};
    for (int i = 0; i < 2; ++i) {
        char title[32] = {};
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = title;
        column.cchTextMax = sizeof title;
        ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(title, columns[i].title);
        EXPECT_EQ(column.cx, columns[i].width);
    }
    form->AddRow("2001/05/12 14:30", "\xb0\xc5\xb7\xa1\xc3\xb3 \xb9\xe6\xb9\xae");
    form->AddRow("2001/05/12 14:30:30", "");
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(Cell(list, 0, 0), "2001/05/12 14:30");
    EXPECT_EQ(Cell(list, 0, 1), "\xb0\xc5\xb7\xa1\xc3\xb3 \xb9\xe6\xb9\xae");
    EXPECT_EQ(Cell(list, 1, 0), "2001/05/12 14:30:30");
    EXPECT_EQ(Cell(list, 1, 1), "");
    form->Free();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(owner.messages, 0);
    EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(SummaryWindowTest, OkTellsTheOwnerCloseBoxDoesNotAndEitherFrees)
{
    StandInOwner owner;
    TformSummary* first = TformSummary::Create(owner, owner.window);
    TformSummary* second = TformSummary::Create(owner, owner.window);
    TformSummary* third = TformSummary::Create(owner, owner.window);
    ASSERT_TRUE(first && second && third);
    const HWND firstWindow = first->Handle(), secondWindow = second->Handle();
    const HWND thirdWindow = third->Handle();

    SendMessageA(firstWindow, WM_COMMAND, MAKEWPARAM(kSummaryButton1, BN_CLICKED), 0);
    EXPECT_EQ(owner.messages, 1);
    EXPECT_EQ(owner.ownedAtMessage, 3) << "the sender is still counted";
    EXPECT_FALSE(IsWindow(firstWindow));

    SendMessageA(secondWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(secondWindow));
    EXPECT_EQ(owner.messages, 1) << "the close box sends nothing";
    EXPECT_EQ(owner.ComponentCount(), 1);

    // Enter anywhere in the window confirms, as its default button.
    SendMessageA(GetDlgItem(thirdWindow, kSummaryListView1), WM_KEYDOWN, VK_RETURN, 0);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    EXPECT_EQ(owner.messages, 2);
    EXPECT_FALSE(IsWindow(thirdWindow));
    EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(SummaryWindowTest, OwnerFreesWhatIsStillOpen)
{
    HWND left = nullptr;
    {
        StandInOwner owner;
        left = TformSummary::Create(owner, owner.window)->Handle();
        ASSERT_TRUE(IsWindow(left));
    }
    EXPECT_FALSE(IsWindow(left));
}

}  // namespace
