// The header check: companions, lock, memo header, descriptor scan, comparison and
// repair, in the order that repair mode depends on.
#include "TableHeader.h"

#include <cstring>
#include <string>
#include <vector>

#include "ByteOrder.h"
#include "Companions.h"
#include "DescriptorScan.h"
#include "FileAccess.h"

namespace dbf {
namespace {

const int kLockRetries = 5;  // after the first attempt
const int kRetriesWithoutPause = 1;
const unsigned kLockPauseMs = 2;
const uint16_t kVfpBackLinkSize = 263;
const uint16_t kFoxProTrailerSize = 1;
const uint64_t kLargestFile = 0x7FFFFFFF;  // sizes are signed 32-bit

struct Companions {
    bool memo = false;
    bool index = false;
    bool container = false;
    std::string memoPath;  // as found by the directory search
};

Companions FindCompanions(FileSystem& files, const std::string& path)
{
    Companions found;
    PathParts parts = SplitPath(path);
    CompanionKinds kinds = LookUpCompanions(parts.extension);
    std::string stem = parts.drive + parts.directory + parts.baseName;
    // Both companions lie beside the table and are searched for together.
    std::vector<std::string> paths;
    if (!kinds.memoExtension.empty())
        paths.push_back(stem + kinds.memoExtension);
    if (!kinds.indexExtension.empty())
        paths.push_back(stem + kinds.indexExtension);
    std::vector<std::string> hits;
    files.ExistAll(paths, &hits);
    size_t next = 0;
    if (!kinds.memoExtension.empty()) {
        found.memoPath = hits[next++];
        found.memo = !found.memoPath.empty();
    }
    if (!kinds.indexExtension.empty())
        found.index = !hits[next].empty();
    found.container = EqualsIgnoreCase(parts.extension, ".DBC");
    return found;
}

uint8_t CalculatedFlags(const Companions& c, bool visualFoxPro)
{
    uint8_t flags = 0;
    if (c.container && visualFoxPro)
        flags |= kFlagContainer;
    if (c.index)
        flags |= kFlagIndex;
    if (c.memo && visualFoxPro)
        flags |= kFlagMemo;
    return flags;
}

uint8_t CalculatedType(const Companions& c, bool visualFoxPro)
{
    if (visualFoxPro)
        return kTypeVisualFoxPro;
    return c.memo ? kTypeFoxProMemo : kTypeFoxPro;
}

bool LockTable(FileSystem& files, TableFile& table)
{
    if (table.LockByte(kLockOffset))
        return true;
    for (int attempt = 0; attempt < kLockRetries; ++attempt) {
        if (attempt >= kRetriesWithoutPause)
            files.Pause(kLockPauseMs);
        if (table.LockByte(kLockOffset))
            return true;
    }
    return false;
}

// Blocks in use: the header's blocks, then the memo data up to the end of the file.
// A last block that its writer did not pad still counts whole, so that the next memo
// is stored after it and not over its tail.
uint32_t CalculatedNextBlock(uint64_t memoSize, uint16_t block)
{
    uint32_t data = static_cast<uint32_t>(memoSize - kMemoHeaderSize);
    return (kMemoHeaderSize + block - 1) / block + (data + block - 1) / block;
}

// Step 9: reads, checks or rewrites the memo header. Answers 0 or an error code;
// adds findings to *findings. The memo is only written in repair mode, and only when
// mayWrite says the table itself can be repaired.
int32_t CheckMemo(FileSystem& files, const std::string& memoPath, int32_t mode, int32_t blockSize,
                  bool visualFoxPro, bool mayWrite, HeaderReport* report, int32_t* findings)
{
    std::unique_ptr<TableFile> memo = files.OpenExisting(memoPath);
    if (!memo)
        return kOpenFailed;
    uint8_t header[kMemoHeaderSize];
    if (memo->ReadAt(0, header, kMemoHeaderSize) != kMemoHeaderSize)
        return kReadFailed;
    uint64_t memoSize = 0;
    if (!memo->Size(&memoSize) || memoSize > kLargestFile || memoSize < kMemoHeaderSize)
        return kReadFailed;
    uint32_t storedNext = ReadBe32(header + kNextBlockOffset);
    uint16_t storedBlock = ReadBe16(header + kBlockSizeOffset);
    uint16_t block = CalculatedBlockSize(blockSize, visualFoxPro);
    uint32_t calcNext = CalculatedNextBlock(memoSize, block);
    if (mode == kModeRepair) {
        if (!mayWrite)
            return 0;
        WriteBe32(header + kNextBlockOffset, calcNext);
        WriteBe16(header + kBlockSizeOffset, block);
        if (memo->WriteAt(0, header, kMemoHeaderSize) != kMemoHeaderSize)
            return kWriteFailed;
        return 0;
    }
    if (storedNext != calcNext)
        *findings |= kBadNextBlock;
    if (storedBlock != block)
        *findings |= kBadBlockSize;
    if (mode == kModeReport && report) {
        std::memcpy(report->memoHeader, header, kMemoHeaderSize);
        WriteLe32(report->memoHeader + kNextBlockOffset, storedNext);
        WriteLe16(report->memoHeader + kBlockSizeOffset, storedBlock);
        WriteLe32(report->calcMemoHeader + kNextBlockOffset, calcNext);
        WriteLe16(report->calcMemoHeader + kBlockSizeOffset, block);
    }
    return 0;
}

int32_t CompareHeaders(const uint8_t* stored, const uint8_t* calc)
{
    int32_t findings = 0;
    if (ReadLe16(stored + kHeaderLengthOffset) != ReadLe16(calc + kHeaderLengthOffset))
        findings |= kBadHeaderLength;
    if (ReadLe16(stored + kRecordLengthOffset) != ReadLe16(calc + kRecordLengthOffset))
        findings |= kBadRecordLength;
    if (ReadLe32(stored + kRecordCountOffset) != ReadLe32(calc + kRecordCountOffset))
        findings |= kBadRecordCount;
    if (stored[kTypeOffset] != calc[kTypeOffset])
        findings |= kBadType;
    if (stored[kFlagsOffset] != calc[kFlagsOffset])
        findings |= kBadFlags;
    return findings;
}

// A file shorter than its header holds no record: the count is 0, never negative.
uint32_t CalculatedRecordCount(uint64_t tableSize, uint16_t headerLength, uint16_t recordLength)
{
    if (tableSize <= headerLength)
        return 0;
    return static_cast<uint32_t>((tableSize - headerLength) / recordLength);
}

int32_t CheckOpenTable(FileSystem& files, TableFile& table, const Companions& companions,
                       int32_t mode, int32_t blockSize, HeaderReport* report, bool visualFoxPro)
{
    if (!LockTable(files, table))
        return kLockFailed;
    // The header is read together with the descriptor area that follows it.
    TableHeadReader head(table);
    uint8_t stored[kTableHeaderSize];
    if (head.Read(stored, kTableHeaderSize) != kTableHeaderSize)
        return kReadFailed;
    uint64_t tableSize = 0;
    if (!head.EndSeen(&tableSize) && !table.Size(&tableSize))
        return kReadFailed;
    if (tableSize > kLargestFile)
        return kReadFailed;

    // The descriptors are read before the memo is looked at, so that a table that
    // cannot be repaired has neither header written. The memo's own errors still come
    // first, as they would if it were read first.
    DescriptorSums sums;
    bool descriptorsSound = ScanDescriptors(head, visualFoxPro, &sums);
    uint16_t headerLength = static_cast<uint16_t>(
        sums.headerLength + (visualFoxPro ? kVfpBackLinkSize : kFoxProTrailerSize));
    // Field lengths that add up to a multiple of 65536 leave no representable record.
    uint16_t recordLength = static_cast<uint16_t>(sums.fieldLengthSum + 1);
    descriptorsSound = descriptorsSound && recordLength != 0;

    HeaderReport scratch;
    HeaderReport* filled = (mode == kModeReport && report) ? report : &scratch;
    std::memset(filled, 0, sizeof *filled);
    int32_t findings = 0;
    if (companions.memo) {
        int32_t memoResult = CheckMemo(files, companions.memoPath, mode, blockSize, visualFoxPro,
                                       descriptorsSound, filled, &findings);
        if (memoResult < 0)
            return memoResult;
    }
    if (!descriptorsSound)
        return kDescriptorsCorrupt;

    uint8_t* calc = filled->calcHeader;
    calc[kTypeOffset] = CalculatedType(companions, visualFoxPro);
    WriteLe32(calc + kRecordCountOffset,
              CalculatedRecordCount(tableSize, headerLength, recordLength));
    WriteLe16(calc + kHeaderLengthOffset, headerLength);
    WriteLe16(calc + kRecordLengthOffset, recordLength);
    calc[kFlagsOffset] = CalculatedFlags(companions, visualFoxPro);
    findings |= CompareHeaders(stored, calc);

    if (mode == kModeRepair) {
        std::memcpy(stored + kRecordCountOffset, calc + kRecordCountOffset, 4);
        std::memcpy(stored + kHeaderLengthOffset, calc + kHeaderLengthOffset, 2);
        std::memcpy(stored + kRecordLengthOffset, calc + kRecordLengthOffset, 2);
        stored[kTypeOffset] = calc[kTypeOffset];
        stored[kFlagsOffset] = calc[kFlagsOffset];
        if (table.WriteAt(0, stored, kTableHeaderSize) != kTableHeaderSize)
            return kWriteFailed;
        return 0;
    }
    if (mode == kModeReport && report) {
        std::memcpy(report->tableHeader, stored, kTableHeaderSize);
        report->tableSize = static_cast<uint32_t>(tableSize);
    }
    return findings;
}

}  // namespace

uint16_t CalculatedBlockSize(int32_t requested, bool visualFoxPro)
{
    const uint16_t defaultSize = visualFoxPro ? 1 : 64;
    uint16_t size;
    if (requested >= 1 && requested <= 32)
        size = static_cast<uint16_t>(requested * 512);
    else if (requested == 0)
        size = defaultSize;
    else
        size = static_cast<uint16_t>(static_cast<uint32_t>(requested));
    return size == 0 ? defaultSize : size;
}

int32_t checkTableHeader(FileSystem& files, const char* path, int32_t mode, int32_t blockSize,
                         HeaderReport* report, bool visualFoxPro)
{
    Companions companions = FindCompanions(files, path);
    std::unique_ptr<TableFile> table = files.OpenExisting(path);
    if (!table)
        return kOpenFailed;
    return CheckOpenTable(files, *table, companions, mode, blockSize, report, visualFoxPro);
}

int32_t checkTableHeader(const char* path, int32_t mode, int32_t blockSize, HeaderReport* report,
                         bool visualFoxPro)
{
    return checkTableHeader(PlatformFileSystem(), path, mode, blockSize, report, visualFoxPro);
}

}  // namespace dbf
