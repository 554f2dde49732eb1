// Tables of a real writer (python3-dbf): what the check finds, and repairs it reads back.
#include <gtest/gtest.h>

#include <cstdio>

#include "ByteOrder.h"
#include "TableHeader.h"
#include "TestFiles.h"

namespace dbf {
namespace {

const int32_t kWriterBlockSize = 128;  // python3-dbf's memo block size

struct WriterTable {
    const char* name;
    bool hasMemo;
    bool visualFoxPro;  // the format that fits the writer's kind
    int32_t findings;   // check mode in that format
    const char* why;
};

// The writer pads no memo block: 1165 bytes hold 4 header blocks and 5.1 blocks of
// 128, and it says 10, counting the partial block whole as the check does. It leaves
// the Visual FoxPro flags byte at 0 although a memo exists. Its FoxPro 2.x tables
// carry the 263-byte area of Visual FoxPro after the descriptors, which that format
// does not count.
const WriterTable kTables[] = {
    {"plain3", false, false, 0, "dBase III table agrees"},
    {"vfpplain", false, true, 0, "Visual FoxPro table agrees"},
    {"vfpmemo", true, true, kBadFlags, "flags 0"},
    {"fox2memo", true, false, kBadHeaderLength | kBadRecordCount,
     "263-byte area counted by the writer"},
};

std::string CopyToTemp(const WriterTable& t)
{
    std::string dir = MakeTempDir();
    CopyBytes(DataDir() + t.name + ".dbf", dir + t.name + ".dbf");
    if (t.hasMemo)
        CopyBytes(DataDir() + t.name + ".fpt", dir + t.name + ".fpt");
    return dir + t.name;
}

TEST(WriterTablesTest, CheckAgreesWithWriterOrDifferenceIsKnown)
{
    for (const WriterTable& t : kTables) {
        std::string stem = CopyToTemp(t);
        std::string table = stem + ".dbf";
        EXPECT_EQ(checkTableHeader(table.c_str(), 0, kWriterBlockSize, nullptr, t.visualFoxPro),
                  t.findings)
            << t.name << ": " << t.why;
        HeaderReport report{};
        EXPECT_EQ(
            checkTableHeader(table.c_str(), kModeReport, kWriterBlockSize, &report, t.visualFoxPro),
            t.findings);
        EXPECT_EQ(ReadLe32(report.calcHeader + kRecordCountOffset),
                  t.findings & kBadRecordCount ? 9u : 4u)
            << t.name;
    }
}

TEST(WriterTablesTest, RepairRestoresDamagedCopyAndTouchesNothingElse)
{
    for (const WriterTable& t : kTables) {
        if (t.findings & kBadHeaderLength)
            continue;  // repair would move the records of that writer's layout
        std::string stem = CopyToTemp(t);
        std::string table = stem + ".dbf", memo = stem + ".fpt";
        std::vector<uint8_t> original = ReadBytes(table);
        std::vector<uint8_t> damaged = original;
        for (int off : {0, 4, 5, 8, 9, 10, 11, 28})
            damaged[off] = 0xA5;
        WriteBytes(table, damaged);
        std::vector<uint8_t> memoBefore = t.hasMemo ? ReadBytes(memo) : std::vector<uint8_t>();
        ASSERT_EQ(
            checkTableHeader(table.c_str(), kModeRepair, kWriterBlockSize, nullptr, t.visualFoxPro),
            0)
            << t.name;
        EXPECT_EQ(checkTableHeader(table.c_str(), 0, kWriterBlockSize, nullptr, t.visualFoxPro), 0)
            << t.name << " checks clean after repair";
        std::vector<uint8_t> repaired = ReadBytes(table);
        ASSERT_EQ(repaired.size(), original.size());
        for (size_t i = 0; i < original.size(); ++i) {
            bool flagsOfMemoTable = i == kFlagsOffset && t.hasMemo;
            EXPECT_EQ(repaired[i], flagsOfMemoTable ? kFlagMemo : original[i])
                << t.name << " byte " << i;
        }
        if (t.hasMemo) {
            std::vector<uint8_t> memoAfter = ReadBytes(memo);
            ASSERT_EQ(memoAfter.size(), memoBefore.size());
            EXPECT_EQ(ReadBe32(memoAfter.data()), 10u) << "after the unpadded last block";
            EXPECT_EQ(ReadBe16(memoAfter.data() + kBlockSizeOffset), 128);
            for (size_t i = 0; i < memoAfter.size(); ++i) {
                if (i >= 8 || (i >= 4 && i < 6)) {
                    EXPECT_EQ(memoAfter[i], memoBefore[i]) << t.name << " memo byte " << i;
                }
            }
        }
#ifndef _WIN32
        // The writer's own reader opens the repaired table and sees every record.
        std::string command =
            "/usr/bin/python3 -c \"import dbf,sys; t=dbf.Table(sys.argv[1]); "
            "t.open(); print(len(t), t[3][0].strip())\" " +
            table + " 2>&1";
        FILE* reader = popen(command.c_str(), "r");
        ASSERT_NE(reader, nullptr);
        char line[200] = {};
        fgets(line, sizeof line, reader);
        pclose(reader);
        EXPECT_STREQ(line, "4 Incheon port\n") << t.name;
#endif
    }
}

}  // namespace
}  // namespace dbf
