// The notifier's speed and footprint, measured from outside the running program: start-up time
// until its window "tessalymail!" exists (tray icon shown, first check done), private bytes and
// handle counts after start and after N checks, CPU time while idle and while animating, and
// the size of the program file.
// usage: LarkbellBench --larkbell EXE --host ADDRESS [--checks N] [--seconds S] [--size-of FILE]
// The mailbox is the dovecot fixture at ADDRESS:110 (accounts "empty" and "three"). A check is
// asked for as the tray menu's first command (메일확인), sent to the program's menu window; the
// call returns when the check has ended. The bench writes the notifier's settings key of the
// prefix it runs in and puts the previous values back at the end.
// Under Wine, where the system does not report another process's memory and CPU time, these
// come from the Linux process that runs the program (/proc through drive Z:), and the handle
// count from the system's handle table.
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "BenchClock.h"
#include "ChildProcess.h"

namespace {

const char kSettingsKey[] = "software\\tessaly\\Larkbell\\setting";
constexpr WPARAM kCheckNowCommand = 1;  // the first item of the tray menu

struct Options {
    std::string larkbell;
    std::string host = "127.0.0.1";
    int checks = 1000;
    int seconds = 60;
    std::string sizeOf;
};

using testsupport::NowMs;
using testsupport::ReadWholeFile;

// The settings key's string values, to put back afterwards.
std::vector<std::pair<std::string, std::string>> ReadSettings()
{
    std::vector<std::pair<std::string, std::string>> values;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    for (DWORD i = 0;; ++i) {
        char name[256], data[1024];
        DWORD nameSize = sizeof name, dataSize = sizeof data - 1, type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data),
                          &dataSize) != ERROR_SUCCESS)
            break;
        data[dataSize] = 0;
        if (type == REG_SZ)
            values.emplace_back(name, data);
    }
    RegCloseKey(key);
    return values;
}

void WriteSettings(const std::vector<std::pair<std::string, std::string>>& values)
{
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    for (const auto& value : values) {
        RegSetValueExA(key, value.first.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(value.second.c_str()),
                       static_cast<DWORD>(value.second.size() + 1));
    }
    RegCloseKey(key);
}

struct FindWindowOf {
    DWORD process;
    const char* className;
    HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<FindWindowOf*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (owner == search->process && std::strcmp(name, search->className) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WindowOf(DWORD process, const char* className)
{
    FindWindowOf search{process, className};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The Linux processes whose command line names the program.
std::set<int> LinuxProcessesOf(const std::string& exe)
{
    std::string name = exe.substr(exe.find_last_of("\\/") + 1);
    std::set<int> found;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &entry);
    if (search == INVALID_HANDLE_VALUE)
        return found;
    do {
        const int pid = std::atoi(entry.cFileName);
        if (pid <= 0)
            continue;
        std::string line = ReadWholeFile("Z:\\proc\\" + std::to_string(pid) + "\\cmdline");
        if (line.find(name) != std::string::npos)
            found.insert(pid);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return found;
}

// Handles a process holds, from the system's handle table.
long HandleCountOf(DWORD process)
{
    struct Entry {
        ULONG ownerPid;
        BYTE objectType;
        BYTE flags;
        USHORT handle;
        PVOID object;
        ACCESS_MASK access;
    };
    using Query = NTSTATUS(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll"), "NtQuerySystemInformation")));
    std::vector<char> buffer(1 << 22);
    ULONG size = 0;
    if (!query ||
        query(16 /* handle table */, buffer.data(), static_cast<ULONG>(buffer.size()), &size) != 0)
        return -1;
    const ULONG count = *reinterpret_cast<ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
    long mine = 0;
    for (ULONG i = 0; i < count; ++i)
        mine += entries[i].ownerPid == process ? 1 : 0;
    return mine;
}

// One field of /proc/N/status in kB, or -1.
long StatusKb(const std::string& status, const char* field)
{
    const std::size_t at = status.find(field);
    return at == std::string::npos ? -1 : std::atol(status.c_str() + at + std::strlen(field));
}

// One running notifier.
class Larkbell {
public:
    explicit Larkbell(const std::string& exe)
    {
        const std::set<int> before = LinuxProcessesOf(exe);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string commandLine = "\"" + exe + "\"";
        const double start = NowMs();
        if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &info)) {
            std::printf("error: cannot start %s (%lu)\n", exe.c_str(), GetLastError());
            std::exit(1);
        }
        while (!FindWindowA("tessalymail!", nullptr)) {
            if (WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0) {
                DWORD code = 0;
                GetExitCodeProcess(info.hProcess, &code);
                std::printf("error: larkbell ended at start with exit code %lu\n", code);
                std::exit(1);
            }
            if (NowMs() - start > 120000) {
                TerminateProcess(info.hProcess, 1);
                std::printf("error: larkbell did not come up in two minutes\n");
                std::exit(1);
            }
            Sleep(2);
        }
        startupMs = NowMs() - start;
        for (int pid : LinuxProcessesOf(exe)) {
            if (!before.count(pid))
                linuxPid = pid;
        }
    }

    ~Larkbell()
    {
        // The menu's last command ends the program; a program that does not end is stopped.
        if (HWND menu = WindowOf(info.dwProcessId, "TPopupMenuWindow")) {
            for (WPARAM command = 6; command <= 8; ++command)
                PostMessageA(menu, WM_COMMAND, command, 0);
        }
        if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0)
            TerminateProcess(info.hProcess, 1);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }

    // Asks for one check and waits until it has ended.
    bool Check() const
    {
        HWND menu = WindowOf(info.dwProcessId, "TPopupMenuWindow");
        DWORD_PTR result = 0;
        return menu && SendMessageTimeoutA(menu, WM_COMMAND, kCheckNowCommand, 0, SMTO_NORMAL,
                                           90000, &result) != 0;
    }

    void PrintFootprint(const char* when) const
    {
        PROCESS_MEMORY_COUNTERS_EX memory{};
        memory.cb = sizeof memory;
        GetProcessMemoryInfo(info.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory);
        DWORD handles = 0;
        GetProcessHandleCount(info.hProcess, &handles);
        if (memory.PrivateUsage != 0) {
            std::printf(
                "%-28s private %7.0f KB, working set %7.0f KB, handles %4lu, GDI %lu, "
                "USER %lu\n",
                when, memory.PrivateUsage / 1024.0, memory.WorkingSetSize / 1024.0, handles,
                GetGuiResources(info.hProcess, GR_GDIOBJECTS),
                GetGuiResources(info.hProcess, GR_USEROBJECTS));
            return;
        }
        const std::string status = LinuxStatus();
        std::printf(
            "%-28s private (resident, anonymous) %6ld KB, resident %6ld KB, virtual %7ld KB, "
            "handles %ld\n",
            when, StatusKb(status, "RssAnon:"), StatusKb(status, "VmRSS:"),
            StatusKb(status, "VmSize:"), HandleCountOf(info.dwProcessId));
    }

    double CpuMs() const
    {
        FILETIME created, exited, kernel, user;
        GetProcessTimes(info.hProcess, &created, &exited, &kernel, &user);
        auto ms = [](const FILETIME& t) {
            return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                       t.dwLowDateTime) /
                   10000.0;
        };
        const double windowsMs = ms(kernel) + ms(user);
        if (windowsMs > 0 || linuxPid == 0)
            return windowsMs;
        // /proc/N/stat: user and system time are fields 14 and 15, in 1/100 s.
        const std::string stat = ReadWholeFile("Z:\\proc\\" + std::to_string(linuxPid) + "\\stat");
        const std::size_t close = stat.rfind(')');
        if (close == std::string::npos)
            return 0;
        std::istringstream fields(stat.substr(close + 2));
        std::string field;
        double ticks = 0;
        for (int i = 3; i <= 15 && fields >> field; ++i) {
            if (i >= 14)
                ticks += std::atof(field.c_str());
        }
        return ticks * 10.0;
    }

    std::string LinuxStatus() const
    {
        return linuxPid ? ReadWholeFile("Z:\\proc\\" + std::to_string(linuxPid) + "\\status") : "";
    }

    void PrintCpu(const char* what, int seconds) const
    {
        // The first seconds after the window appears are start-up, not idling.
        PrintCpuOver(std::string(what) + ", first 5 s", 5);
        PrintCpuOver(what, seconds);
    }

    void PrintCpuOver(const std::string& what, int seconds) const
    {
        const double before = CpuMs();
        const long switchesBefore = ContextSwitches();
        Sleep(static_cast<DWORD>(seconds) * 1000);
        const double used = CpuMs() - before;
        std::printf("%-28s %.0f ms CPU in %d s (%.2f %%)", what.c_str(), used, seconds,
                    used / (seconds * 10.0));
        if (switchesBefore >= 0) {
            std::printf(", %.1f context switches a second",
                        (ContextSwitches() - switchesBefore) / static_cast<double>(seconds));
        }
        std::printf("\n");
    }

    // The times the program's Linux threads gave up or lost the processor, or -1: each wake-up
    // of a sleeping thread counts at least once, and so does each wait for the Wine server.
    long ContextSwitches() const
    {
        if (linuxPid == 0)
            return -1;
        const std::string tasks = "Z:\\proc\\" + std::to_string(linuxPid) + "\\task\\";
        long total = 0;
        WIN32_FIND_DATAA entry;
        HANDLE search = FindFirstFileA((tasks + "*").c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE)
            return -1;
        do {
            if (std::atoi(entry.cFileName) <= 0)
                continue;
            const std::string status = ReadWholeFile(tasks + entry.cFileName + "\\status");
            total += std::max(0L, StatusKb(status, "voluntary_ctxt_switches:")) +
                     std::max(0L, StatusKb(status, "nonvoluntary_ctxt_switches:"));
        } while (FindNextFileA(search, &entry));
        FindClose(search);
        return total;
    }

    double startupMs = 0;
    int linuxPid = 0;

private:
    PROCESS_INFORMATION info{};
};

std::vector<std::pair<std::string, std::string>> DemoSettings(const Options& options,
                                                              const char* account)
{
    // A long period: no periodic check falls into the measured minute; alarms off.
    return {{"interval", "60"},       {"sound", "nosound"},
            {"useanimation", "true"}, {"usealarm", "false"},
            {"account", account},     {"password", std::string(account) + "pass"},
            {"pop", options.host}};
}

Options ParseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const char* value = argv[i + 1];
        if (name == "--larkbell") {
            // A full path with backslashes: the program finds its resource library by it.
            char full[MAX_PATH];
            const DWORD size = GetFullPathNameA(value, MAX_PATH, full, nullptr);
            options.larkbell = size > 0 && size < MAX_PATH ? full : value;
        } else if (name == "--host")
            options.host = value;
        else if (name == "--checks")
            options.checks = std::atoi(value);
        else if (name == "--seconds")
            options.seconds = std::atoi(value);
        else if (name == "--size-of")
            options.sizeOf = value;
    }
    if (options.larkbell.empty()) {
        std::printf(
            "usage: LarkbellBench --larkbell EXE --host ADDRESS [--checks N] "
            "[--seconds S] [--size-of FILE]\n");
        std::exit(2);
    }
    return options;
}

void PrintSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        std::printf("%-28s %lu bytes (%s)\n", "size", data.nFileSizeLow, path.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    const Options options = ParseOptions(argc, argv);
    if (FindWindowA("tessalymail!", nullptr)) {
        std::printf("error: a larkbell already runs on this desktop\n");
        return 1;
    }
    const auto saved = ReadSettings();
    int failedChecks = 0;
    {
        WriteSettings(DemoSettings(options, "empty"));
        Larkbell idle(options.larkbell);
        std::printf("%-28s %.0f ms\n", "start-up (empty mailbox)", idle.startupMs);
        idle.PrintFootprint("after start");
        idle.PrintCpu("idle", options.seconds);
        const double start = NowMs();
        const int tenth = std::max(1, options.checks / 10);
        for (int i = 1; i <= options.checks; ++i) {
            failedChecks += idle.Check() ? 0 : 1;
            if (i == tenth && i != options.checks)
                idle.PrintFootprint(("after " + std::to_string(i) + " checks").c_str());
        }
        std::printf("%-28s %d in %.0f ms (%.1f ms each), %d not answered\n", "checks",
                    options.checks, NowMs() - start, (NowMs() - start) / options.checks,
                    failedChecks);
        idle.PrintFootprint(("after " + std::to_string(options.checks) + " checks").c_str());
    }
    {
        WriteSettings(DemoSettings(options, "three"));
        Larkbell waiting(options.larkbell);
        std::printf("%-28s %.0f ms\n", "start-up (3 messages)", waiting.startupMs);
        waiting.PrintCpu("animating (mail waiting)", options.seconds);
    }
    WriteSettings(saved);
    PrintSize(options.sizeOf.empty() ? options.larkbell : options.sizeOf);
    return failedChecks == 0 ? 0 : 1;
}
