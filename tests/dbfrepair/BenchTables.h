// The benchmarks' folder of small tables from the test builder, and the I/O floor they
// are measured against: open a table, read its first 32 bytes, close it.
#pragma once

#include <string>
#include <vector>

#include "TableBuilder.h"
#include "TestFiles.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace dbf {

// How the tables vary with their number i: 3 + i % fieldCounts fields of
// 1 + i % fieldLengths bytes, i % recordCounts records; a third with a memo (.fpt), a
// third with an index (indexExtension), a third with neither.
struct BenchMix {
    int fieldCounts;
    int fieldLengths;
    int recordCounts;
    const char* prefix;
    const char* indexExtension;
};

// Writes count tables into dir (which ends with a separator); answers their paths.
inline std::vector<std::string> MakeBenchTables(const std::string& dir, int count,
                                                const BenchMix& mix)
{
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        TableShape shape;
        shape.fieldLengths.assign(3 + i % mix.fieldCounts,
                                  static_cast<uint8_t>(1 + i % mix.fieldLengths));
        shape.records = static_cast<uint32_t>(i % mix.recordCounts);
        std::string stem = dir + mix.prefix + std::to_string(i);
        if (i % 3 == 0) {
            shape.flags = kFlagMemo;
            WriteBytes(stem + ".fpt", BuildMemo(512 + 64 * (i % 9), 8 + i % 9, 64));
        } else if (i % 3 == 1) {
            shape.flags = kFlagIndex;
            WriteBytes(stem + mix.indexExtension, std::vector<uint8_t>(512, 0));
        }
        WriteBytes(stem + ".dbf", BuildTable(shape));
        paths.push_back(stem + ".dbf");
    }
    return paths;
}

// The floor: opened as the library opens a table, its first 32 bytes read, closed.
inline bool OpenReadClose(const std::string& path)
{
    uint8_t header[32];
#ifdef _WIN32
    HANDLE h =
        CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_RANDOM_ACCESS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD n = 0;
    BOOL ok = ::ReadFile(h, header, sizeof header, &n, nullptr);
    CloseHandle(h);
    return ok && n == sizeof header;
#else
    int fd = open(path.c_str(), O_RDWR);
    if (fd < 0)
        return false;
    bool ok = pread(fd, header, sizeof header, 0) == sizeof header;
    close(fd);
    return ok;
#endif
}

}  // namespace dbf
