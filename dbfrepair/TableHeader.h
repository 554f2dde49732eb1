// Checks a table's header (and its memo file's header) against the files and repairs both.
#pragma once

#include <cstdint>

namespace dbf {

class FileSystem;

const uint32_t kTableHeaderSize = 32;
const uint32_t kMemoHeaderSize = 512;

// Table header field offsets (little-endian).
const int kTypeOffset = 0;
const int kRecordCountOffset = 4;
const int kHeaderLengthOffset = 8;
const int kRecordLengthOffset = 10;
const int kFlagsOffset = 28;

// Memo header field offsets (big-endian in the file).
const int kNextBlockOffset = 0;
const int kBlockSizeOffset = 6;

// Table flags byte bits.
const uint8_t kFlagIndex = 1;
const uint8_t kFlagMemo = 2;
const uint8_t kFlagContainer = 4;

// Type bytes.
const uint8_t kTypeVisualFoxPro = 0x30;
const uint8_t kTypeFoxProMemo = 0xF5;
const uint8_t kTypeFoxPro = 0x03;

// Modes.
const int32_t kModeRepair = 1;
const int32_t kModeReport = 2;

// Findings bits.
const int32_t kBadHeaderLength = 1;
const int32_t kBadRecordLength = 2;
const int32_t kBadRecordCount = 4;
const int32_t kBadType = 8;
const int32_t kBadFlags = 16;
const int32_t kBadNextBlock = 32;
const int32_t kBadBlockSize = 64;

// Error codes.
const int32_t kOpenFailed = -1;
const int32_t kReadFailed = -2;
const int32_t kLockFailed = -3;
const int32_t kDescriptorsCorrupt = -4;
const int32_t kWriteFailed = -5;
const int32_t kPathTooLong = -6;

// Offset of the one-byte lock that co-operating openers of a table take.
const uint32_t kLockOffset = 0x7FFFFFFE;

// The stored and calculated headers of one table. In report mode it is cleared, then
// filled when the check completes (a result of 0 or more). The two memo header fields
// of memoHeader and calcMemoHeader are held in host order (little-endian); everything
// else is as read.
struct HeaderReport {
    uint8_t tableHeader[kTableHeaderSize];
    uint8_t calcHeader[kTableHeaderSize];
    uint8_t memoHeader[kMemoHeaderSize];
    uint8_t calcMemoHeader[kMemoHeaderSize];
    uint32_t tableSize;
};

// Block-size rule: 1..32 are units of 512 bytes, 0 is the format's default, anything
// else a byte count, held in 16 bits. A value whose low 16 bits are zero leaves no
// block size to divide by and falls back to the format's default.
uint16_t CalculatedBlockSize(int32_t requested, bool visualFoxPro);

int32_t checkTableHeader(FileSystem& files, const char* path, int32_t mode, int32_t blockSize,
                         HeaderReport* report, bool visualFoxPro);

// The same on the platform's own files.
int32_t checkTableHeader(const char* path, int32_t mode, int32_t blockSize, HeaderReport* report,
                         bool visualFoxPro);

}  // namespace dbf
