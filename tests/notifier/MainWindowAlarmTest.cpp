// The main window's alarm scan under Wine: the summary window, the alarm sound and the taskbar
// flash that goes on until OK is pressed on the last open summary window.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Application.h"
#include "ChildProcess.h"
#include "Exceptions.h"
#include "MessageLoop.h"
#include "Options.h"
#include "SystemDateTime.h"
#include "WindowSearch.h"
#include "chkMainUnit.h"
#include "chkSummaryUnit.h"

namespace {

// Now plus some seconds, written with the system's separators.
std::string Written(int secondsAhead)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME file;
    SystemTimeToFileTime(&now, &file);
    ULARGE_INTEGER ticks = {{file.dwLowDateTime, file.dwHighDateTime}};
    ticks.QuadPart += secondsAhead * 10000000ll;
    file = {ticks.LowPart, ticks.HighPart};
    FileTimeToSystemTime(&file, &now);
    const alarms::DateTimeFormat format = alarms::SystemDateTimeFormat();
    char text[64];
    std::snprintf(text, sizeof text, "%04d%c%02d%c%02d %02d%c%02d%c%02d", now.wYear,
                  format.dateSeparator, now.wMonth, format.dateSeparator, now.wDay, now.wHour,
                  format.timeSeparator, now.wMinute, format.timeSeparator, now.wSecond);
    return text;
}

// Counts the caption flips of the application window (FlashWindow sends it WM_NCACTIVATE).
int g_flashes = 0;
WNDPROC g_applicationRoutine = nullptr;
LRESULT CALLBACK CountingRoutine(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCACTIVATE)
        ++g_flashes;
    return CallWindowProcA(g_applicationRoutine, hwnd, message, wParam, lParam);
}

// Runs the message loop for a while, so that timers tick.
const auto Pump = testsupport::PumpMessagesFor;

class MainWindowAlarmTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ExeDir = testsupport::TempPath("larkbell-alarms\\");
        CreateDirectoryA(ExeDir.c_str(), nullptr);
        DeleteFileA(AlarmPath().c_str());
        ASSERT_TRUE(CopyFileA((testsupport::BinDir() + "Glyphpack.dll").c_str(),
                              (ExeDir + "Glyphpack.dll").c_str(), FALSE));
        // First-start settings: alarms on, no mail server, so no check runs at creation.
        RegDeleteKeyA(HKEY_CURRENT_USER, "software\\tessaly\\Larkbell\\setting");
        Application().Initialize();
        TformMainSeams seams;
        seams.shell = [](DWORD, TTrayNotifyData&) { return TRUE; };
        seams.playSound = [this](const char* sound, HMODULE module, DWORD flags) {
            sounds.push_back(sound);
            EXPECT_NE(module, nullptr);
            EXPECT_EQ(flags, DWORD{0x40004});  // SND_RESOURCE, played to its end
            if (soundFails)
                throw std::runtime_error("no sound device");
            return TRUE;
        };
        main = std::make_unique<TformMain>(seams);
        CurOption.UseAlarm = true;
    }
    void TearDown() override
    {
        main.reset();
        DeleteFileA(AlarmPath().c_str());
        DeleteFileA((ExeDir + "Glyphpack.dll").c_str());
        RemoveDirectoryA(ExeDir.c_str());
    }

    static std::string AlarmPath() { return ExeDir + "qAlarm.txt"; }
    static void WriteAlarms(const std::string& bytes)
    {
        FILE* file = std::fopen(AlarmPath().c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    static std::string Alarms() { return testsupport::ReadWholeFile(AlarmPath()); }
    // The visible summary windows, newest first.
    static std::vector<HWND> Shown()
    {
        std::vector<HWND> found;
        testsupport::FindThreadWindow([&found](HWND hwnd) {
            char name[32] = {};
            GetClassNameA(hwnd, name, sizeof name);
            if (IsWindowVisible(hwnd) && lstrcmpA(name, TformSummary::kClassName) == 0)
                found.push_back(hwnd);
            return false;
        });
        return found;
    }
    static int Rows(HWND summary)
    {
        return static_cast<int>(
            SendMessageA(GetDlgItem(summary, kSummaryListView1), LVM_GETITEMCOUNT, 0, 0));
    }
    static std::string Text(HWND hwnd)
    {
        char text[256] = {};
        GetWindowTextA(hwnd, text, sizeof text);
        return text;
    }
    static std::string Cell(HWND summary, int row, int column)
    {
        char text[256] = {};
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(GetDlgItem(summary, kSummaryListView1), LVM_GETITEMTEXTA, row,
                     reinterpret_cast<LPARAM>(&item));
        return text;
    }
    static void PressOk(HWND summary)
    {
        SendMessageA(summary, WM_COMMAND, MAKEWPARAM(kSummaryButton1, BN_CLICKED), 0);
    }
    bool TaskbarEntryShown() const { return IsWindowVisible(Application().Handle()) != FALSE; }

    std::unique_ptr<TformMain> main;
    std::vector<std::string> sounds;
    bool soundFails = false;
};

TEST_F(MainWindowAlarmTest, SummaryWindowCaptionSizeFontAndColumns)
{
    TformSummary* form = TformSummary::Create(*main, main->Handle());
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
    EXPECT_NEAR(frame.left + frame.right, GetSystemMetrics(SM_CXSCREEN), 2);
    EXPECT_NEAR(frame.top + frame.bottom, GetSystemMetrics(SM_CYSCREEN), 2);
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "\xb1\xbc\xb8\xb2");
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_EQ(font.lfCharSet, HANGUL_CHARSET);

    EXPECT_EQ(Text(GetDlgItem(hwnd, kSummaryLabel1)), "\xc7\xf6\xc0\xe7\xbd\xc3\xb0\xa3 :");
    const std::string header = Text(GetDlgItem(hwnd, kSummaryLabel2));
    const alarms::LocalTime now = alarms::LocalNow();
    EXPECT_EQ(header.substr(0, 10),
              alarms::FormatShortDate(now, alarms::SystemDateTimeFormat().dateSeparator));
    EXPECT_GT(header.size(), 11u) << "the time follows the date: " << header;
    EXPECT_EQ(Text(GetDlgItem(hwnd, kSummaryButton1)), "\xc8\xae\xc0\xce(&O)");
    const HWND list = GetDlgItem(hwnd, kSummaryListView1);
    EXPECT_EQ(GetWindowLongA(list, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    const char* titles[] = {"\xbd\xc3\xb0\xa3", "\xb3\xbb\xbf\xeb"};
    const int widths[] = {140, 357};
    for (int i = 0; i < 2; ++i) {
        char title[32] = {};
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = title;
        column.cchTextMax = sizeof title;
        ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(title, titles[i]);
        EXPECT_EQ(column.cx, widths[i]);
    }
    // The header ends with the second column: no stub of an empty one after it.
    RECT listClient;
    GetClientRect(list, &listClient);
    EXPECT_EQ(listClient.right, widths[0] + widths[1]);
    form->Free();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(main->SummaryWindowCount(), 0);
}

TEST_F(MainWindowAlarmTest, ThreeDueLinesMakeOneWindowAndOneSound)
{
    const std::string soon = Written(30), later = Written(600);
    const std::string content = soon + ",first12345678\r\n" + later + ",later12345678\r\n" + soon +
                                ",second12345678\n" + soon + ",third12345678";
    WriteAlarms(content);
    CurOption.UseAlarm = false;
    main->CheckAlarms();
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(Alarms(), content);

    CurOption.UseAlarm = true;
    main->CheckAlarms();
    const std::vector<HWND> shown = Shown();
    ASSERT_EQ(shown.size(), 1u);
    ASSERT_EQ(Rows(shown[0]), 3);
    EXPECT_EQ(Cell(shown[0], 0, 0), soon);
    EXPECT_EQ(Cell(shown[0], 0, 1), "first");
    EXPECT_EQ(Cell(shown[0], 1, 1), "second");
    EXPECT_EQ(Cell(shown[0], 2, 1), "third");
    EXPECT_EQ(sounds, std::vector<std::string>{"WAV_WAVE4"});
    EXPECT_EQ(Alarms(), later + ",later12345678\r\n");
    EXPECT_TRUE(main->timerForFlash.Enabled());
    EXPECT_EQ(main->timerForFlash.Interval(), 1000u);
    EXPECT_TRUE(TaskbarEntryShown()) << "the flash shows on the taskbar entry";

    main->CheckAlarms();  // nothing due any more: no window, no sound
    EXPECT_EQ(main->SummaryWindowCount(), 1);
    EXPECT_EQ(sounds.size(), 1u);
    main.reset();  // windows still open go with the main window
    EXPECT_FALSE(IsWindow(shown[0]));
}

TEST_F(MainWindowAlarmTest, FlashStopsOnlyAfterOkOnTheLastWindow)
{
    WriteAlarms(Written(20) + ",first scan12345678\r\n");
    main->CheckAlarms();
    WriteAlarms(Written(20) + ",second scan12345678\r\n");
    main->CheckAlarms();
    const std::vector<HWND> shown = Shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(main->SummaryWindowCount(), 2);
    EXPECT_TRUE(main->timerForFlash.Enabled());
    const HWND application = Application().Handle();
    g_applicationRoutine = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(application, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingRoutine)));
    g_flashes = 0;
    Pump(2500);
    EXPECT_GE(g_flashes, 2) << "the application window flashes once a second";

    PressOk(shown[1]);
    EXPECT_FALSE(IsWindow(shown[1]));
    EXPECT_TRUE(main->timerForFlash.Enabled()) << "another summary window is still open";
    // Enter in the list confirms too, as the window's default button.
    SendMessageA(GetDlgItem(shown[0], kSummaryListView1), WM_KEYDOWN, VK_RETURN, 0);
    Pump(50);
    EXPECT_FALSE(IsWindow(shown[0]));
    EXPECT_FALSE(main->timerForFlash.Enabled());
    EXPECT_EQ(main->SummaryWindowCount(), 0);
    EXPECT_FALSE(TaskbarEntryShown());
    Pump(200);
    g_flashes = 0;
    Pump(1500);
    EXPECT_EQ(g_flashes, 0);
    SetWindowLongPtrA(application, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_applicationRoutine));
}

// The flash message stops the flashing unless more than one summary window is open; other
// windows the main window owns do not count.
TEST_F(MainWindowAlarmTest, FlashMessageCountsOnlySummaryWindows)
{
    struct Summary : TOwnedComponent {
        const char* ClassName() const override { return "TformSummary"; }
    };
    struct Other : TOwnedComponent {
        const char* ClassName() const override { return "TformOther"; }
    };
    main->InsertComponent(new Other);
    for (int open : {2, 1, 0}) {
        while (main->SummaryWindowCount() < open)
            main->InsertComponent(new Summary);
        while (main->SummaryWindowCount() > open)
            main->RemoveComponent(main->Components(main->ComponentCount() - 1));
        main->timerForFlash.SetEnabled(true);
        SendMessageA(main->Handle(), 1125, 0, 0);
        EXPECT_EQ(main->timerForFlash.Enabled(), open > 1) << open << " summary windows";
    }
}

TEST_F(MainWindowAlarmTest, CloseBoxLeavesTheFlashOn)
{
    WriteAlarms(Written(20) + ",closed with the box12345678\r\n");
    main->CheckAlarms();
    const std::vector<HWND> shown = Shown();
    ASSERT_EQ(shown.size(), 1u);
    SendMessageA(shown[0], WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(shown[0]));
    EXPECT_EQ(main->SummaryWindowCount(), 0);
    EXPECT_TRUE(main->timerForFlash.Enabled());
}

TEST_F(MainWindowAlarmTest, UnreadableDateShowsNothingAndKeepsTheFile)
{
    const std::string content = Written(30) + ",due12345678\r\n2001/13/45,bad\r\n";
    WriteAlarms(content);
    try {
        main->CheckAlarms();
        ADD_FAILURE() << "no error raised";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), "'2001/13/45' is not a valid date and time");
    }
    EXPECT_EQ(main->SummaryWindowCount(), 0);
    EXPECT_TRUE(sounds.empty());
    EXPECT_FALSE(main->timerForFlash.Enabled());
    EXPECT_EQ(Alarms(), content);
}

// Each scan's error goes to the error box, whose modal loop keeps the alarm timer ticking:
// a scan that finds the last one still open does not open another inside it.
TEST_F(MainWindowAlarmTest, ScanErrorsOpenOneBoxAtATime)
{
    WriteAlarms("2001/13/45,bad\r\n");
    int open = 0, deepest = 0, boxes = 0;
    Application().MessageBoxFunction = [&](HWND, const std::string&, const std::string&, UINT) {
        ++boxes;
        deepest = std::max(deepest, ++open);
        if (open < 4)   // deeper boxes close at once, so that a nesting fault ends
            Pump(500);  // the box waits for the user; messages go on meanwhile
        --open;
        return IDOK;
    };
    main->timerAlarm.SetInterval(100);
    main->timerAlarm.SetEnabled(true);
    Pump(1300);
    main->timerAlarm.SetEnabled(false);
    Application().MessageBoxFunction = nullptr;
    EXPECT_EQ(deepest, 1);
    EXPECT_GE(boxes, 2) << "the scans go on and report again once the box is closed";
}

// A failure after the scan has taken the due lines out of the file (here the sound) neither
// loses them nor leaves a hidden summary window behind, counted as open.
TEST_F(MainWindowAlarmTest, SummaryWindowIsShownOrFreedOnEveryPath)
{
    WriteAlarms(Written(20) + ",sound fails12345678\r\n");
    soundFails = true;
    main->CheckAlarms();
    EXPECT_EQ(sounds.size(), 1u);
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(main->SummaryWindowCount(), 1);
    EXPECT_EQ(Cell(Shown()[0], 0, 1), "sound fails");
    EXPECT_EQ(Alarms(), "");
}

}  // namespace
