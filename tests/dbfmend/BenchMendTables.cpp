// Benchmark: dbfmend's check over a folder of generated tables against the I/O floor
// measured in the same run (open each table, read its first 32 bytes, close it), one
// table at a time and side by side as the command line does by default. The rounds run
// on the page cache as the tables were just written; with --cold (Linux, as root) the
// system's caches are dropped before every round, so that each reads from the disk.
// usage: DbfmendBenchmark [TABLES] [ROUNDS] [--cold]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "BenchTables.h"
#include "MendRun.h"
#include "OrderedRun.h"

namespace {

using Clock = std::chrono::steady_clock;

// Writes dirty pages out and drops the page, inode and directory caches; false where
// that is not possible (another system, or not root).
bool DropCaches()
{
#ifdef _WIN32
    return false;
#else
    sync();
    FILE* control = std::fopen("/proc/sys/vm/drop_caches", "w");
    if (!control)
        return false;
    bool dropped = std::fputs("3\n", control) >= 0;
    return std::fclose(control) == 0 && dropped;
#endif
}

bool cold = false;

double Seconds(const std::function<void()>& body)
{
    if (cold && !DropCaches()) {
        std::fprintf(stderr, "DbfmendBenchmark: --cold needs Linux and root to drop the caches\n");
        std::exit(2);
    }
    auto start = Clock::now();
    body();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv)
{
    int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    cold = argc > 3 && std::string(argv[3]) == "--cold";
    std::string dir = dbf::MakeTempDir();
    std::vector<std::string> tables =
        dbf::MakeBenchTables(dir, count, dbf::BenchMix{10, 30, 10, "t", ".cdx"});

    int failures = 0;
    mend::MendOptions options;
    options.paths = {dir};
    int status = 0;
    std::string lastLine;
    auto floorRound = [&] {
        for (const std::string& t : tables)
            failures += dbf::OpenReadClose(t) ? 0 : 1;
    };
    auto checkRound = [&](unsigned jobs) {
        options.jobs = jobs;
        std::ostringstream out, err;
        status = std::max(status, mend::RunMend(options, out, err, false));
        std::string text = out.str();
        size_t end = text.rfind('\n', text.size() - 2);
        lastLine = text.substr(end == std::string::npos ? 0 : end + 1);
    };
    // The rounds alternate, so that all see the same load of a shared machine; the best
    // round of each counts.
    const unsigned jobs = mend::DefaultJobs();
    double floor = 1e30, single = 1e30, parallel = 1e30;
    for (int r = 0; r < rounds; ++r) {
        floor = std::min(floor, Seconds(floorRound));
        single = std::min(single, Seconds([&] { checkRound(1); }));
        parallel = std::min(parallel, Seconds([&] { checkRound(jobs); }));
    }
    std::printf("tables: %d in %s (best of %d rounds, %s)\n", count, dir.c_str(), rounds,
                cold ? "caches dropped before each" : "on the page cache");
    std::printf("I/O floor (open, read 32 bytes, close): %10.0f tables/s\n", count / floor);
    std::printf("dbfmend check --jobs 1:                 %10.0f tables/s  ratio to floor %.2f\n",
                count / single, single / floor);
    std::printf("dbfmend check (--jobs %u, the default):  %10.0f tables/s  ratio to floor %.2f\n",
                jobs, count / parallel, parallel / floor);
    std::printf("check said: %s", lastLine.c_str());
    if (failures || status != mend::kExitSound) {
        std::printf("unexpected results: %d floor failures, exit status %d\n", failures, status);
        return 1;
    }
    return 0;
}
