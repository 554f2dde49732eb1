// The launchers as a user meets them: real windows of the suite's class owned by
// another process, real program starts recorded by stub programs.
#include <windows.h>

#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "LaunchOrActivate.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using testsupport::BinDir;

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

struct WindowSpec {
    std::string className;
    std::string title;  // ANSI bytes
};

// Runs a command line and waits for it; returns its exit code.
DWORD RunAndWait(const std::string& commandLine, const std::string& dir)
{
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = commandLine;
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si,
                        &pi))
        return 0xFFFFFFFF;
    WaitForSingleObject(pi.hProcess, 20000);
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

std::vector<std::string> ReadLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            lines.push_back(line);
    return lines;
}

class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        dir_ = std::string(temp) + "launcher-test-" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(++counter_) + "\\";
        CreateDirectoryA(dir_.c_str(), nullptr);
        const std::string bin = BinDir();
        for (const char* launcher : {"launch-main.exe", "launch-data.exe"})
            ASSERT_TRUE(CopyFileA((bin + launcher).c_str(), (dir_ + launcher).c_str(), FALSE))
                << launcher;
        for (const char* stub : {"prelude.exe", "pm2000.exe", "recordkeep.exe"})
            ASSERT_TRUE(
                CopyFileA((bin + "start_recorder.exe").c_str(), (dir_ + stub).c_str(), FALSE));
        MakeDistractorForeground();
    }

    void TearDown() override
    {
        if (helper_.hProcess) {
            TerminateProcess(helper_.hProcess, 0);
            WaitForSingleObject(helper_.hProcess, 5000);
            CloseHandle(helper_.hProcess);
            CloseHandle(helper_.hThread);
        }
        // Stubs may still be finishing; their folders are removed once all tests ran.
        leftovers().push_back(dir_);
    }

    static std::vector<std::string>& leftovers()
    {
        static std::vector<std::string> dirs;
        return dirs;
    }

    static bool RemoveFolder(const std::string& dir)
    {
        for (const char* f : {"launch-main.exe", "launch-data.exe", "prelude.exe", "pm2000.exe",
                              "recordkeep.exe", "starts.log", "handles.txt"})
            DeleteFileA((dir + f).c_str());
        return RemoveDirectoryA(dir.c_str()) != 0;
    }

public:
    static void RemoveLeftovers()
    {
        for (int attempt = 0; attempt < 100 && !leftovers().empty(); ++attempt) {
            auto& dirs = leftovers();
            dirs.erase(std::remove_if(dirs.begin(), dirs.end(), RemoveFolder), dirs.end());
            if (!dirs.empty())
                Sleep(50);
        }
    }

protected:
    // A window of the test's own that holds the foreground before the launcher runs.
    void MakeDistractorForeground()
    {
        // One window for the whole program: destroying a foreground window costs Wine
        // a long wait for the display.
        static HWND window =
            CreateWindowExA(0, "STATIC", "distractor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 400,
                            200, 100, nullptr, nullptr, nullptr, nullptr);
        distractor_ = window;
        SetForegroundWindow(distractor_);
        Pump();
    }

    static void Pump()
    {
        for (int i = 0; i < 10; ++i) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
            Sleep(10);
        }
    }

    // Opens the windows in another process, first given lowest; returns their handles.
    std::vector<HWND> OpenWindows(const std::vector<WindowSpec>& specs)
    {
        std::string handles = dir_ + "handles.txt";
        std::string cmd = "\"" + BinDir() + "fox_window.exe\" \"" + handles + "\"";
        for (const WindowSpec& s : specs)
            cmd += " " + s.className + ":" + Hex(s.title);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir_.c_str(),
                            &si, &helper_))
            return {};
        std::vector<HWND> windows;
        for (int i = 0; i < 500 && windows.size() < specs.size(); ++i) {
            Sleep(10);
            windows.clear();
            for (const std::string& line : ReadLines(handles))
                windows.push_back(reinterpret_cast<HWND>(std::stoul(line)));
        }
        SetForegroundWindow(distractor_);
        Pump();
        return windows;
    }

    DWORD Run(const char* launcher) { return RunAndWait("\"" + dir_ + launcher + "\"", dir_); }

    // Names of the programs started, in the order of their creation.
    std::vector<std::string> Started(size_t expected)
    {
        std::vector<std::string> lines;
        for (int i = 0; i < 300; ++i) {
            lines = ReadLines(dir_ + "starts.log");
            if (lines.size() >= expected)
                break;
            Sleep(10);
        }
        if (expected == 0)
            Sleep(300);  // nothing should appear even after a while
        lines = ReadLines(dir_ + "starts.log");
        std::vector<std::pair<unsigned long long, std::string>> entries;
        for (const std::string& line : lines) {
            std::istringstream in(line);
            std::string name;
            unsigned long long when = 0;
            in >> name >> when;
            entries.emplace_back(when, name);
        }
        std::stable_sort(entries.begin(), entries.end(),
                         [](auto& a, auto& b) { return a.first < b.first; });
        std::vector<std::string> names;
        for (auto& e : entries)
            names.push_back(e.second);
        return names;
    }

    std::string dir_;
    HWND distractor_ = nullptr;
    PROCESS_INFORMATION helper_{};
    static int counter_;
};

int LauncherTest::counter_ = 0;

class LeftoverCleanup : public ::testing::Environment {
public:
    void TearDown() override { LauncherTest::RemoveLeftovers(); }
};

const auto* const kCleanup = ::testing::AddGlobalTestEnvironment(new LeftoverCleanup);

using Names = std::vector<std::string>;
const char kFox[] = "Fox_100000001";

TEST_F(LauncherTest, RunningApplicationIsBroughtForwardAndNothingStarts)
{
    auto windows = OpenWindows({{kFox, "Pomaria Pomaria2000"}});
    ASSERT_EQ(windows.size(), 1u);
    ASSERT_NE(GetForegroundWindow(), windows[0]);
    EXPECT_EQ(Run("launch-main.exe"), 1u);
    EXPECT_EQ(GetForegroundWindow(), windows[0]);
    EXPECT_EQ(Started(0), Names{});
}

TEST_F(LauncherTest, NotRunningStartsBothProgramsInOrder)
{
    EXPECT_EQ(Run("launch-main.exe"), 1u);
    EXPECT_EQ(Started(2), (Names{"prelude.exe", "pm2000.exe"}));
}

TEST_F(LauncherTest, DataManagerNotRunningStartsItsProgram)
{
    EXPECT_EQ(Run("launch-data.exe"), 1u);
    EXPECT_EQ(Started(1), Names{"recordkeep.exe"});
}

TEST_F(LauncherTest, MissingFirstProgramStillStartsTheSecond)
{
    ASSERT_TRUE(DeleteFileA((dir_ + "prelude.exe").c_str()));
    EXPECT_EQ(Run("launch-main.exe"), 1u);
    EXPECT_EQ(Started(1), Names{"pm2000.exe"});
}

TEST_F(LauncherTest, DataManagerRunningIsBroughtForward)
{
    // "Ledgerwise" ends exactly at byte 21, the last one read.
    auto windows = OpenWindows({{kFox, "12345678901Ledgerwise"}});
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(Run("launch-data.exe"), 1u);
    EXPECT_EQ(GetForegroundWindow(), windows[0]);
    EXPECT_EQ(Started(0), Names{});
}

TEST_F(LauncherTest, TitleTextBeginningTooLateIsNotRecognised)
{
    // Begins at byte 12: its last byte would be the 22nd, one past what is read.
    auto windows = OpenWindows({{kFox, "123456789012Ledgerwise"}});
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(Run("launch-data.exe"), 1u);
    EXPECT_NE(GetForegroundWindow(), windows[0]);
    EXPECT_EQ(Started(1), Names{"recordkeep.exe"});
}

TEST_F(LauncherTest, MainTitleLimitIs24Bytes)
{
    auto late = OpenWindows({{kFox, "xxxxxxPomaria Pomaria2000"}});
    ASSERT_EQ(late.size(), 1u);
    EXPECT_EQ(Run("launch-main.exe"), 1u);
    EXPECT_EQ(Started(2), (Names{"prelude.exe", "pm2000.exe"}));
}

TEST_F(LauncherTest, KoreanTitleWithinTheBytesReadIsRecognised)
{
    ASSERT_EQ(GetACP(), 949u) << "the test needs the Korean ANSI code page";
    // Four bytes of Korean text, a space, then the searched text: 24 bytes in all.
    auto windows = OpenWindows({{kFox, "\xC6\xF7\xB8\xB6 Pomaria Pomaria2000"}});
    ASSERT_EQ(windows.size(), 1u);
    char title[64] = {};
    GetWindowTextA(windows[0], title, sizeof title);
    ASSERT_STREQ(title, "\xC6\xF7\xB8\xB6 Pomaria Pomaria2000");
    EXPECT_EQ(Run("launch-main.exe"), 1u);
    EXPECT_EQ(GetForegroundWindow(), windows[0]);
    EXPECT_EQ(Started(0), Names{});
}

TEST_F(LauncherTest, WindowOfAnotherClassBelowTheFirstIsActivated)
{
    // Lowest first: the carrier of the text lies below the suite's window.
    auto windows = OpenWindows({{"OtherClass", "Pomaria Pomaria2000"}, {kFox, "unrelated"}});
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(Run("launch-main.exe"), 1u);
    EXPECT_EQ(GetForegroundWindow(), windows[0]);
    EXPECT_EQ(Started(0), Names{});
}

TEST_F(LauncherTest, WindowsAboveTheFirstAreNeverExamined)
{
    auto windows = OpenWindows({{kFox, "unrelated"}, {"OtherClass", "Pomaria Pomaria2000"}});
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(Run("launch-main.exe"), 1u);
    EXPECT_NE(GetForegroundWindow(), windows[1]);
    EXPECT_EQ(Started(2), (Names{"prelude.exe", "pm2000.exe"}));
}

TEST_F(LauncherTest, EmptyTitleDoesNotMatch)
{
    auto windows = OpenWindows({{kFox, ""}});
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(Run("launch-data.exe"), 1u);
    EXPECT_EQ(Started(1), Names{"recordkeep.exe"});
}

TEST_F(LauncherTest, ArgumentsAreIgnored)
{
    EXPECT_EQ(RunAndWait("\"" + dir_ + "launch-data.exe\" /whatever --flag", dir_), 1u);
    EXPECT_EQ(Started(1), Names{"recordkeep.exe"});
}

// Two suite windows that, each time one is asked for its title, put the other right below
// it: a walk that follows the live Z order would go back and forth between them for ever.
struct ReorderingWindows {
    HWND windows[2] = {};
    LONG titleQueries[2] = {};
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD threadId = 0;

    static LRESULT CALLBACK Routine(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<ReorderingWindows*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message == WM_GETTEXT && self) {
            int me = window == self->windows[0] ? 0 : 1;
            InterlockedIncrement(&self->titleQueries[me]);
            SetWindowPos(self->windows[1 - me], window, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    static DWORD WINAPI Run(void* parameter)
    {
        auto* self = static_cast<ReorderingWindows*>(parameter);
        WNDCLASSA wc{};
        wc.lpfnWndProc = Routine;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kFox;
        RegisterClassA(&wc);
        for (HWND& window : self->windows) {
            window = CreateWindowExA(WS_EX_TOOLWINDOW, kFox, "unrelated", WS_POPUP, 0, 0, 10, 10,
                                     nullptr, nullptr, wc.hInstance, nullptr);
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        SetEvent(self->ready);
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0)
            DispatchMessageA(&message);
        for (HWND window : self->windows)
            DestroyWindow(window);
        return 0;
    }
};

DWORD WINAPI SearchForMain(void* result)
{
    *static_cast<HWND*>(result) = launcher::FindApplicationWindow(launcher::kMainConfig);
    return 0;
}

TEST_F(LauncherTest, WindowsReorderingDuringTheSearchAreEachExaminedOnce)
{
    ReorderingWindows fox;
    HANDLE owner = CreateThread(nullptr, 0, &ReorderingWindows::Run, &fox, 0, &fox.threadId);
    ASSERT_EQ(WaitForSingleObject(fox.ready, 10000), WAIT_OBJECT_0);
    HWND found = reinterpret_cast<HWND>(1);
    HANDLE search = CreateThread(nullptr, 0, &SearchForMain, &found, 0, nullptr);
    // This thread's own windows answer the search's title queries meanwhile.
    bool ended = false;
    for (DWORD start = GetTickCount(); !ended && GetTickCount() - start < 5000;) {
        ended = MsgWaitForMultipleObjects(1, &search, FALSE, 50, QS_ALLINPUT) == WAIT_OBJECT_0;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
    if (!ended)
        TerminateThread(search, 0);
    EXPECT_TRUE(ended) << "the search went round for ever";
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(fox.titleQueries[0], 1);
    EXPECT_EQ(fox.titleQueries[1], 1);
    PostThreadMessageA(fox.threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(owner, 5000);
    for (HANDLE handle : {owner, search, fox.ready})
        CloseHandle(handle);
}

}  // namespace
