// Benchmark of the header check over a folder of generated tables, against an I/O floor.
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "BenchTables.h"
#include "FileAccess.h"
#include "TableHeader.h"

namespace {

using Clock = std::chrono::steady_clock;

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

// The platform's files with each folder listed once and the listing kept, which is
// sound here only because nothing changes the folder while it is timed: the check's
// rate without the cost of the platform's look-ups for companions.
class FolderListedOnce : public dbf::FileSystem {
public:
    std::unique_ptr<dbf::TableFile> OpenExisting(const std::string& path) override
    {
        return base_.OpenExisting(path);
    }

    bool Exists(const std::string& path, std::string* found) override
    {
        size_t cut = path.find_last_of("/\\") + 1;  // 0 when there is no folder part
        std::string dir = path.substr(0, cut);
        auto listing = listings_.find(dir);
        if (listing == listings_.end())
            listing = listings_.emplace(dir, List(dir)).first;
        auto name = listing->second.find(UpperCase(path.substr(cut)));
        if (name == listing->second.end())
            return false;
        *found = dir + name->second;
        return true;
    }

    void Pause(unsigned milliseconds) override { base_.Pause(milliseconds); }

private:
    using Names = std::map<std::string, std::string>;  // upper-case form -> as listed

    static std::string UpperCase(std::string text)
    {
        for (char& c : text)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return text;
    }

    static Names List(const std::string& dir)
    {
        Names names;
        std::error_code ignored;
        for (const auto& entry :
             std::filesystem::directory_iterator(dir.empty() ? "." : dir, ignored)) {
            std::string name = entry.path().filename().string();
            names.emplace(UpperCase(name), name);
        }
        return names;
    }

    dbf::FileSystem& base_ = dbf::PlatformFileSystem();
    std::map<std::string, Names> listings_;
};

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

// usage: DbfCheckBenchmark [TABLES] [ROUNDS]
int main(int argc, char** argv)
{
    int count = argc > 1 ? std::atoi(argv[1]) : 3000;
    int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    std::string dir = dbf::MakeTempDir();
    std::vector<std::string> tables =
        dbf::MakeBenchTables(dir, count, dbf::BenchMix{38, 50, 20, "table", ".CDX"});

    int failures = 0;
    double floor = BestSeconds(rounds, [&] {
        for (const std::string& t : tables)
            failures += dbf::OpenReadClose(t) ? 0 : 1;
    });
    double check = BestSeconds(rounds, [&] {
        for (const std::string& t : tables)
            failures += dbf::checkTableHeader(t.c_str(), 0, 64, nullptr, true) == 0 ? 0 : 1;
    });
    FolderListedOnce listed;
    double checkListed = BestSeconds(rounds, [&] {
        for (const std::string& t : tables)
            failures += dbf::checkTableHeader(listed, t.c_str(), 0, 64, nullptr, true) == 0 ? 0 : 1;
    });
    std::printf("tables: %d in %s (best of %d rounds)\n", count, dir.c_str(), rounds);
    std::printf("I/O floor (open, read 32 bytes, close): %10.0f tables/s\n", count / floor);
    std::printf("header check (check mode):              %10.0f tables/s\n", count / check);
    std::printf("the same, the folder listed once:       %10.0f tables/s\n", count / checkListed);
    std::printf("ratio check/floor: %.2f (folder listed once: %.2f)\n", check / floor,
                checkListed / floor);
    RemoveTables(dir, tables);
    if (failures) {
        std::printf("unexpected results: %d\n", failures);
        return 1;
    }
    return 0;
}
