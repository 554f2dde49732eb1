// The undo file that dbfmend writes beside a table before repairing it: the bytes the
// repair overwrites (the table's first 32, the memo's first 512), with the names,
// sizes and modification times of both files and a checksum.
//
// Layout (integers little-endian):
//   0   8  magic "DBFMUNDO"
//   8   2  version, 1
//  10   2  length T of the table's name
//  12   2  length M of the memo's name, 0 when no memo was saved
//  14   2  zero
//  16   8  table size in bytes
//  24   8  table modification time, nanoseconds since 1970-01-01 UTC (signed)
//  32   8  memo size in bytes (0 without memo)
//  40   8  memo modification time (0 without memo)
//  48   T  table name, the bare name without folder (bytes as the file system gives them)
//       M  memo name, the same
//      32  the table's first 32 bytes
//     512  the memo's first 512 bytes (only when M > 0)
//       4  CRC-32 (the one of zip and PNG) of every byte before it
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mend {

const char kUndoSuffix[] = ".dbfmend-undo";
const size_t kUndoNameLimit = 1024;
const size_t kUndoFileLimit = 48 + 2 * kUndoNameLimit + 32 + 512 + 4;

struct SavedFile {
    std::string name;  // bare name, in the undo file's folder
    uint64_t size = 0;
    int64_t modified = 0;
    std::vector<uint8_t> head;  // 32 bytes for the table, 512 for the memo
};

struct UndoRecord {
    SavedFile table;
    bool hasMemo = false;
    SavedFile memo;
};

uint32_t Crc32(const uint8_t* data, size_t size);

// The file's bytes; the record must hold a table head of 32 bytes, a memo head of 512
// when hasMemo, and valid names.
std::vector<uint8_t> WriteUndoFile(const UndoRecord& record);

// Reads an undo file; false with the reason when it is not one this version writes,
// is cut short, fails its checksum or names a file outside its own folder.
bool ReadUndoFile(const uint8_t* data, size_t size, UndoRecord* record, std::string* error);

// Whether a name may be stored: not empty, not "." or "..", no folder separator, no
// NUL, not longer than kUndoNameLimit.
bool IsBareName(const std::string& name);

}  // namespace mend
