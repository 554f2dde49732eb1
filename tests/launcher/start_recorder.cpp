// Test stub for the programs a launcher starts: appends its own file name and its
// process creation time to "starts.log" beside itself, then ends.
#include <windows.h>

#include <cstdio>
#include <string>

int main()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full = path;
    size_t slash = full.find_last_of("\\/");
    std::string dir = full.substr(0, slash + 1);
    std::string name = full.substr(slash + 1);

    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    unsigned long long when =
        (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;

    // Several stubs may start at once: retry while another holds the log open.
    for (int attempt = 0; attempt < 200; ++attempt) {
        HANDLE log = CreateFileA((dir + "starts.log").c_str(), FILE_APPEND_DATA, 0, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (log != INVALID_HANDLE_VALUE) {
            char line[MAX_PATH + 32];
            int n = std::snprintf(line, sizeof line, "%s %llu\n", name.c_str(), when);
            DWORD written = 0;
            WriteFile(log, line, static_cast<DWORD>(n), &written, nullptr);
            CloseHandle(log);
            return 0;
        }
        Sleep(5);
    }
    return 1;
}
