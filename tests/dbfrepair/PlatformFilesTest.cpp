// The header check on the platform's real files: foreign locks, read-only, letter case, 2 GB.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "TableBuilder.h"
#include "TestFiles.h"

#ifdef _WIN32
#include <winioctl.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace dbf {
namespace {

// Another opener of the table holding a byte range locked, by default the byte that
// co-operating openers lock.
class ForeignLock {
public:
#ifdef _WIN32
    explicit ForeignLock(const std::string& path, uint32_t offset = kLockOffset,
                         uint32_t length = 1)
    {
        handle_ =
            CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        held_ = handle_ != INVALID_HANDLE_VALUE && LockFile(handle_, offset, 0, length, 0);
    }
    ~ForeignLock()
    {
        CloseHandle(handle_);
    }

private:
    HANDLE handle_;
#else
    explicit ForeignLock(const std::string& path, uint32_t offset = kLockOffset,
                         uint32_t length = 1)
    {
        fd_ = open(path.c_str(), O_RDWR);
        struct flock lock = {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        lock.l_start = offset;
        lock.l_len = length;
        held_ = fd_ >= 0 && fcntl(fd_, F_OFD_SETLK, &lock) == 0;
    }
    ~ForeignLock()
    {
        close(fd_);
    }

private:
    int fd_;
#endif

public:
    bool held_ = false;
};

void MakeReadOnly(const std::string& path)
{
#ifdef _WIN32
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
#else
    chmod(path.c_str(), 0444);
#endif
}

std::string PutSoundTable(const std::string& dir, const char* name)
{
    TableShape shape;
    std::string path = dir + name;
    WriteBytes(path, BuildTable(shape));
    return path;
}

TEST(DbfPlatformFilesTest, LockHeldByAnotherHandleGivesMinus3AndNoWrite)
{
    std::string table = PutSoundTable(MakeTempDir(), "held.dbf");
    std::vector<uint8_t> damaged = ReadBytes(table);
    damaged[kRecordCountOffset] = 99;
    WriteBytes(table, damaged);
    {
        ForeignLock other(table);
        ASSERT_TRUE(other.held_);
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(checkTableHeader(table.c_str(), kModeRepair, 64, nullptr, true), kLockFailed);
        auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_GE(waited, std::chrono::milliseconds(8)) << "four pauses of 2 ms";
        EXPECT_EQ(ReadBytes(table), damaged);
    }
    EXPECT_EQ(checkTableHeader(table.c_str(), kModeRepair, 64, nullptr, true), 0);
    EXPECT_EQ(checkTableHeader(table.c_str(), 0, 64, nullptr, true), 0)
        << "the lock was released with the handle";
}

// Record locks of another opener (which on Windows make overlapping reads fail; Wine and
// POSIX do not refuse such reads, the memory-file tests model it) do not change the
// outcome of a check.
TEST(DbfPlatformFilesTest, RecordLocksOfAnotherOpenerChangeNothing)
{
    for (bool vfp : {true, false}) {
        TableShape shape;
        shape.visualFoxPro = vfp;
        shape.type = vfp ? kTypeVisualFoxPro : kTypeFoxPro;
        shape.zeroAfterTerminator = false;
        std::string table = MakeTempDir() + "shared.dbf";
        WriteBytes(table, BuildTable(shape));
        HeaderReport unlocked{};
        ASSERT_EQ(checkTableHeader(table.c_str(), kModeReport, 64, &unlocked, vfp), 0);
        ForeignLock other(table, HeaderLengthOf(shape), RecordLengthOf(shape));
        ASSERT_TRUE(other.held_);
        HeaderReport locked{};
        EXPECT_EQ(checkTableHeader(table.c_str(), kModeReport, 64, &locked, vfp), 0) << vfp;
        EXPECT_EQ(std::memcmp(locked.calcHeader, unlocked.calcHeader, kTableHeaderSize), 0);
        EXPECT_EQ(locked.tableSize, unlocked.tableSize);
    }
}

TEST(DbfPlatformFilesTest, ReadOnlyTableGivesMinus1)
{
    std::string table = PutSoundTable(MakeTempDir(), "frozen.dbf");
    MakeReadOnly(table);
    std::vector<uint8_t> before = ReadBytes(table);
    for (int32_t mode : {0, kModeRepair, kModeReport})
        EXPECT_EQ(checkTableHeader(table.c_str(), mode, 64, nullptr, true), kOpenFailed);
    EXPECT_EQ(ReadBytes(table), before);
    std::string missing = table + ".gone";
    EXPECT_EQ(checkTableHeader(missing.c_str(), 0, 64, nullptr, true), kOpenFailed);
}

TEST(DbfPlatformFilesTest, CompanionsFoundWhateverTheirCase)
{
    struct Case {
        const char* table;
        const char* memo;
        const char* index;
        uint8_t flags;
    };
    const Case cases[] = {
        {"lower.dbf", "lower.fpt", "lower.cdx", 3},
        {"UPPER.DBF", "UPPER.FPT", nullptr, 2},
        {"Mixed.Dbf", nullptr, "mIXED.cDx", 1},
    };
    for (const Case& c : cases) {
        std::string dir = MakeTempDir();
        std::string table = PutSoundTable(dir, c.table);
        if (c.memo)
            WriteBytes(dir + c.memo, BuildMemo(512 + 64, 9, 64));
        if (c.index)
            WriteBytes(dir + c.index, std::vector<uint8_t>(512, 0));
        HeaderReport report{};
        int32_t result = checkTableHeader(table.c_str(), kModeReport, 64, &report, true);
        EXPECT_EQ(result, kBadFlags) << c.table;
        EXPECT_EQ(report.calcHeader[kFlagsOffset], c.flags) << c.table;
        if (c.memo) {
            EXPECT_EQ(report.memoHeader[kBlockSizeOffset], 64) << "the memo was read";
        }
    }
}

// The directory search finds a folder as well; the table is then not taken for one
// without memo (which repair would write into its type and flags).
TEST(DbfPlatformFilesTest, MemoCompanionThatIsAFolderGivesMinus1AndNoWrite)
{
    std::string dir = MakeTempDir();
    std::string table = PutSoundTable(dir, "boxed.dbf");
    std::vector<uint8_t> before = ReadBytes(table);
    before[kFlagsOffset] = kFlagMemo;
    WriteBytes(table, before);
    ASSERT_TRUE(std::filesystem::create_directory(dir + "BOXED.FPT"));
    for (int32_t mode : {0, kModeRepair, kModeReport})
        EXPECT_EQ(checkTableHeader(table.c_str(), mode, 64, nullptr, true), kOpenFailed) << mode;
    EXPECT_EQ(ReadBytes(table), before);
}

TEST(DbfPlatformFilesTest, TableOfTwoGigabytesIsRefused)
{
    std::string table = PutSoundTable(MakeTempDir(), "huge.dbf");
    std::vector<uint8_t> before = ReadBytes(table);
#ifdef _WIN32
    HANDLE h = CreateFileA(table.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD ignored = 0;
    DeviceIoControl(h, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
    LONG high = 0;
    SetFilePointer(h, static_cast<LONG>(0x80000000u), &high, FILE_BEGIN);
    SetEndOfFile(h);
    CloseHandle(h);
#else
    ASSERT_EQ(truncate(table.c_str(), 0x80000000LL), 0);
#endif
    EXPECT_EQ(checkTableHeader(table.c_str(), kModeRepair, 64, nullptr, true), kReadFailed);
    std::ifstream in(table, std::ios::binary);
    std::vector<uint8_t> head(32);
    in.read(reinterpret_cast<char*>(head.data()), 32);
    EXPECT_EQ(head, std::vector<uint8_t>(before.begin(), before.begin() + 32));
    in.close();
    std::remove(table.c_str());
}

}  // namespace
}  // namespace dbf
