// dbfmend over real folders: check, dry run, repair, undo and their refusals, JSON
// Lines and exit statuses, on tables of the test builder and of a real writer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>

#include "Companions.h"
#include "FileAccess.h"
#include "MemoryFileSystem.h"
#include "MendRun.h"
#include "TableMender.h"
#include "TableBuilder.h"
#include "TestFiles.h"
#include "UndoFile.h"

namespace mend {
namespace {

using dbf::ReadBytes;
using dbf::WriteBytes;
using Snapshot = std::map<std::string, std::vector<uint8_t>>;

struct MendResult {
    int status;
    std::string out;
    std::string err;
};

MendResult Mend(const std::vector<std::string>& args)
{
    std::vector<const char*> argv{"dbfmend"};
    for (const std::string& a : args)
        argv.push_back(a.c_str());
    std::ostringstream out, err;
    int status = MendMain(static_cast<int>(argv.size()), argv.data(), out, err, false);
    return MendResult{status, out.str(), err.str()};
}

// The folder each test starts from: the real writer's tables (plain3 and vfpplain
// sound, vfpmemo with findings, fox2memo with the writer's extra area), the builder's
// tables (sound, sound with 128-byte memo blocks, a wrong record count), a text file
// named like a table, a text file, and a sub-folder with a damaged table.
std::string MakeFolder()
{
    std::string dir = dbf::MakeTempDir();
    for (const char* name : {"plain3.dbf", "vfpplain.dbf", "vfpmemo.dbf", "vfpmemo.fpt",
                             "fox2memo.dbf", "fox2memo.fpt"})
        dbf::CopyBytes(dbf::DataDir() + name, dir + name);
    dbf::TableShape shape;
    WriteBytes(dir + "sound.dbf", dbf::BuildTable(shape));
    std::vector<uint8_t> count = dbf::BuildTable(shape);
    dbf::WriteLe32(&count[dbf::kRecordCountOffset], 7);
    WriteBytes(dir + "count.DBF", count);
    shape.flags = dbf::kFlagMemo;
    WriteBytes(dir + "memo128.dbf", dbf::BuildTable(shape));
    WriteBytes(dir + "memo128.FPT", dbf::BuildMemo(512 + 3 * 128, 7, 128));
    std::string text(100, 'x');
    WriteBytes(dir + "text.DBF", std::vector<uint8_t>(text.begin(), text.end()));
    WriteBytes(dir + "notes.txt", std::vector<uint8_t>(text.begin(), text.end()));
    std::filesystem::create_directory(dir + "sub");
    shape.flags = 0;
    WriteBytes(dir + "sub/deep.dbf", dbf::BuildTable(shape));
    WriteBytes(dir + "sub/deep.fpt", dbf::BuildMemo(512, 9, 64));
    return dir;
}

Snapshot Take(const std::string& dir)
{
    Snapshot files;
    for (auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        if (entry.is_regular_file())
            files[entry.path().string()] = ReadBytes(entry.path().string());
    }
    return files;
}

// Letter case ignored, as names on Windows are.
bool Contains(const std::string& text, const std::string& part)
{
    auto same = [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); };
    return std::search(text.begin(), text.end(), part.begin(), part.end(), same) != text.end();
}

// Holds a table's lock byte as another user of the table would.
std::unique_ptr<dbf::TableFile> HoldLock(const std::string& path)
{
    std::unique_ptr<dbf::TableFile> file = dbf::PlatformFileSystem().OpenExisting(path);
    EXPECT_TRUE(file && file->LockByte(dbf::kLockOffset));
    return file;
}

struct CheckCase {
    const char* what;
    std::vector<std::string> args;  // "@" stands for the folder
    int status;
    std::vector<std::string> said;  // in standard output, or error for status 2
    std::function<std::unique_ptr<dbf::TableFile>(const std::string&)> prepare = nullptr;
};

TEST(DbfmendTest, CheckAndUsageExitStatuses)
{
    const std::vector<CheckCase> cases = {
        {"folder",
         {"check", "@"},
         kExitFailed,
         {"count.DBF: 1 finding (mask 4)\n  Record count incorrect: stored 7, calculated 3\n",
          "vfpmemo.dbf: 1 finding (mask 16)\n  DBF Flags incorrect: stored 0, calculated 2\n",
          "memo128.dbf: sound\n", "plain3.dbf: sound\n", "text.DBF: failed: type byte 0x78",
          "\n8 tables, 4 sound, 3 with findings, 1 failed\n"}},
        {"sub-folders",
         {"check", "-r", "@"},
         kExitFailed,
         {"deep.dbf: 2 findings (mask 48)", "9 tables, 4 sound, 4 with findings, 1 failed\n"}},
        {"sound tables",
         {"check", "@sound.dbf", "@memo128.dbf"},
         kExitSound,
         {"2 tables, 2 sound, 0 with findings, 0 failed\n"}},
        {"findings", {"check", "@count.DBF"}, kExitFindings, {"1 with findings"}},
        {"table shorter than its header",
         {"check", "@short.dbf"},
         kExitFailed,
         {"short.dbf: failed: -2 Read failed. (the table has 20 bytes)\n"},
         [](const std::string& dir) {
             WriteBytes(dir + "short.dbf", std::vector<uint8_t>(20, 0x30));
             return nullptr;
         }},
        {"block size given in bytes",
         {"check", "--block-size", "64", "@memo128.dbf"},
         kExitFindings,
         {"FPT block size non-standard: stored 128, calculated 64\n"}},
        {"text file taken as a table",
         {"check", "--format", "vfp", "@text.DBF"},
         kExitFailed,
         {"text.DBF: failed: -4 Field descriptors badly corrupted or file too short.\n"}},
        {"missing path",
         {"check", "@none.dbf", "@sound.dbf"},
         kExitFailed,
         {"none.dbf: failed: ", "2 tables, 1 sound, 0 with findings, 1 failed"}},
        {"lock held by another user",
         {"repair", "@count.DBF"},
         kExitFailed,
         {"count.DBF: failed: -3 Unable to lock"},
         [](const std::string& dir) { return HoldLock(dir + "count.DBF"); }},
        {"read-only table",
         {"check", "@sound.dbf"},
         kExitFailed,
         {"sound.dbf: failed: -1 File open failed, file doesn't exist or is opened exclusive "
          "by another. (read-only)\n"},
         [](const std::string& dir) {
             std::filesystem::permissions(dir + "sound.dbf", std::filesystem::perms::owner_read);
             return nullptr;
         }},
        {"read-only memo",
         {"check", "@vfpmemo.dbf"},
         kExitFailed,
         {"vfpmemo.dbf: failed: -1 File open failed", "vfpmemo.fpt: read-only)\n"},
         [](const std::string& dir) {
             std::filesystem::permissions(dir + "vfpmemo.fpt", std::filesystem::perms::owner_read);
             return nullptr;
         }},
        {"backup cannot be written",
         {"repair", "@count.DBF"},
         kExitFailed,
         {"count.DBF: failed: backup ", "; nothing written\n  Record count incorrect: stored 7"},
         [](const std::string& dir) {
             std::filesystem::create_directory(dir + "count.DBF" + kUndoSuffix);
             return nullptr;
         }},
        {"impossible stored block size",
         {"check", "@memo128.dbf"},
         kExitFailed,
         {"memo128.dbf: failed: the memo's stored block size 0 is impossible"},
         [](const std::string& dir) {
             WriteBytes(dir + "memo128.FPT", dbf::BuildMemo(1024, 8, 0));
             return nullptr;
         }},
        {"impossible block size overridden",
         {"check", "--block-size", "64", "@memo128.dbf"},
         kExitFindings,
         {"FPT block size non-standard: stored 0, calculated 64"},
         [](const std::string& dir) {
             WriteBytes(dir + "memo128.FPT", dbf::BuildMemo(1024, 8, 0));
             return nullptr;
         }},
#ifndef _WIN32
        {"name printed as given",
         {"check", "@"},
         kExitFailed,
         {"\xEC\xA3\xBC\xEB\xAC\xB8.dbf: sound\n"},
         [](const std::string& dir) {
             dbf::CopyBytes(dir + "sound.dbf", dir + "\xEC\xA3\xBC\xEB\xAC\xB8.dbf");
             return nullptr;
         }},
#endif
        {"no command", {}, kExitUsage, {"A subcommand is required"}},
        {"no path", {"check"}, kExitUsage, {"PATH is required"}},
        {"block size 0", {"check", "--block-size", "0", "@"}, kExitUsage, {"--block-size"}},
        {"block size text", {"repair", "--block-size", "big", "@"}, kExitUsage, {"--block-size"}},
        {"unknown format", {"check", "--format", "dbase", "@"}, kExitUsage, {"--format"}},
        {"check has no dry run", {"check", "--dry-run", "@"}, kExitUsage, {"--dry-run"}},
        {"no jobs", {"check", "--jobs", "0", "@"}, kExitUsage, {"--jobs"}},
    };
    for (const CheckCase& c : cases) {
        std::string dir = MakeFolder();
        std::unique_ptr<dbf::TableFile> held = c.prepare ? c.prepare(dir) : nullptr;
        std::vector<std::string> args;
        for (const std::string& a : c.args)
            args.push_back(a[0] == '@' ? dir + a.substr(1) : a);
        MendResult run = Mend(args);
        EXPECT_EQ(run.status, c.status) << c.what << "\n" << run.out << run.err;
        for (const std::string& part : c.said)
            EXPECT_TRUE(Contains(c.status == kExitUsage ? run.err : run.out, part))
                << c.what << ": no '" << part << "' in\n"
                << run.out << run.err;
        EXPECT_FALSE(Contains(run.out, "notes.txt")) << c.what;
        for (const char* name : {"sound.dbf", "vfpmemo.fpt"})
            std::filesystem::permissions(dir + name, std::filesystem::perms::owner_all);
    }
}

TEST(DbfmendTest, DryRunWritesNothingAndRepairUndoRestoresEveryByte)
{
    std::string dir = MakeFolder();
    Snapshot original = Take(dir);

    MendResult dry = Mend({"repair", "--dry-run", dir + "count.DBF", dir + "vfpmemo.dbf"});
    EXPECT_EQ(dry.status, kExitFindings) << dry.out;
    EXPECT_TRUE(Contains(dry.out,
                         "count.DBF: would repair 1 finding (mask 4)\n"
                         "  Record Count: 7 -> 3\n"))
        << dry.out;
    EXPECT_TRUE(Contains(dry.out, "  DBF Flags: 0 -> 2\n")) << dry.out;
    EXPECT_EQ(Take(dir), original) << "a dry run writes nothing";

    MendResult repair = Mend({"repair", "-r", dir});
    EXPECT_EQ(repair.status, kExitFailed) << repair.out << "text.DBF cannot be repaired";
    EXPECT_TRUE(Contains(repair.out, "count.DBF: repaired 1 finding (mask 4), backup " + dir +
                                         "count.DBF.dbfmend-undo\n  Record Count: 7 -> 3\n"))
        << repair.out;
    EXPECT_TRUE(Contains(repair.out, "9 tables, 4 sound, 4 with findings, 1 failed; 4 repaired"))
        << repair.out;
    MendResult after = Mend({"check", dir + "count.DBF", dir + "vfpmemo.dbf", dir + "fox2memo.dbf",
                             dir + "sub/deep.dbf"});
    EXPECT_EQ(after.status, kExitSound) << after.out;
    EXPECT_EQ(Take(dir)[dir + "sound.dbf"], original[dir + "sound.dbf"]);

    MendResult undo =
        Mend({"undo", dir + "count.DBF.dbfmend-undo", dir + "vfpmemo.dbf.dbfmend-undo",
              dir + "fox2memo.dbf.dbfmend-undo", dir + "sub/deep.dbf.dbfmend-undo"});
    EXPECT_EQ(undo.status, kExitSound) << undo.out;
    EXPECT_TRUE(Contains(undo.out, "4 backups, 4 restored, 0 refused\n")) << undo.out;
    Snapshot restored = Take(dir);
    for (auto it = restored.begin(); it != restored.end();) {
        bool backup = Contains(it->first, kUndoSuffix);
        it = backup ? restored.erase(it) : std::next(it);
    }
    EXPECT_EQ(restored, original) << "undo gives every byte back";

    MendResult fixed = Mend({"repair", "--no-backup", dir + "count.DBF"});
    EXPECT_EQ(fixed.status, kExitSound) << fixed.out;
    EXPECT_TRUE(Contains(fixed.out, "count.DBF: repaired 1 finding (mask 4), no backup\n"));
}

struct UndoCase {
    const char* what;
    std::function<void(const std::string& dir, const std::string& backup)> change;
    const char* said;
};

TEST(DbfmendTest, UndoRefusesChangedFilesAndBrokenBackups)
{
    auto append = [](const std::string& path) {
        std::vector<uint8_t> bytes = ReadBytes(path);
        bytes.push_back(0x1A);
        WriteBytes(path, bytes);
    };
    auto rewrite = [](const std::string& path, size_t at, size_t keep) {
        std::vector<uint8_t> bytes = ReadBytes(path);
        bytes[at] ^= 0x01;
        bytes.resize(keep ? keep : bytes.size());
        WriteBytes(path, bytes);
    };
    const std::vector<UndoCase> cases = {
        {"table grew", [&](auto& dir, auto&) { append(dir + "vfpmemo.dbf"); },
         "changed size since the backup"},
        {"memo grew", [&](auto& dir, auto&) { append(dir + "vfpmemo.fpt"); },
         ".fpt changed size since the backup (1165 bytes then, 1166 now)"},
        {"checksum", [&](auto&, auto& backup) { rewrite(backup, 70, 0); },
         "checksum does not match"},
        {"cut short", [&](auto&, auto& backup) { rewrite(backup, 0, 300); },
         "not a dbfmend undo file"},
        {"cut after the magic", [&](auto&, auto& backup) { rewrite(backup, 20, 300); },
         "undo file cut short or too long (300 bytes"},
        {"name outside the folder",
         [](auto&, auto& backup) {
             UndoRecord record;
             record.table.name = "../vfpmemo.dbf";
             record.table.head.assign(32, 0);
             WriteBytes(backup, WriteUndoFile(record));
         },
         "names a file outside its own folder"},
        {"table locked by another user", nullptr, "stays locked by another user"},
    };
    for (const UndoCase& c : cases) {
        std::string dir = MakeFolder();
        std::string backup = dir + "vfpmemo.dbf" + kUndoSuffix;
        ASSERT_EQ(Mend({"repair", dir + "vfpmemo.dbf"}).status, kExitSound);
        std::unique_ptr<dbf::TableFile> held;
        if (c.change)
            c.change(dir, backup);
        else
            held = HoldLock(dir + "vfpmemo.dbf");
        Snapshot before = Take(dir);
        MendResult undo = Mend({"undo", backup});
        EXPECT_EQ(undo.status, kExitFailed) << c.what;
        EXPECT_TRUE(Contains(undo.out, c.said)) << c.what << ": " << undo.out;
        EXPECT_TRUE(Contains(undo.out, "1 backup, 0 restored, 1 refused")) << c.what;
        EXPECT_EQ(Take(dir), before) << c.what << ": nothing written";
    }
}

TEST(DbfmendTest, JsonLinesCarryTheFields)
{
    std::string dir = MakeFolder();
    for (const char* command : {"check", "repair"}) {
        MendResult run = Mend({command, "--json", dir});
        std::istringstream lines(run.out);
        std::map<std::string, nlohmann::json> tables;
        nlohmann::json summary;
        for (std::string line; std::getline(lines, line);) {
            nlohmann::json object = nlohmann::json::parse(line);
            if (object["type"] == "summary")
                summary = object;
            else
                tables[dbf::SplitPath(object["path"].get<std::string>()).baseName] = object;
        }
        ASSERT_EQ(tables.size(), 8u) << run.out;
        const nlohmann::json& count = tables["count"];
        EXPECT_EQ(count["memo"], nullptr);
        EXPECT_EQ(count["mask"], 4);
        EXPECT_EQ(count["findings"], nlohmann::json::array({"record_count"}));
        EXPECT_EQ(count["stored"]["record_count"], 7);
        EXPECT_EQ(count["calculated"]["record_count"], 3);
        EXPECT_EQ(count["meaning"],
                  std::string(command) == "check" ? "Record count incorrect" : "sound");
        const nlohmann::json& memo = tables["vfpmemo"];
        EXPECT_TRUE(dbf::EqualsIgnoreCase(memo["memo"], dir + "vfpmemo.fpt")) << memo["memo"];
        EXPECT_EQ(memo["format"], "vfp");
        EXPECT_EQ(memo["block_size"], 128);
        EXPECT_EQ(memo["stored"]["memo_block_size"], 128);
        EXPECT_EQ(memo["calculated"]["flags"], 2);
        EXPECT_EQ(tables["fox2memo"]["format"], "fox2");
        const nlohmann::json& text = tables["text"];
        EXPECT_EQ(text["status"], "failed");
        EXPECT_EQ(text["result"], nullptr);
        EXPECT_EQ(text["format"], nullptr);
        EXPECT_TRUE(Contains(text["error"].get<std::string>(), "type byte 0x78"));
        EXPECT_EQ(summary["tables"], 8);
        EXPECT_EQ(summary["sound"], 4);
        EXPECT_EQ(summary["with_findings"], 3);
        EXPECT_EQ(summary["failed"], 1);
        EXPECT_EQ(summary["exit_status"], kExitFailed);
        if (std::string(command) == "check") {
            EXPECT_EQ(count["status"], "findings");
            EXPECT_EQ(count["result"], 4);
            EXPECT_FALSE(count.contains("backup"));
        } else {
            EXPECT_EQ(count["status"], "repaired");
            EXPECT_EQ(count["result"], 0);
            EXPECT_EQ(count["backup"], dir + "count.DBF" + kUndoSuffix);
            EXPECT_EQ(count["changes"],
                      nlohmann::json::parse(R"([{"field":"Record Count","old":7,"new":3}])"));
            EXPECT_EQ(summary["repaired"], 3);
        }
    }
}

// Tables checked side by side are printed, counted and repaired as one at a time
// would: over a folder large enough to be shared out, named twice (so that each table
// is met twice, never at once), in text and JSON.
TEST(DbfmendTest, SideBySideRunsMatchOneAtATime)
{
    auto makeFolder = [] {
        std::string dir = MakeFolder();
        for (int i = 0; i < 40; ++i) {
            std::string name = dir + "copy" + std::to_string(i);
            dbf::CopyBytes(dir + (i % 3 ? "sound.dbf" : "count.DBF"), name + ".dbf");
            if (i % 4 == 0) {
                dbf::CopyBytes(dir + "vfpmemo.dbf", name + "m.dbf");
                dbf::CopyBytes(dir + "vfpmemo.fpt", name + "m.fpt");
            }
        }
        return dir;
    };
    std::string one = makeFolder(), many = makeFolder();
    auto run = [](const std::string& dir, const char* jobs, std::vector<std::string> args) {
        args.insert(args.end(), {"--jobs", jobs, dir, dir});
        MendResult result = Mend(args);
        std::string out = result.out;
        // The folder as printed, and as JSON writes it (a Windows path's '\' doubled).
        std::string escaped;
        for (char c : dir)
            escaped += c == '\\' ? std::string(2, c) : std::string(1, c);
        for (const std::string& form : {escaped, dir}) {
            for (size_t at; (at = out.find(form)) != std::string::npos;)
                out.replace(at, form.size(), "@/");
        }
        return std::make_pair(result.status, out);
    };
    for (std::vector<std::string> args : {std::vector<std::string>{"check"},
                                          std::vector<std::string>{"check", "--json"},
                                          std::vector<std::string>{"repair"}}) {
        auto single = run(one, "1", args);
        auto side = run(many, "4", args);
        EXPECT_EQ(side, single) << args[0];
        EXPECT_FALSE(Contains(side.second, "Unable to lock")) << side.second;
        if (args.size() == 1 && args[0] == "check") {
            EXPECT_TRUE(Contains(side.second, "116 tables, 60 sound, 54 with findings, 2 failed"))
                << side.second;
        }
    }
}

// A repair or undo counts only when the files it wrote reach the disk and close
// without failure, although a repair holds them open across the library's own close.
TEST(DbfmendTest, RepairAndUndoReportAFailedFlushOrClose)
{
    using Entry = dbf::MemoryFileSystem::Entry;
    const std::vector<std::pair<const char*, std::function<void(Entry&, Entry&)>>> cases = {
        {"none", [](auto&, auto&) {}},
        {"table flush", [](auto& t, auto&) { t.flushFails = true; }},
        {"table close", [](auto& t, auto&) { t.closeFails = true; }},
        {"memo flush", [](auto&, auto& m) { m.flushFails = true; }},
        {"memo close", [](auto&, auto& m) { m.closeFails = true; }},
    };
    // The backup lies in a real folder; the files it names are memory ones.
    std::string dir = dbf::MakeTempDir();
    dbf::TableShape shape;
    shape.flags = dbf::kFlagMemo;
    std::vector<uint8_t> table = dbf::BuildTable(shape);
    dbf::WriteLe32(&table[dbf::kRecordCountOffset], 7);
    std::vector<uint8_t> memo = dbf::BuildMemo(512, 8, 64);
    UndoRecord record;
    record.table = {"t.dbf", table.size(), 0, {table.begin(), table.begin() + 32}};
    record.hasMemo = true;
    record.memo = {"t.fpt", memo.size(), 0, memo};
    WriteBytes(dir + "t.dbf" + kUndoSuffix, WriteUndoFile(record));
    for (const auto& c : cases) {
        bool fails = c.first != std::string("none");
        for (bool undo : {false, true}) {
            dbf::MemoryFileSystem files;
            files.Put(dir + "t.dbf", table);
            files.Put(dir + "t.fpt", memo);
            c.second(files.At(dir + "t.dbf"), files.At(dir + "t.fpt"));
            if (undo) {
                UndoOutcome out = UndoFromBackup(files, dir + "t.dbf" + kUndoSuffix);
                EXPECT_EQ(out.restored, !fails) << c.first << ": " << out.error;
            } else {
                MendSettings settings;
                settings.repair = true;
                settings.backup = false;
                TableOutcome out = MendTable(files, dir + "t.dbf", settings);
                EXPECT_EQ(out.status, fails ? Status::kFailed : Status::kRepaired) << c.first;
                EXPECT_EQ(out.result, fails ? dbf::kWriteFailed : 0)
                    << c.first << ": " << out.error;
            }
            EXPECT_EQ(files.OpenHandles(), 0) << c.first;
        }
    }
}

// The undo file a separate writer makes from its documented layout (the fuzz seeds'
// script) reads back with the sample table's own bytes.
TEST(DbfmendTest, UndoFileOfAnotherWriterReads)
{
    std::vector<uint8_t> bytes = ReadBytes(dbf::DataDir() + "fuzz-seeds/undo-vfpmemo");
    UndoRecord record;
    std::string error;
    ASSERT_TRUE(ReadUndoFile(bytes.data(), bytes.size(), &record, &error)) << error;
    std::vector<uint8_t> table = ReadBytes(dbf::DataDir() + "vfpmemo.dbf");
    std::vector<uint8_t> memo = ReadBytes(dbf::DataDir() + "vfpmemo.fpt");
    EXPECT_EQ(record.table.name, "vfpmemo.dbf");
    EXPECT_EQ(record.memo.name, "vfpmemo.fpt");
    EXPECT_EQ(record.table.size, table.size());
    EXPECT_EQ(record.memo.size, memo.size());
    EXPECT_EQ(record.table.head, std::vector<uint8_t>(table.begin(), table.begin() + 32));
    EXPECT_EQ(record.memo.head, std::vector<uint8_t>(memo.begin(), memo.begin() + 512));
    EXPECT_EQ(record.table.modified, 1700000000123456789LL);
    EXPECT_EQ(WriteUndoFile(record), bytes);
}

}  // namespace
}  // namespace mend
