// The tray icon through a seam that records every shell call with its record: the record's
// fields, the tool-tip rules, animation on and off, the paused thread, the mouse table and the
// pop-up menu.
#include "TrayIcon.h"
#include "MessageLoop.h"
#include "TestIcons.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ShellCall {
    DWORD message;
    TTrayNotifyData data;
};

// A tray icon whose shell calls are recorded instead of made.
class RecordedTray {
public:
    std::vector<ShellCall> calls;
    BOOL answer = TRUE;
    TTrayIcon tray{[this](DWORD message, TTrayNotifyData& data) {
        calls.push_back({message, data});
        return message == NIM_ADD ? answer : TRUE;
    }};

    std::vector<DWORD> Messages() const
    {
        std::vector<DWORD> messages;
        for (const ShellCall& call : calls)
            messages.push_back(call.message);
        return messages;
    }
    const TTrayNotifyData& Last() const { return calls.back().data; }
};

// The animation steps arrive as messages.
const auto Pump = testsupport::PumpMessagesFor;

// Pumps until the tray has made at least n shell calls, at most two seconds.
bool PumpUntilCalls(const RecordedTray& recorded, std::size_t n)
{
    for (int i = 0; i < 200 && recorded.calls.size() < n; ++i)
        Pump(10);
    return recorded.calls.size() >= n;
}

TEST(TrayIconTest, ShownOnceAPictureIsThereWithTheShellRecord)
{
    RecordedTray recorded;
    TTrayIcon& tray = recorded.tray;
    EXPECT_TRUE(tray.Active());
    EXPECT_EQ(tray.Interval(), 150);
    EXPECT_EQ(tray.FrameIndex(), -1);
    tray.SetHint("no mail");
    EXPECT_TRUE(recorded.calls.empty() ||
                recorded.Messages() == std::vector<DWORD>(recorded.calls.size(), NIM_DELETE));
    EXPECT_FALSE(tray.Added());

    recorded.calls.clear();
    TIcon red;
    Paint(red, 0xFF0000);
    tray.SetIcon(red);
    ASSERT_EQ(recorded.Messages(), (std::vector<DWORD>{NIM_DELETE, NIM_ADD}));
    const TTrayNotifyData& data = recorded.Last();
    EXPECT_EQ(data.cbSize, sizeof(TTrayNotifyData));
    EXPECT_EQ(data.hWnd, tray.Handle());
    EXPECT_EQ(data.uID, 0u);
    EXPECT_EQ(data.uFlags, 7u);
    EXPECT_EQ(data.uCallbackMessage, 45140u);
    EXPECT_EQ(data.hIcon, tray.Icon().Handle());
    EXPECT_STREQ(data.szTip, "no mail");
    EXPECT_TRUE(tray.Added());
}

TEST(TrayIconTest, HintShowsItsFirstPartCutToSixtyThreeCharacters)
{
    RecordedTray recorded;
    TIcon red;
    Paint(red, 0xFF0000);
    recorded.tray.SetIcon(red);
    struct Case {
        std::string hint;
        std::string tip;
    } cases[] = {
        {"checking|details", "checking"},
        {std::string(70, 'm'), std::string(63, 'm')},
        {"", ""},
    };
    for (const Case& c : cases) {
        recorded.calls.clear();
        recorded.tray.SetHint(c.hint);
        ASSERT_EQ(recorded.Messages(), std::vector<DWORD>{NIM_MODIFY});
        EXPECT_EQ(std::string(recorded.Last().szTip), c.tip);
    }
    recorded.calls.clear();
    recorded.tray.SetHint("");  // the same text again: nothing to do
    EXPECT_TRUE(recorded.calls.empty());
}

TEST(TrayIconTest, AnimationCyclesFramesAndClearingFramesShowsTheStillIcon)
{
    RecordedTray recorded;
    TTrayIcon& tray = recorded.tray;
    TIcon still;
    Paint(still, 0x808080);
    tray.SetIcon(still);

    tray.SetAnimated(true);  // no frames: nothing happens
    EXPECT_FALSE(tray.Animated());
    EXPECT_FALSE(tray.AnimationRunning());

    const std::uint32_t colours[] = {0xFF0000, 0x00FF00, 0x0000FF};
    for (std::uint32_t colour : colours) {
        TIcon frame;
        Paint(frame, colour);
        tray.Icons().Add(frame);
    }
    tray.SetInterval(10);
    recorded.calls.clear();
    tray.SetAnimated(true);
    EXPECT_TRUE(tray.Animated());
    EXPECT_EQ(tray.FrameIndex(), 0);
    ASSERT_TRUE(PumpUntilCalls(recorded, 5));
    tray.SetAnimated(false);
    std::vector<HICON> shown;
    for (const ShellCall& call : recorded.calls) {
        EXPECT_EQ(call.message, static_cast<DWORD>(NIM_MODIFY));
        shown.push_back(call.data.hIcon);
    }
    for (std::size_t i = 0; i + 1 < shown.size(); ++i) {
        EXPECT_EQ(shown[i], tray.Icons().Items(static_cast<int>(i % 3))->Handle()) << "step " << i;
    }
    EXPECT_EQ(shown.back(), tray.Icon().Handle());  // animation off: the still icon

    tray.SetAnimated(true);
    recorded.calls.clear();
    tray.Icons().Clear();
    EXPECT_FALSE(tray.Animated());
    EXPECT_FALSE(tray.AnimationRunning());
    ASSERT_FALSE(recorded.calls.empty());
    EXPECT_EQ(recorded.Last().hIcon, tray.Icon().Handle());
    const std::size_t afterClear = recorded.calls.size();
    Pump(60);  // no frame steps after the animation ended
    EXPECT_EQ(recorded.calls.size(), afterClear);
}

TEST(TrayIconTest, AnimationWaitsPausedUntilTheIconIsShown)
{
    RecordedTray recorded;
    TTrayIcon& tray = recorded.tray;
    TIcon frame;
    Paint(frame, 0x00FF00);
    tray.Icons().Add(frame);
    Paint(frame, 0x0000FF);
    tray.Icons().Add(frame);
    tray.SetInterval(10);
    tray.SetActive(false);
    recorded.calls.clear();
    tray.SetAnimated(true);
    EXPECT_TRUE(tray.AnimationPaused());
    Pump(80);
    EXPECT_TRUE(recorded.calls.empty());
    EXPECT_EQ(tray.FrameIndex(), 0);

    tray.SetActive(true);
    ASSERT_EQ(recorded.Messages(), (std::vector<DWORD>{NIM_DELETE, NIM_ADD}));
    EXPECT_EQ(recorded.Last().hIcon, tray.Icons().Items(0)->Handle());
    EXPECT_FALSE(tray.AnimationPaused());
    EXPECT_TRUE(PumpUntilCalls(recorded, 3));

    tray.SetActive(false);  // hidden: the thread pauses again
    EXPECT_TRUE(tray.AnimationPaused());
    EXPECT_EQ(recorded.calls.back().message, static_cast<DWORD>(NIM_DELETE));
}

TEST(TrayIconTest, EmptyPictureOrRefusedAddLeavesTheIconOut)
{
    RecordedTray recorded;
    TTrayIcon& tray = recorded.tray;
    TIcon red;
    Paint(red, 0xFF0000);
    tray.SetIcon(red);
    ASSERT_TRUE(tray.Added());
    recorded.calls.clear();
    tray.SetIcon(TIcon());
    EXPECT_EQ(recorded.Messages(), std::vector<DWORD>{NIM_DELETE});
    EXPECT_FALSE(tray.Added());

    recorded.answer = FALSE;
    tray.SetIcon(red);
    EXPECT_FALSE(tray.Added());
    recorded.answer = TRUE;
    recorded.calls.clear();
    tray.SetHint("again");  // the next change tries once more
    EXPECT_EQ(recorded.Messages(), (std::vector<DWORD>{NIM_DELETE, NIM_ADD}));
    EXPECT_TRUE(tray.Added());
}

TEST(TrayIconTest, DestructionTakesTheIconOut)
{
    std::vector<DWORD> messages;
    {
        TTrayIcon tray([&](DWORD message, TTrayNotifyData&) {
            messages.push_back(message);
            return TRUE;
        });
        TIcon red;
        Paint(red, 0xFF0000);
        tray.Icons().Add(red);
        tray.SetIcon(red);
        tray.SetInterval(1);
        tray.SetAnimated(true);
        Pump(20);
    }
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), static_cast<DWORD>(NIM_DELETE));
    const std::size_t atEnd = messages.size();
    Pump(30);  // a frame step posted before the end finds no tray
    EXPECT_EQ(messages.size(), atEnd);
}

// One event as the tests see it.
struct Event {
    std::string name;
    int button;
    TShiftState shift;
    bool operator==(const Event& other) const
    {
        return name == other.name && button == other.button && shift == other.shift;
    }
};

std::ostream& operator<<(std::ostream& out, const Event& event)
{
    return out << event.name << "(" << event.button << "," << event.shift << ")";
}

// A shown tray icon with a menu whose showing is recorded, and every event recorded.
class MouseFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        TIcon red;
        Paint(red, 0xFF0000);
        recorded.tray.SetIcon(red);
        menu.Track = [this](HMENU, int, int, HWND) {
            ++menuShown;
            return 0u;
        };
        TTrayIcon& tray = recorded.tray;
        tray.OnClick = [this](TTrayIcon&, TMouseButton b, TShiftState s, int, int) {
            events.push_back({"click", static_cast<int>(b), s});
        };
        tray.OnDblClick = [this](TTrayIcon&) { events.push_back({"dblclick", -1, 0}); };
        tray.OnMouseDown = [this](TTrayIcon&, TMouseButton b, TShiftState s, int, int) {
            events.push_back({"down", static_cast<int>(b), s});
        };
        tray.OnMouseUp = [this](TTrayIcon&, TMouseButton b, TShiftState s, int, int) {
            events.push_back({"up", static_cast<int>(b), s});
        };
        tray.OnMouseMove = [this](TTrayIcon&, TShiftState s, int, int) {
            events.push_back({"move", -1, s});
        };
    }

    void Send(std::initializer_list<UINT> mouseMessages)
    {
        for (UINT message : mouseMessages)
            SendMessageA(recorded.tray.Handle(), kTrayCallbackMessage, 0, message);
    }

    RecordedTray recorded;
    TPopupMenu menu;
    int menuShown = 0;
    std::vector<Event> events;
};

TEST_F(MouseFixture, MouseTableWithoutMenu)
{
    Send({WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
          WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK,
          WM_LBUTTONUP /* no press before it: no click */});
    const std::vector<Event> expected = {
        {"move", -1, 0},       {"down", 0, ssLeft},   {"click", 0, ssLeft},  {"up", 0, ssLeft},
        {"dblclick", -1, 0},   {"down", 0, ssDouble}, {"down", 1, ssRight},  {"click", 1, ssRight},
        {"up", 1, ssRight},    {"down", 1, ssDouble}, {"down", 2, ssMiddle}, {"up", 2, ssMiddle},
        {"down", 2, ssDouble}, {"up", 0, ssLeft},
    };
    EXPECT_EQ(events, expected);
}

// A main form that counts the mouse-mode cancels it gets.
int g_cancelModes = 0;
LRESULT CALLBACK CountingCancelMode(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    g_cancelModes += message == WM_CANCELMODE;
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(MouseFixture, RightClickPopsTheMenuInsteadOfClicking)
{
    recorded.tray.SetPopupMenu(&menu);
    // No form of the program is active: the pending mouse mode cancelled is the main form's.
    WNDCLASSA formClass{};
    formClass.lpfnWndProc = &CountingCancelMode;
    formClass.hInstance = GetModuleHandleA(nullptr);
    formClass.lpszClassName = "TrayIconTestMainForm";
    RegisterClassA(&formClass);
    HWND mainForm = CreateWindowExA(0, formClass.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                    nullptr, formClass.hInstance, nullptr);
    recorded.tray.MainForm = mainForm;
    ASSERT_EQ(GetActiveWindow(), nullptr);
    Send({WM_RBUTTONDOWN, WM_RBUTTONUP});
    EXPECT_EQ(g_cancelModes, 1);
    DestroyWindow(mainForm);
    EXPECT_EQ(menuShown, 1);
    EXPECT_EQ(menu.PopupComponent, &recorded.tray);
    const std::vector<Event> expected = {{"down", 1, ssRight}, {"up", 1, ssRight}};
    EXPECT_EQ(events, expected);

    menu.AutoPopup = false;  // a menu that does not pop up by itself: the click is reported
    events.clear();
    Send({WM_RBUTTONDOWN, WM_RBUTTONUP});
    EXPECT_EQ(menuShown, 1);
    EXPECT_EQ(events[1], (Event{"click", 1, ssRight}));

    menu.AutoPopup = true;
    recorded.tray.SetActive(false);
    EXPECT_FALSE(recorded.tray.PopupAt(0, 0));
    EXPECT_EQ(menuShown, 1);
}

TEST_F(MouseFixture, DoubleClickRunsTheEnabledDefaultItem)
{
    int runs = 0;
    menu.Add("popOpen", "Open", [&](TMenuItem&) { ++runs; });
    menu.Add("popOther", "Other", [&](TMenuItem&) { runs += 100; }).Default = true;
    recorded.tray.SetPopupMenu(&menu);

    menu.Items(1).Enabled = false;  // the default item is disabled: not run
    menu.Items(0).Default = false;
    Send({WM_LBUTTONDBLCLK});
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(events.front(), (Event{"dblclick", -1, 0}));

    menu.Items(1).Enabled = true;
    events.clear();
    Send({WM_LBUTTONDBLCLK});
    EXPECT_EQ(runs, 100);
    EXPECT_EQ(events, (std::vector<Event>{{"down", 0, ssDouble}}));
}

TEST_F(MouseFixture, HandlerErrorsGoToOnErrorAndTheMenuReferenceDiesWithTheMenu)
{
    std::string reported;
    recorded.tray.OnError = [&](const std::exception& error) { reported = error.what(); };
    recorded.tray.OnMouseMove = [](TTrayIcon&, TShiftState, int, int) {
        throw std::runtime_error("handler failed");
    };
    Send({WM_MOUSEMOVE});
    EXPECT_EQ(reported, "handler failed");

    auto own = std::make_unique<TPopupMenu>();
    recorded.tray.SetPopupMenu(own.get());
    own.reset();
    EXPECT_EQ(recorded.tray.PopupMenu(), nullptr);
    events.clear();
    Send({WM_RBUTTONDOWN, WM_RBUTTONUP});
    EXPECT_EQ(events[1], (Event{"click", 1, ssRight}));
}

TEST(PopupMenuTest, ShowsChecksAndDefaultAndRunsTheChosenItemFromTheMessageLoop)
{
    TPopupMenu menu;
    std::vector<std::string> clicked;
    auto note = [&](TMenuItem& item) { clicked.push_back(item.Name); };
    menu.Add("popCheckNow", "Check now", note);
    menu.Add("N3", "-");
    menu.Add("popEnabled", "Enabled", note).Checked = true;
    menu.Add("popExit", "Exit", note).Default = true;
    UINT chosen = 0;
    UINT states[4] = {};
    UINT defaultCommand = 0;
    UINT exitCommand = 0;
    menu.Track = [&](HMENU shown, int, int, HWND owner) {
        EXPECT_EQ(owner, menu.Window());
        EXPECT_EQ(GetMenuItemCount(shown), 4);
        for (int i = 0; i < 4; ++i)
            states[i] = GetMenuState(shown, i, MF_BYPOSITION);
        defaultCommand = GetMenuDefaultItem(shown, FALSE, 0);
        exitCommand = GetMenuItemID(shown, 3);
        chosen = GetMenuItemID(shown, 2);
        return chosen;
    };
    menu.Popup(10, 10);
    EXPECT_EQ(states[0] & MF_CHECKED, 0u);
    EXPECT_NE(states[1] & MF_SEPARATOR, 0u);
    EXPECT_NE(states[2] & MF_CHECKED, 0u);
    EXPECT_EQ(defaultCommand, exitCommand);
    EXPECT_TRUE(clicked.empty());  // not inside Popup
    Pump(20);
    EXPECT_EQ(clicked, std::vector<std::string>{"popEnabled"});
    EXPECT_EQ(menu.Find("missing"), nullptr);
}

}  // namespace
