// The alarm summary window and the alarm scan as the main window runs it, under Wine.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "AlarmCheck.h"
#include "Exceptions.h"
#include "SystemDateTime.h"
#include "chkSummaryUnit.h"

namespace {

// A hidden window standing in for the main window: it records message 1125 and how many
// summary windows it owned when the message came.
struct OwnerRecord {
    int messages = 0;
    int ownedAtMessage = -1;
};
OwnerRecord g_record;

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CHECKFINISHFLASHTIME) {
        ++g_record.messages;
        g_record.ownedAtMessage = TformSummary::CountOwnedBy(hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class SummaryWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = OwnerProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "SummaryTestOwner";
        RegisterClassA(&windowClass);
        owner = CreateWindowExA(0, "SummaryTestOwner", "owner", WS_OVERLAPPED, 0, 0, 100, 100,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(owner, nullptr);
        g_record = OwnerRecord();
    }
    void TearDown() override { DestroyWindow(owner); }

    std::vector<HWND> Summaries() const
    {
        std::vector<HWND> found;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND hwnd, LPARAM param) -> BOOL {
                char name[32] = {};
                GetClassNameA(hwnd, name, sizeof name);
                if (lstrcmpA(name, TformSummary::kClassName) == 0)
                    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }

    static std::string Text(HWND hwnd)
    {
        char text[256] = {};
        GetWindowTextA(hwnd, text, sizeof text);
        return text;
    }

    static std::string Cell(HWND list, int row, int column)
    {
        char text[256] = {};
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        return text;
    }

    HWND owner = nullptr;
};

TEST_F(SummaryWindowTest, LooksAsTheAlarmSummary)
{
    TformSummary* form = TformSummary::Create(owner);
    ASSERT_NE(form, nullptr);
    const HWND hwnd = form->Handle();
    EXPECT_EQ(Text(hwnd), "\xbe\xcb\xb6\xf7 \xb0\xa3\xb7\xab\xc8\xf7 \xba\xb8\xb1\xe2");
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_EQ(GetWindow(hwnd, GW_OWNER), owner);
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
    EXPECT_EQ(g_record.messages, 0);
}

TEST_F(SummaryWindowTest, OkTellsTheOwnerThenCloseBoxTellsNothing)
{
    TformSummary* first = TformSummary::Create(owner);
    TformSummary* second = TformSummary::Create(owner);
    ASSERT_TRUE(first && second);
    first->Show();
    second->Show();
    const HWND firstWindow = first->Handle(), secondWindow = second->Handle();
    EXPECT_EQ(TformSummary::CountOwnedBy(owner), 2);

    SendMessageA(firstWindow, WM_COMMAND, MAKEWPARAM(kSummaryButton1, BN_CLICKED), 0);
    EXPECT_EQ(g_record.messages, 1);
    EXPECT_EQ(g_record.ownedAtMessage, 2) << "the sender is still counted";
    EXPECT_FALSE(IsWindow(firstWindow));

    SendMessageA(secondWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(secondWindow));
    EXPECT_EQ(g_record.messages, 1) << "the close box sends nothing";
    EXPECT_EQ(TformSummary::CountOwnedBy(owner), 0);
}

// The scan as the main window runs it, on a folder of its own.
class AlarmCheckTest : public SummaryWindowTest {
protected:
    void SetUp() override
    {
        SummaryWindowTest::SetUp();
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        dir = std::string(temp) + "larkbell-alarm-check\\";
        CreateDirectoryA(dir.c_str(), nullptr);
    }
    void TearDown() override
    {
        for (HWND hwnd : Summaries())
            DestroyWindow(hwnd);
        DeleteFileA((dir + "qAlarm.txt").c_str());
        RemoveDirectoryA(dir.c_str());
        SummaryWindowTest::TearDown();
    }

    void WriteAlarms(const std::string& bytes)
    {
        FILE* file = std::fopen((dir + "qAlarm.txt").c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    std::string Alarms() const
    {
        std::string bytes;
        if (FILE* file = std::fopen((dir + "qAlarm.txt").c_str(), "rb")) {
            char buffer[4096];
            for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
                bytes.append(buffer, got);
            std::fclose(file);
        }
        return bytes;
    }
    // Now plus some seconds, written with the system's separators.
    static std::string Written(int secondsAhead)
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
    void Check(bool useAlarm)
    {
        alarms::RunAlarmCheck(owner, dir, useAlarm, [this] { ++flashStarts; });
    }

    std::string dir;
    int flashStarts = 0;
};

TEST_F(AlarmCheckTest, ThreeDueLinesInOneWindow)
{
    const std::string soon = Written(30), later = Written(600);
    const std::string content = soon + ",first12345678\r\n" + later + ",later12345678\r\n" + soon +
                                ",second12345678\n" + soon + ",third12345678";
    WriteAlarms(content);
    Check(false);
    EXPECT_TRUE(Summaries().empty());
    EXPECT_EQ(Alarms(), content);  // alarms off: untouched

    Check(true);
    const std::vector<HWND> shown = Summaries();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(IsWindowVisible(shown[0]));
    EXPECT_EQ(flashStarts, 1);
    const HWND list = GetDlgItem(shown[0], kSummaryListView1);
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(Cell(list, 0, 0), soon);
    EXPECT_EQ(Cell(list, 0, 1), "first");
    EXPECT_EQ(Cell(list, 1, 1), "second");
    EXPECT_EQ(Cell(list, 2, 1), "third");
    EXPECT_EQ(Alarms(), later + ",later12345678\r\n");

    Check(true);  // nothing due any more: no second window
    EXPECT_EQ(Summaries().size(), 1u);
    EXPECT_EQ(flashStarts, 1);
}

TEST_F(AlarmCheckTest, UnreadableDateShowsNothingAndKeepsTheFile)
{
    const std::string content = Written(30) + ",due12345678\r\n2001/13/45,bad\r\n";
    WriteAlarms(content);
    try {
        Check(true);
        ADD_FAILURE() << "no error raised";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), "'2001/13/45' is not a valid date and time");
    }
    EXPECT_TRUE(Summaries().empty());
    EXPECT_EQ(flashStarts, 0);
    EXPECT_EQ(Alarms(), content);
}

}  // namespace
