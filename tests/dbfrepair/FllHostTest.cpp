// The library as the host meets it, through the fllhost harness under Wine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TableBuilder.h"
#include "TestFiles.h"

namespace dbf {
namespace {

using HostRun = testsupport::ProcessResult;
using testsupport::BinDir;

// Runs fllhost with the arguments (each quoted) and collects its output.
HostRun RunHost(const std::vector<std::string>& args, const std::string& fll = "")
{
    std::string cmd = "\"" + BinDir() + "fllhost.exe\" \"" +
                      (fll.empty() ? BinDir() + "DMND4_50.FLL" : fll) + "\"";
    for (const std::string& a : args)
        cmd += " \"" + a + "\"";
    return testsupport::RunCaptured(cmd, "fllhost-test", 30000);
}

const char kHelp[] =
    "\nSyntax : MENDDBF( <Filename>, [<Mode>], [<FPT Blocksize>] )\n\n"
    "Return BIT values of positive return values :- \n\n"
    "Value Bit Description\n"
    "  1    1  DBF header length incorrect\n"
    "  2    2  Record length incorrect\n"
    "  4    3  Record count incorrect\n"
    "  8    4  DBF file ID incorrect\n"
    " 16    5  DBF Flags incorrect\n"
    " 32    6  FPT next available block incorrect\n"
    " 64    7  FPT block size non-standard\n\n"
    "Negative values designate error codes :-\n\n"
    " -1 File open failed, file doesn't exist or is opened exclusive by another.\n"
    " -2 Read failed.\n"
    " -3 Unable to lock, 5 attempts were made to lock without success.\n"
    " -4 Field descriptors badly corrupted or file too short.\n"
    " -5 Write failed, file marked readonly.\n"
    " -6 Passed path\\filename too long.\n\n";

const char kVersion[] = "Dbmend v4 - Visual FoxPro 5.0 FLL v4.10";

// A sound Visual FoxPro table (three fields, three records); memo optional.
std::string PutTable(const std::string& dir, bool withMemo, uint32_t storedCount = 3)
{
    TableShape shape;
    shape.flags = withMemo ? kFlagMemo : 0;
    std::vector<uint8_t> table = BuildTable(shape);
    WriteLe32(&table[kRecordCountOffset], storedCount);
    WriteBytes(dir + "t.dbf", table);
    if (withMemo)
        WriteBytes(dir + "t.fpt", BuildMemo(512 + 64 * 4, 12, 64));
    return dir + "t.dbf";
}

TEST(FllHostTest, HelpTextOnOneArgumentCallThenCheck)
{
    std::string table = PutTable(MakeTempDir(), false, 7);
    for (const char* function : {"MENDDBF", "MEND26", "menddbf"}) {
        HostRun run = RunHost({function, "C:" + table});
        EXPECT_EQ(run.exitCode, 0u);
        int32_t expected = std::string(function) == "MEND26" ? 1 | 4 | 8 : 4;
        EXPECT_EQ(run.out, kHelp + std::string("=> ") + std::to_string(expected) + "\n")
            << function;
    }
    HostRun none = RunHost({"MENDDBF", "C:" + table, "I:0"});
    EXPECT_EQ(none.out, "=> 4\n") << "two arguments: no help";
}

TEST(FllHostTest, VersionLines)
{
    const std::string stamped = std::string(kVersion) + "  Dec  4 1996 12:57:47";
    struct Case {
        std::vector<std::string> args;
        std::string expected;
    };
    const Case cases[] = {
        {{"MENDVERSION"}, kVersion},
        {{"MENDVERSION", "I:0"}, kVersion},
        {{"MENDVERSION", "I:2"}, kVersion},
        {{"MENDVERSION", "I:1"}, stamped},
    };
    EXPECT_EQ(std::string(kVersion).size(), 39u);
    for (const Case& c : cases) {
        HostRun run = RunHost(c.args);
        EXPECT_EQ(run.exitCode, 0u);
        EXPECT_EQ(run.out, "=> \"" + c.expected + "\"\n") << c.args.size();
    }
}

TEST(FllHostTest, TalkAtLoad)
{
    HostRun on = RunHost({"--talk", "on", "MENDVERSION"});
    EXPECT_EQ(on.out, "\n" + std::string(kVersion) + "\n=> \"" + kVersion + "\"\n");
    HostRun off = RunHost({"--talk", "off", "MENDVERSION"});
    EXPECT_EQ(off.out, "=> \"" + std::string(kVersion) + "\"\n");
}

TEST(FllHostTest, ReportOfTenAndTwelveLines)
{
    std::string dir = MakeTempDir();
    std::string table = PutTable(dir, false, 0xFFFFFFFFu);
    HostRun ten = RunHost({"MENDDBF", "C:" + table, "I:2"});
    EXPECT_EQ(ten.out,
              "Header Data\t    Header\tCalculated\n"
              "---------------------------------------------------------\n"
              "DBF ID Byte\t        48\t        48\n"
              "Header Length\t       392\t       392\n"
              "Record Count\t4294967295\t         3\n"
              "Record Length\t        20\t        20\n"
              "DBF Container\t        No\t        No\n"
              "Has CDX file\t        No\t        No\n"
              "Has FPT file\t        No\t        No\n"
              "DBF Length is 453 Bytes.\n"
              "=> 4\n");

    std::string memoDir = MakeTempDir();
    std::string memoTable = PutTable(memoDir, true);
    WriteBytes(memoDir + "T.CDX", std::vector<uint8_t>(512, 0));
    HostRun twelve = RunHost({"MEND26", "C:" + memoTable, "I:2", "I:0"});
    EXPECT_EQ(twelve.out,
              "Header Data\t    Header\tCalculated\n"
              "---------------------------------------------------------\n"
              "DBF ID Byte\t        48\t       245\n"
              "Header Length\t       392\t       130\n"
              "Record Count\t         3\t        16\n"
              "Record Length\t        20\t        20\n"
              "FPT NextBlock\t        12\t        12\n"
              "FPT BlockSize\t        64\t        64\n"
              "DBF Container\t        No\t        No\n"
              "Has CDX file\t        No\t       Yes\n"
              "Has FPT file\t       Yes\t        No\n"
              "DBF Length is 453 Bytes.\n"
              "=> 29\n");
}

TEST(FllHostTest, ModesOtherThanRepairAndReportOnlyCheck)
{
    std::string table = PutTable(MakeTempDir(), true, 9);
    std::vector<uint8_t> before = ReadBytes(table);
    for (const char* mode : {"I:3", "I:0", "I:-1"}) {
        HostRun run = RunHost({"MENDDBF", "C:" + table, mode});
        EXPECT_EQ(run.out, "=> 4\n") << mode;
    }
    EXPECT_EQ(ReadBytes(table), before);
    // Two arguments use block size 64; a third of 0 means one byte in this format.
    EXPECT_EQ(RunHost({"MENDDBF", "C:" + table, "I:0", "I:0"}).out, "=> 100\n");
    EXPECT_EQ(RunHost({"MENDDBF", "C:" + table, "I:1"}).out, "=> 0\n");
    EXPECT_EQ(RunHost({"MENDDBF", "C:" + table, "I:0"}).out, "=> 0\n");
}

TEST(FllHostTest, FileNameOf79CharactersProceedsAnd80GivesMinus6)
{
    std::string dir = MakeTempDir();
    for (size_t length : {79u, 80u}) {
        std::string name = dir + std::string(length - dir.size() - 4, 'n') + ".dbf";
        ASSERT_EQ(name.size(), length);
        TableShape shape;
        std::vector<uint8_t> damaged = BuildTable(shape);
        damaged[kRecordCountOffset] = 42;
        WriteBytes(name, damaged);
        HostRun run = RunHost({"MENDDBF", "C:" + name, "I:1"});
        EXPECT_EQ(run.out, length == 79 ? "=> 0\n" : "=> -6\n");
        EXPECT_EQ(ReadBytes(name)[kRecordCountOffset], length == 79 ? 3 : 42);
    }
}

TEST(FllHostTest, ErrorsOfTheTablesComeBackAsResults)
{
    std::string dir = MakeTempDir();
    EXPECT_EQ(RunHost({"MENDDBF", "C:" + dir + "missing.dbf"}).out, kHelp + std::string("=> -1\n"));
    WriteBytes(dir + "short.dbf", std::vector<uint8_t>(20, 0));
    EXPECT_EQ(RunHost({"MENDDBF", "C:" + dir + "short.dbf", "I:2"}).out, "=> -2\n")
        << "no report for an error";
}

TEST(FllHostTest, HarnessRefusesBadCalls)
{
    struct Case {
        std::vector<std::string> args;
        std::string fll;
        const char* message;
    };
    const std::string missing = BinDir() + "NOSUCH.FLL";
    std::vector<std::string> seventeen = {"MENDDBF", "C:a"};
    seventeen.resize(18, "I:1");
    const Case cases[] = {
        {{"MENDVERSION"}, missing, "cannot load library"},
        {{"MENDVERSION"}, BinDir() + "fllhost.exe", "no entry @DispatchAPI@4"},
        {{"MENDNOTHING"}, "", "unknown function 'MENDNOTHING'"},
        {{""}, "", "unknown function ''"},
        {{"MENDDBF", "X:1"}, "", "malformed argument 'X:1'"},
        {{"MENDDBF", "C:a", "I:12x"}, "", "malformed argument 'I:12x'"},
        {{"MENDDBF", "C:a", "I:"}, "", "malformed argument 'I:'"},
        {{"MENDDBF", "I:1"}, "", "argument 1 must be C:<text>"},
        {{"MENDDBF"}, "", "argument 1 is required"},
        {{"MENDVERSION", "I:1", "I:2"}, "", "too many arguments"},
        {seventeen, "", "a call passes at most 16"},
        {{"--talk", "maybe", "MENDVERSION"}, "", "--talk takes on or off"},
    };
    for (const Case& c : cases) {
        HostRun run = RunHost(c.args, c.fll);
        EXPECT_EQ(run.exitCode, 2u) << c.message;
        EXPECT_EQ(run.out, "") << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

}  // namespace
}  // namespace dbf
