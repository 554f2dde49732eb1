// The alarm file on disk while another program appends reminders: scans run again and again
// and not one appended line may be lost.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <set>
#include <string>
#include <thread>

#include "AlarmScan.h"
#include "ChildProcess.h"
#include "Win32AlarmFile.h"

namespace alarms {
namespace {

constexpr int kAppendedLines = 10000;

// Appends one line as a writing program does: open, write at the end, close; a file held by
// a scan is tried again.
bool AppendLine(const std::string& path, const std::string& line, int* busyTries)
{
    for (int tries = 0; tries < 100000; ++tries) {
        const HANDLE file =
            CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            if (GetLastError() != ERROR_SHARING_VIOLATION)
                return false;
            ++*busyTries;
            Sleep(0);
            continue;
        }
        DWORD written = 0;
        const std::string bytes = line + "\r\n";
        const bool ok =
            SetFilePointer(file, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER &&
            WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
        CloseHandle(file);
        return ok;
    }
    return false;
}

TEST(AlarmFileSharingTest, NoAppendedLineIsLost)
{
    const std::string path = testsupport::TempPath("larkbell-sharing-qAlarm.txt");
    DeleteFileA(path.c_str());
    Win32AlarmFileStore store(path);
    const LocalTime now = {2001, 5, 12, 14, 29, 30, 0};

    // Even lines fall due at the fixed clock and must be shown once; odd lines lie ahead and
    // must stay in the file.
    std::atomic<bool> done{false};
    int busyTries = 0;
    bool appended = true;
    std::thread writer([&] {
        char line[64];
        for (int i = 0; i < kAppendedLines && appended; ++i) {
            std::snprintf(line, sizeof line, "2001/05/12 %s,line %05d 12345678",
                          i % 2 ? "18:00" : "14:30", i);
            appended = AppendLine(path, line, &busyTries);
        }
        done = true;
    });
    std::multiset<std::string> shown;
    int scans = 0, failures = 0;
    for (bool last = false; !last; ++scans) {
        last = done;  // one more scan after the writer has finished
        const ScanResult result = ScanAlarmFile(store, now, DateTimeFormat());
        failures += result.kind == ScanResult::Kind::kFailed;
        for (const AlarmRow& row : result.due)
            shown.insert(row.text);
    }
    writer.join();
    ASSERT_TRUE(appended);
    EXPECT_EQ(failures, 0);

    const std::string left = testsupport::ReadWholeFile(path);
    int lost = 0;
    for (int i = 0; i < kAppendedLines; ++i) {
        char text[32];
        std::snprintf(text, sizeof text, "line %05d ", i);
        lost += i % 2 ? left.find(text) == std::string::npos : shown.count(text) != 1;
    }
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(SplitLines(left).size() + shown.size(), size_t{kAppendedLines});
    std::printf("appended %d lines during %d scans: %d lost; writer refused %d times\n",
                kAppendedLines, scans, lost, busyTries);
    DeleteFileA(path.c_str());
}

// A rewrite whose writing fails half way leaves the old file, whether it would have made the
// file shorter or longer.
TEST(AlarmFileSharingTest, FailedRewriteLeavesTheOldFile)
{
    const std::string path = testsupport::TempPath("larkbell-failing-qAlarm.txt");
    const LocalTime now = {2001, 5, 12, 14, 29, 30, 0};
    const std::string shrinking =
        "2001/05/12 14:30,due one 12345678\r\n"
        "2001/05/12 18:00,later 12345678\r\n";
    const std::string growing = "2001/05/12 18:00,later 12345678\n2001/05/12 19:00,then\n";
    for (const std::string& old : {shrinking, growing}) {
        SCOPED_TRACE(old);
        FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(old.data(), 1, old.size(), file);
        std::fclose(file);
        Win32AlarmFileStore store(path, [](void* handle, const std::string& bytes) {
            DWORD put = 0;
            WriteFile(handle, bytes.data(), 20, &put, nullptr);  // then the disk goes away
            return false;
        });
        const ScanResult result = ScanAlarmFile(store, now, DateTimeFormat());
        EXPECT_EQ(result.kind, ScanResult::Kind::kFailed);
        EXPECT_EQ(testsupport::ReadWholeFile(path), old);
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((path + "*").c_str(), &found);
        int files = 0;
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
            ++files;
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
        EXPECT_EQ(files, 1) << "nothing is left beside the file";
    }
    DeleteFileA(path.c_str());
}

}  // namespace
}  // namespace alarms
