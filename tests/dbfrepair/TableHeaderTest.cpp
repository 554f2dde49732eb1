// The header check over in-memory files: values, findings, errors and what repair may write.
#include <gtest/gtest.h>

#include "MemoryFileSystem.h"
#include "TableBuilder.h"

namespace dbf {
namespace {

const char kTable[] = "C:\\data\\orders.dbf";
const char kMemo[] = "C:\\data\\orders.FPT";
const char kIndex[] = "C:\\data\\orders.CDX";

struct Outcome {
    int32_t result;
    HeaderReport report;
};

Outcome Check(MemoryFileSystem& fs, int32_t mode, bool vfp, int32_t blockSize = 64,
              const char* path = kTable)
{
    Outcome run{};
    run.result = checkTableHeader(fs, path, mode, blockSize, &run.report, vfp);
    EXPECT_EQ(fs.OpenHandles(), 0) << "a file stayed open";
    return run;
}

TableShape FoxShape()
{
    TableShape s;
    s.visualFoxPro = false;
    s.type = kTypeFoxPro;
    return s;
}

// A sound Visual FoxPro table with memo (block size 64) and index beside it.
void PutSoundVfpWithMemo(MemoryFileSystem& fs)
{
    TableShape s;
    s.flags = kFlagMemo | kFlagIndex;
    fs.Put(kTable, BuildTable(s));
    fs.Put(kMemo, BuildMemo(4096, 64, 64));
    fs.Put(kIndex, std::vector<uint8_t>(1024, 0));
}

TEST(DbfHeaderTest, WorkedValues)
{
    MemoryFileSystem fs;
    fs.Put(kTable, BuildTable(FoxShape()));
    Outcome fox = Check(fs, kModeReport, false);
    EXPECT_EQ(fox.result, 0);
    EXPECT_EQ(ReadLe16(fox.report.calcHeader + kHeaderLengthOffset), 130);
    EXPECT_EQ(ReadLe16(fox.report.calcHeader + kRecordLengthOffset), 20);
    EXPECT_EQ(fox.report.calcHeader[kTypeOffset], 0x03);

    MemoryFileSystem vfpFs;
    TableShape vfp;
    vfpFs.Put(kTable, BuildTable(vfp));
    Outcome v = Check(vfpFs, kModeReport, true);
    EXPECT_EQ(v.result, 0);
    EXPECT_EQ(ReadLe16(v.report.calcHeader + kHeaderLengthOffset), 392);
    EXPECT_EQ(v.report.calcHeader[kTypeOffset], 0x30);
    EXPECT_EQ(ReadLe32(v.report.calcHeader + kRecordCountOffset), 3u);

    PutSoundVfpWithMemo(vfpFs);
    Outcome m = Check(vfpFs, kModeReport, true, 64);
    EXPECT_EQ(m.result, 0);
    EXPECT_EQ(ReadLe32(m.report.calcMemoHeader + kNextBlockOffset), 64u);
    EXPECT_EQ(ReadLe16(m.report.memoHeader + kBlockSizeOffset), 64);
    EXPECT_EQ(m.report.memoHeader[4], 0x11) << "other memo bytes as read";
}

TEST(DbfHeaderTest, EachFindingAlone)
{
    struct Case {
        const char* what;
        int32_t bit;
        void (*damage)(MemoryFileSystem&);
    };
    const Case cases[] = {
        {"header length", kBadHeaderLength,
         [](MemoryFileSystem& fs) { fs.At(kTable).data[kHeaderLengthOffset] ^= 1; }},
        {"record length", kBadRecordLength,
         [](MemoryFileSystem& fs) { fs.At(kTable).data[kRecordLengthOffset] ^= 1; }},
        {"record count", kBadRecordCount,
         [](MemoryFileSystem& fs) { fs.At(kTable).data[kRecordCountOffset + 3] = 0x80; }},
        {"type byte", kBadType, [](MemoryFileSystem& fs) { fs.At(kTable).data[0] = 0xF5; }},
        {"flags", kBadFlags, [](MemoryFileSystem& fs) { fs.At(kTable).data[kFlagsOffset] = 7; }},
        {"next block", kBadNextBlock, [](MemoryFileSystem& fs) { fs.At(kMemo).data[3] = 9; }},
        {"block size", kBadBlockSize, [](MemoryFileSystem& fs) { fs.At(kMemo).data[6] = 2; }},
    };
    for (const Case& c : cases) {
        for (int32_t mode : {0, kModeReport, 3, -1}) {
            MemoryFileSystem fs;
            PutSoundVfpWithMemo(fs);
            c.damage(fs);
            EXPECT_EQ(Check(fs, mode, true).result, c.bit) << c.what << ", mode " << mode;
            EXPECT_TRUE(fs.writes.empty()) << c.what;
        }
    }
}

TEST(DbfHeaderTest, RepairWritesBothHeadersOnlyAndAlways)
{
    for (bool damaged : {false, true}) {
        MemoryFileSystem fs;
        PutSoundVfpWithMemo(fs);
        std::vector<uint8_t> table = fs.Data(kTable);
        std::vector<uint8_t> memo = fs.Data(kMemo);
        if (damaged) {
            for (int off : {0, 4, 5, 6, 7, 8, 9, 10, 11, 28})
                fs.At(kTable).data[off] = 0xEE;
            for (int off : {0, 1, 2, 3, 6, 7})
                fs.At(kMemo).data[off] = 0xEE;
        }
        EXPECT_EQ(Check(fs, kModeRepair, true).result, 0);
        ASSERT_EQ(fs.writes.size(), 2u);
        EXPECT_EQ(fs.writes[0].path, kMemo);
        EXPECT_EQ(fs.writes[0].offset, 0u);
        EXPECT_EQ(fs.writes[0].count, 512u);
        EXPECT_EQ(fs.writes[1].path, kTable);
        EXPECT_EQ(fs.writes[1].count, 32u);
        EXPECT_EQ(fs.At(kMemo).flushes, 1) << "each written header is flushed";
        EXPECT_EQ(fs.At(kTable).flushes, 1);
        EXPECT_EQ(fs.Data(kTable), table) << "damaged=" << damaged;
        EXPECT_EQ(fs.Data(kMemo), memo) << "damaged=" << damaged;
    }
}

TEST(DbfHeaderTest, ErrorCodes)
{
    struct Case {
        const char* what;
        int32_t mode;
        int32_t expected;
        void (*prepare)(MemoryFileSystem&);
    };
    const Case cases[] = {
        {"missing table", 0, kOpenFailed, [](MemoryFileSystem&) {}},
        {"read-only table", kModeRepair, kOpenFailed,
         [](MemoryFileSystem& fs) { fs.At(kTable).readOnly = true; }},
        {"memo not openable", 0, kOpenFailed,
         [](MemoryFileSystem& fs) { fs.At(kMemo).readOnly = true; }},
        {"locked", kModeRepair, kLockFailed,
         [](MemoryFileSystem& fs) { fs.At(kTable).lockedByOther = true; }},
        {"table header short", 0, kReadFailed,
         [](MemoryFileSystem& fs) { fs.At(kTable).data.resize(31); }},
        {"memo header short", kModeRepair, kReadFailed,
         [](MemoryFileSystem& fs) { fs.At(kMemo).data.resize(511); }},
        {"memo is a folder", kModeRepair, kOpenFailed,
         [](MemoryFileSystem& fs) { fs.At(kMemo).folder = true; }},
        {"end before terminator", kModeRepair, kDescriptorsCorrupt,
         [](MemoryFileSystem& fs) { fs.At(kTable).data.resize(32 + 3 * 32); }},
        {"end inside descriptor", kModeRepair, kDescriptorsCorrupt,
         [](MemoryFileSystem& fs) { fs.At(kTable).data.resize(32 + 32 + 20); }},
        {"table write short", kModeRepair, kWriteFailed,
         [](MemoryFileSystem& fs) { fs.At(kTable).writeLimit = 31; }},
        {"memo write short", kModeRepair, kWriteFailed,
         [](MemoryFileSystem& fs) { fs.At(kMemo).writeLimit = 0; }},
        {"table flush fails", kModeRepair, kWriteFailed,
         [](MemoryFileSystem& fs) { fs.At(kTable).flushFails = true; }},
        {"memo flush fails", kModeRepair, kWriteFailed,
         [](MemoryFileSystem& fs) { fs.At(kMemo).flushFails = true; }},
        {"table close fails", kModeRepair, kWriteFailed,
         [](MemoryFileSystem& fs) { fs.At(kTable).closeFails = true; }},
        {"memo close fails", kModeRepair, kWriteFailed,
         [](MemoryFileSystem& fs) { fs.At(kMemo).closeFails = true; }},
    };
    for (const Case& c : cases) {
        MemoryFileSystem fs;
        PutSoundVfpWithMemo(fs);
        c.prepare(fs);
        const char* path = std::string(c.what) == "missing table" ? "C:\\data\\none.dbf" : kTable;
        EXPECT_EQ(Check(fs, c.mode, true, 64, path).result, c.expected) << c.what;
        if (c.expected != kWriteFailed) {
            EXPECT_TRUE(fs.writes.empty()) << c.what << ": nothing written before an error";
        }
    }
}

TEST(DbfHeaderTest, LockRetryScheduleLeavesFileUnchanged)
{
    MemoryFileSystem fs;
    PutSoundVfpWithMemo(fs);
    fs.At(kTable).lockedByOther = true;
    std::vector<uint8_t> before = fs.Data(kTable);
    EXPECT_EQ(Check(fs, kModeRepair, true).result, kLockFailed);
    EXPECT_EQ(fs.lockAttempts, 6);
    EXPECT_EQ(fs.pauses, (std::vector<unsigned>{2, 2, 2, 2}));
    EXPECT_TRUE(fs.writes.empty());
    EXPECT_EQ(fs.Data(kTable), before);
}

TEST(DbfHeaderTest, TerminatorRules)
{
    struct Case {
        bool vfp;
        int after;  // byte after the terminator, -1: the file ends there
        uint16_t header;
    };
    // Two fields: 32 + 64 = 96 before the terminator.
    const Case cases[] = {
        {false, 0x00, 96 + 1 + 1}, {false, ' ', 96 + 0 + 1},   {false, 0x2A, 96 + 0 + 1},
        {false, -1, 96 + 0 + 1},   {true, 0x00, 96 + 1 + 263}, {true, ' ', 96 + 1 + 263},
        {true, -1, 96 + 0 + 263},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> t(96, 0);
        t[32 + 16] = 4;
        t[64 + 16] = 5;
        t.push_back(0x0D);
        if (c.after >= 0)
            t.push_back(static_cast<uint8_t>(c.after));
        MemoryFileSystem fs;
        fs.Put(kTable, t);
        Outcome run = Check(fs, kModeReport, c.vfp);
        ASSERT_GE(run.result, 0);
        EXPECT_EQ(ReadLe16(run.report.calcHeader + kHeaderLengthOffset), c.header)
            << "vfp=" << c.vfp << " after=" << c.after;
        EXPECT_EQ(ReadLe16(run.report.calcHeader + kRecordLengthOffset), 10);
        EXPECT_EQ(ReadLe32(run.report.calcHeader + kRecordCountOffset), 0u)
            << "a file shorter than its header holds no record";
    }
}

TEST(DbfHeaderTest, CompanionsByExtensionAndCase)
{
    struct Case {
        const char* table;
        std::vector<const char*> beside;
        bool vfp;
        uint8_t flags;
        uint8_t type;
    };
    const Case cases[] = {
        {"d\\t.dbf", {"d\\T.FPT", "d\\t.cdx"}, true, 3, 0x30},
        {"d\\t.dbf", {"d\\t.fpt", "d\\T.CDX"}, false, 1, 0xF5},
        {"d\\t.DbF", {}, false, 0, 0x03},
        {"d\\t.dbf", {"d\\t.dbt", "d\\t.idx"}, true, 0, 0x30},
        {"d\\t.txt", {"d\\t.FPT", "d\\t.CDX"}, true, 0, 0x30},
        {"d\\t.txt", {"d\\t.FPT", "d\\t.CDX"}, false, 0, 0x03},
        {"d\\t", {"d\\t.FPT"}, true, 0, 0x30},
        {"d\\db.dbc", {"d\\db.dct", "d\\db.dcx"}, true, 7, 0x30},
        {"d\\db.dbc", {"d\\db.dct", "d\\db.dcx"}, false, 1, 0xF5},
        {"d\\db.dbc", {}, true, 4, 0x30},
        {"d\\form.scx", {"d\\form.sct", "d\\form.cdx"}, true, 2, 0x30},
        {"d\\menu.MNX", {"d\\menu.MNT"}, false, 0, 0xF5},
        {"d.x\\t", {"d.x\\t.FPT"}, true, 0, 0x30},
        {"C:t.dbf", {"C:T.FPT"}, true, 2, 0x30},
    };
    for (const Case& c : cases) {
        MemoryFileSystem fs;
        TableShape shape;
        fs.Put(c.table, BuildTable(shape));
        for (const char* name : c.beside)
            fs.Put(name, BuildMemo(1024, 16, 64));
        Outcome run = Check(fs, kModeReport, c.vfp, 64, c.table);
        ASSERT_GE(run.result, 0) << c.table;
        EXPECT_EQ(run.report.calcHeader[kFlagsOffset], c.flags) << c.table << " vfp=" << c.vfp;
        EXPECT_EQ(run.report.calcHeader[kTypeOffset], c.type) << c.table << " vfp=" << c.vfp;
    }
}

TEST(DbfHeaderTest, BlockSizeRule)
{
    struct Case {
        int32_t requested;
        bool vfp;
        uint16_t expected;
    };
    const Case cases[] = {
        {0, true, 1},       {0, false, 64},      {1, true, 512},           {32, false, 16384},
        {33, true, 33},     {64, true, 64},      {-1, true, 65535},        {65536, true, 1},
        {65536, false, 64}, {131072, false, 64}, {65536 + 100, true, 100}, {512, true, 512},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CalculatedBlockSize(c.requested, c.vfp), c.expected)
            << c.requested << " vfp=" << c.vfp;
    }
}

// A last block that its writer left unpadded counts whole: the next memo goes after it.
TEST(DbfHeaderTest, NextBlockOfMemoSizes)
{
    struct Case {
        uint32_t memoSize;
        int32_t requested;
        uint32_t next;
    };
    const Case cases[] = {
        {512, 64, 8},   {512, 0, 512}, {4096, 64, 64},    {4096, 1, 8},
        {4100, 64, 65}, {513, 33, 17}, {512, 65536, 512}, {1165, 128, 10},
    };
    for (const Case& c : cases) {
        MemoryFileSystem fs;
        TableShape shape;
        shape.flags = kFlagMemo;
        fs.Put(kTable, BuildTable(shape));
        fs.Put(kMemo, BuildMemo(c.memoSize, 0, 0));
        Outcome run = Check(fs, kModeReport, true, c.requested);
        ASSERT_EQ(run.result, kBadNextBlock | kBadBlockSize) << c.memoSize;
        EXPECT_EQ(ReadLe32(run.report.calcMemoHeader), c.next)
            << c.memoSize << " / " << c.requested;
    }
}

TEST(DbfHeaderTest, ShortFileRepairWritesZeroCount)
{
    MemoryFileSystem fs;
    TableShape shape;
    shape.records = 0;
    shape.endOfFileMarker = false;
    std::vector<uint8_t> table = BuildTable(shape);
    table.resize(table.size() - 200);  // cut into the back-link area
    fs.Put(kTable, table);
    Outcome run = Check(fs, kModeReport, true);
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(ReadLe32(run.report.calcHeader + kRecordCountOffset), 0u);
    fs.At(kTable).data[kRecordCountOffset] = 5;
    EXPECT_EQ(Check(fs, kModeRepair, true).result, 0);
    EXPECT_EQ(ReadLe32(fs.Data(kTable).data() + kRecordCountOffset), 0u);
}

TEST(DbfHeaderTest, FilesOfTwoGigabytesAreRefusedUnwritten)
{
    for (bool memo : {false, true}) {
        MemoryFileSystem fs;
        PutSoundVfpWithMemo(fs);
        fs.At(memo ? kMemo : kTable).reportedSize = 0x80000000ull;
        EXPECT_EQ(Check(fs, kModeRepair, true).result, kReadFailed) << "memo=" << memo;
        EXPECT_TRUE(fs.writes.empty());
        fs.At(memo ? kMemo : kTable).reportedSize = 0x7FFFFFFFull;
        EXPECT_GE(Check(fs, 0, true).result, 0) << "largest handled size, memo=" << memo;
    }
}

TEST(DbfHeaderTest, RecordLengthWrappingToZeroIsRefusedBeforeAnyWrite)
{
    TableShape shape;
    shape.fieldLengths.assign(257, 255);  // 65535 + 1 wraps to 0
    shape.records = 0;
    shape.flags = kFlagMemo;
    MemoryFileSystem fs;
    fs.Put(kTable, BuildTable(shape));
    fs.Put(kMemo, BuildMemo(4096, 3, 128));
    std::vector<uint8_t> table = fs.Data(kTable), memo = fs.Data(kMemo);
    EXPECT_EQ(Check(fs, kModeRepair, true).result, kDescriptorsCorrupt);
    EXPECT_TRUE(fs.writes.empty());
    EXPECT_EQ(fs.Data(kTable), table);
    EXPECT_EQ(fs.Data(kMemo), memo);
}

// Another opener's byte-range lock makes an overlapping read fail. Reading the header
// area in larger pieces must give what reading 32 bytes, then 1 and 31 bytes per
// descriptor, then the byte after the terminator gives: a lock on the records changes
// nothing (a FoxPro 2.x table then sees no byte after its terminator, which adds nothing
// as its deletion flag would not either); a lock on the header or a descriptor does.
TEST(DbfHeaderTest, ForeignLocksAffectOnlyTheBytesTheyCover)
{
    struct Case {
        const char* what;
        bool vfp;
        int64_t start;  // negative: from the header length
        uint64_t length;
        int32_t expected;
    };
    const Case cases[] = {
        {"first record, FoxPro 2.x", false, -1, 20, 0},
        {"first record, Visual FoxPro", true, -1, 20, 0},
        {"last record", true, -1 - 40, 20, 0},
        {"stored header", true, 8, 1, kReadFailed},
        {"second descriptor", true, 64 + 20, 1, kDescriptorsCorrupt},
    };
    for (const Case& c : cases) {
        TableShape shape = c.vfp ? TableShape() : FoxShape();
        shape.zeroAfterTerminator = false;
        std::vector<uint8_t> table = BuildTable(shape);
        MemoryFileSystem fs;
        fs.Put(kTable, table);
        Outcome unlocked = Check(fs, kModeReport, c.vfp);
        ASSERT_EQ(unlocked.result, 0) << c.what;
        uint64_t headerLength = HeaderLengthOf(shape);
        fs.At(kTable).foreignLockStart =
            c.start < 0 ? headerLength + static_cast<uint64_t>(-1 - c.start) : c.start;
        fs.At(kTable).foreignLockLength = c.length;
        Outcome locked = Check(fs, kModeReport, c.vfp);
        EXPECT_EQ(locked.result, c.expected) << c.what;
        if (c.expected == 0) {
            EXPECT_EQ(
                std::vector<uint8_t>(locked.report.calcHeader, locked.report.calcHeader + 32),
                std::vector<uint8_t>(unlocked.report.calcHeader, unlocked.report.calcHeader + 32))
                << c.what;
            EXPECT_EQ(locked.report.tableSize, table.size()) << c.what;
        }
    }
}

// The table size comes from the first read when that read met the end of the file and
// from the file otherwise; both must agree around the read's size.
TEST(DbfHeaderTest, TableSizeOnEitherSideOfTheFirstRead)
{
    TableShape shape;
    shape.records = 0;
    shape.endOfFileMarker = false;
    const size_t headerLength = BuildTable(shape).size();
    for (size_t size : {headerLength, size_t{4095}, size_t{4096}, size_t{4097}, size_t{9000}}) {
        std::vector<uint8_t> table = BuildTable(shape);
        table.resize(size, ' ');
        MemoryFileSystem fs;
        fs.Put(kTable, table);
        Outcome run = Check(fs, kModeReport, true);
        ASSERT_GE(run.result, 0) << size;
        EXPECT_EQ(run.report.tableSize, size);
        EXPECT_EQ(ReadLe32(run.report.calcHeader + kRecordCountOffset),
                  (size - headerLength) / RecordLengthOf(shape))
            << size;
    }
}

TEST(DbfHeaderTest, ReportCarriesStoredHeaderAndSize)
{
    MemoryFileSystem fs;
    PutSoundVfpWithMemo(fs);
    std::vector<uint8_t> table = fs.Data(kTable);
    Outcome run = Check(fs, kModeReport, true);
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(std::vector<uint8_t>(run.report.tableHeader, run.report.tableHeader + 32),
              std::vector<uint8_t>(table.begin(), table.begin() + 32));
    EXPECT_EQ(run.report.tableSize, table.size());
    EXPECT_EQ(checkTableHeader(fs, kTable, kModeReport, 64, nullptr, true), 0)
        << "report mode without a record";
}

}  // namespace
}  // namespace dbf
