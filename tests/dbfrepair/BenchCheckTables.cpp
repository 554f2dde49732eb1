// Benchmark: checks a folder of generated tables and compares the rate with the I/O
// floor, a loop that only opens each table, reads its first 32 bytes and closes it.
// usage: DbfCheckBenchmark [TABLES] [ROUNDS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "TableBuilder.h"
#include "TestFiles.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

// A third of the tables have a memo file (lower-case name), a third an index (upper
// case), a third neither; field counts vary from 3 to 40.
std::vector<std::string> MakeTables(const std::string& dir, int count)
{
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        dbf::TableShape shape;
        shape.fieldLengths.assign(3 + i % 38, static_cast<uint8_t>(1 + i % 50));
        shape.records = static_cast<uint32_t>(i % 20);
        std::string stem = dir + "table" + std::to_string(i);
        if (i % 3 == 0) {
            shape.flags = dbf::kFlagMemo;
            dbf::WriteBytes(stem + ".fpt", dbf::BuildMemo(512 + 64 * (i % 9), 8 + i % 9, 64));
        } else if (i % 3 == 1) {
            shape.flags = dbf::kFlagIndex;
            dbf::WriteBytes(stem + ".CDX", std::vector<uint8_t>(512, 0));
        }
        dbf::WriteBytes(stem + ".dbf", dbf::BuildTable(shape));
        paths.push_back(stem + ".dbf");
    }
    return paths;
}

bool OpenReadClose(const std::string& path)
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

void RemoveTables(const std::string& dir, const std::vector<std::string>& tables)
{
    for (const std::string& t : tables) {
        std::string stem = t.substr(0, t.size() - 4);
        for (const char* ext : {".dbf", ".fpt", ".CDX"})
            std::remove((stem + ext).c_str());
    }
#ifdef _WIN32
    RemoveDirectoryA(dir.c_str());
#else
    rmdir(dir.c_str());
#endif
}

template <typename Body>
double BestSeconds(int rounds, Body body)
{
    double best = 1e30;
    for (int r = 0; r < rounds; ++r) {
        auto start = Clock::now();
        body();
        double s = std::chrono::duration<double>(Clock::now() - start).count();
        best = s < best ? s : best;
    }
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    int count = argc > 1 ? std::atoi(argv[1]) : 3000;
    int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    std::string dir = dbf::MakeTempDir();
    std::vector<std::string> tables = MakeTables(dir, count);
    // A data folder is not usually being written to while tables are checked; a
    // folder changed within the last second is listed again for every look-up.
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));

    int failures = 0;
    double floor = BestSeconds(rounds, [&] {
        for (const std::string& t : tables)
            failures += OpenReadClose(t) ? 0 : 1;
    });
    double check = BestSeconds(rounds, [&] {
        for (const std::string& t : tables)
            failures += dbf::checkTableHeader(t.c_str(), 0, 64, nullptr, true) == 0 ? 0 : 1;
    });
    std::printf("tables: %d in %s (best of %d rounds)\n", count, dir.c_str(), rounds);
    std::printf("I/O floor (open, read 32 bytes, close): %10.0f tables/s\n", count / floor);
    std::printf("header check (check mode):              %10.0f tables/s\n", count / check);
    std::printf("ratio check/floor: %.2f\n", check / floor);
    RemoveTables(dir, tables);
    if (failures) {
        std::printf("unexpected results: %d\n", failures);
        return 1;
    }
    return 0;
}
