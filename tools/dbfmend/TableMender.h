// One table's check, repair or undo as dbfmend runs it: the table held open and locked
// for the whole of it, the memo's stored block size as the expected one, the bytes to
// be overwritten saved before the first write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "FileAccess.h"
#include "TableHeader.h"

namespace mend {

struct WalkItem;

enum class Format { kAuto, kVisualFoxPro, kFoxPro2 };

struct MendSettings {
    uint16_t blockSize = 0;  // bytes; 0: the memo's stored block size
    Format format = Format::kAuto;
    bool repair = false;
    bool dryRun = false;
    bool backup = true;
};

// The largest block size the format's writers use (32 units of 512 bytes); a stored
// size of 0 or above it is taken for damage, not for a choice.
const uint16_t kLargestBlockSize = 16384;

// One header field that a repair writes with a different value.
struct FieldChange {
    std::string field;  // the report's row name, e.g. "Record Count"
    uint32_t before = 0;
    uint32_t after = 0;
};

enum class Status { kSound, kFindings, kFailed, kWouldRepair, kRepaired };

struct TableOutcome {
    std::string path;
    std::string memoPath;        // empty without memo
    bool formatSettled = false;  // visualFoxPro says the format checked in
    bool visualFoxPro = true;
    uint16_t blockSize = 0;  // the block size checked against; 0 without memo
    bool checked = false;    // the library's check ran to a mask (report below is valid)
    bool resultKnown = false;
    int32_t result = 0;    // the last library result (mask or error code)
    int32_t findings = 0;  // mask found by the check, before any repair
    dbf::HeaderReport report = {};
    std::string error;  // what failed beyond a library code, in words
    std::string backupPath;
    std::vector<FieldChange> changes;
    Status status = Status::kFailed;
};

// Checks (and with settings.repair repairs) one table through files. For a table
// the walk found in a folder (listed), its memo and index are taken from the walk's
// listing of that folder instead of being searched for in the folder.
TableOutcome MendTable(dbf::FileSystem& files, const std::string& path,
                       const MendSettings& settings, const WalkItem* listed = nullptr);

// The fields a repair would change, from a report-mode check.
std::vector<FieldChange> ChangesOf(const dbf::HeaderReport& report, bool hasMemo);

struct UndoOutcome {
    std::string backupPath;
    std::string tablePath;
    std::string memoPath;
    bool restored = false;
    std::string error;
};

// Takes the table's lock byte as the library does: at once, again at once, then four
// more attempts 2 ms apart; false when another user holds it.
bool LockTable(dbf::FileSystem& files, dbf::TableFile& table);

// Writes the bytes saved in an undo file back, or refuses with nothing written.
UndoOutcome UndoFromBackup(dbf::FileSystem& files, const std::string& backupPath);

// The argument that makes the library's block-size rule give exactly `bytes` (its
// 1 to 32 mean units of 512, so a byte count is passed above 65535, whose low 16 bits
// the rule keeps).
int32_t LibraryBlockArgument(uint16_t bytes);

}  // namespace mend
