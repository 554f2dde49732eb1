// The header check and its repair, step by step, over a table and its memo file.
#include "TableHeader.h"

#include <cstring>
#include <memory>
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

struct CheckRequest {
    int32_t mode;
    int32_t blockSize;
    bool visualFoxPro;
};

// The companion files a directory search finds beside the table.
struct CompanionFiles {
    bool memo = false;
    bool index = false;
    bool container = false;
    std::string memoPath;  // as found by the directory search
};

CompanionFiles FindCompanions(FileSystem& files, const std::string& path)
{
    CompanionFiles found;
    PathParts parts = SplitPath(path);
    CompanionKinds kinds = LookUpCompanions(parts.extension);
    std::string stem = StemOf(parts);
    // Both companions lie beside the table and are searched for together.
    std::vector<std::string> paths;
    paths.reserve(2);
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

// What the head of the table gives: the header as stored, the file's size, and the
// header and record lengths that its field descriptors add up to.
struct TableHead {
    uint8_t stored[kTableHeaderSize] = {};
    uint64_t size = 0;
    bool descriptorsSound = false;
    uint16_t headerLength = 0;
    uint16_t recordLength = 0;
};

// The stored header and the file's size; 0 or kReadFailed.
int32_t ReadStoredHeader(TableFile& table, TableHeadReader& reader, TableHead* head)
{
    if (reader.Read(head->stored, kTableHeaderSize) != kTableHeaderSize)
        return kReadFailed;
    if (!reader.EndSeen(&head->size) && !table.Size(&head->size))
        return kReadFailed;
    return head->size > kLargestFile ? kReadFailed : 0;
}

// The descriptors that follow the header, read through the same reader.
void ScanFieldDescriptors(TableHeadReader& reader, bool visualFoxPro, TableHead* head)
{
    DescriptorSums sums;
    bool sound = ScanDescriptors(reader, visualFoxPro, &sums);
    head->headerLength = static_cast<uint16_t>(
        sums.headerLength + (visualFoxPro ? kVfpBackLinkSize : kFoxProTrailerSize));
    // Field lengths that add up to a multiple of 65536 leave no representable record.
    head->recordLength = static_cast<uint16_t>(sums.fieldLengthSum + 1);
    head->descriptorsSound = sound && head->recordLength != 0;
}

// Blocks in use: the header's blocks, then the memo data up to the end of the file.
// A last block that its writer did not pad still counts whole, so that the next memo
// is stored after it and not over its tail.
uint32_t CalculatedNextBlock(uint64_t memoSize, uint16_t block)
{
    uint32_t data = static_cast<uint32_t>(memoSize - kMemoHeaderSize);
    return (kMemoHeaderSize + block - 1) / block + (data + block - 1) / block;
}

// The memo header as read, and the two values it ought to hold. The file stays open
// for the repair.
struct MemoCheck {
    int32_t error = 0;  // kOpenFailed or kReadFailed
    std::unique_ptr<TableFile> file;
    uint8_t header[kMemoHeaderSize] = {};
    uint32_t storedNext = 0;
    uint32_t calcNext = 0;
    uint16_t storedBlock = 0;
    uint16_t calcBlock = 0;

    int32_t Findings() const
    {
        if (!file)
            return 0;
        return (storedNext != calcNext ? kBadNextBlock : 0) |
               (storedBlock != calcBlock ? kBadBlockSize : 0);
    }
};

MemoCheck CheckMemo(FileSystem& files, const std::string& memoPath, int32_t blockSize,
                    bool visualFoxPro)
{
    MemoCheck memo;
    std::unique_ptr<TableFile> file = files.OpenExisting(memoPath);
    uint64_t memoSize = 0;
    if (!file)
        memo.error = kOpenFailed;
    else if (file->ReadAt(0, memo.header, kMemoHeaderSize) != kMemoHeaderSize ||
             !file->Size(&memoSize) || memoSize > kLargestFile || memoSize < kMemoHeaderSize)
        memo.error = kReadFailed;
    if (memo.error)
        return memo;
    memo.file = std::move(file);
    memo.storedNext = ReadBe32(memo.header + kNextBlockOffset);
    memo.storedBlock = ReadBe16(memo.header + kBlockSizeOffset);
    memo.calcBlock = CalculatedBlockSize(blockSize, visualFoxPro);
    memo.calcNext = CalculatedNextBlock(memoSize, memo.calcBlock);
    return memo;
}

// A file shorter than its header holds no record: the count is 0, never negative.
uint32_t CalculatedRecordCount(uint64_t tableSize, uint16_t headerLength, uint16_t recordLength)
{
    if (tableSize <= headerLength)
        return 0;
    return static_cast<uint32_t>((tableSize - headerLength) / recordLength);
}

uint8_t CalculatedFlags(const CompanionFiles& c, bool visualFoxPro)
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

uint8_t CalculatedType(const CompanionFiles& c, bool visualFoxPro)
{
    if (visualFoxPro)
        return kTypeVisualFoxPro;
    return c.memo ? kTypeFoxProMemo : kTypeFoxPro;
}

// The header the table ought to have; bytes the check does not calculate stay 0.
void CalculateHeader(const TableHead& head, const CompanionFiles& companions, bool visualFoxPro,
                     uint8_t* calc)
{
    std::memset(calc, 0, kTableHeaderSize);
    calc[kTypeOffset] = CalculatedType(companions, visualFoxPro);
    WriteLe32(calc + kRecordCountOffset,
              CalculatedRecordCount(head.size, head.headerLength, head.recordLength));
    WriteLe16(calc + kHeaderLengthOffset, head.headerLength);
    WriteLe16(calc + kRecordLengthOffset, head.recordLength);
    calc[kFlagsOffset] = CalculatedFlags(companions, visualFoxPro);
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

// A repaired header counts as written only once it has reached the disk: the write, the
// flush and the close must all succeed. The file is closed here, which also ends its lock.
bool WriteDurably(TableFile& file, const uint8_t* header, uint32_t size)
{
    bool written = file.WriteAt(0, header, size) == size && file.Flush();
    bool closed = file.Close();
    return written && closed;
}

// Writes the calculated values over the stored ones, the memo header first and then the
// table header, whether they differed or not; every other byte stays as read.
int32_t Repair(TableFile& table, uint8_t* stored, const uint8_t* calc, MemoCheck& memo)
{
    if (memo.file) {
        WriteBe32(memo.header + kNextBlockOffset, memo.calcNext);
        WriteBe16(memo.header + kBlockSizeOffset, memo.calcBlock);
        if (!WriteDurably(*memo.file, memo.header, kMemoHeaderSize))
            return kWriteFailed;
    }
    std::memcpy(stored + kRecordCountOffset, calc + kRecordCountOffset, 4);
    std::memcpy(stored + kHeaderLengthOffset, calc + kHeaderLengthOffset, 2);
    std::memcpy(stored + kRecordLengthOffset, calc + kRecordLengthOffset, 2);
    stored[kTypeOffset] = calc[kTypeOffset];
    stored[kFlagsOffset] = calc[kFlagsOffset];
    return WriteDurably(table, stored, kTableHeaderSize) ? 0 : kWriteFailed;
}

// The memo's two fields go into the report in host order.
void FillReport(const TableHead& head, const uint8_t* calc, const MemoCheck& memo,
                HeaderReport* report)
{
    std::memcpy(report->tableHeader, head.stored, kTableHeaderSize);
    std::memcpy(report->calcHeader, calc, kTableHeaderSize);
    report->tableSize = static_cast<uint32_t>(head.size);
    if (!memo.file)
        return;
    std::memcpy(report->memoHeader, memo.header, kMemoHeaderSize);
    WriteLe32(report->memoHeader + kNextBlockOffset, memo.storedNext);
    WriteLe16(report->memoHeader + kBlockSizeOffset, memo.storedBlock);
    WriteLe32(report->calcMemoHeader + kNextBlockOffset, memo.calcNext);
    WriteLe16(report->calcMemoHeader + kBlockSizeOffset, memo.calcBlock);
}

int32_t CheckOpenTable(FileSystem& files, TableFile& table, const CompanionFiles& companions,
                       const CheckRequest& request, HeaderReport* report)
{
    if (!LockTable(files, table))
        return kLockFailed;
    // The header is read together with the descriptor area that follows it.
    TableHeadReader reader(table);
    TableHead head;
    if (int32_t error = ReadStoredHeader(table, reader, &head))
        return error;
    // The descriptors are read before the memo is looked at, so that a table that
    // cannot be repaired has neither header written. The memo's own errors still come
    // first, as they would if it were read first.
    ScanFieldDescriptors(reader, request.visualFoxPro, &head);
    MemoCheck memo;
    if (companions.memo) {
        memo = CheckMemo(files, companions.memoPath, request.blockSize, request.visualFoxPro);
        if (memo.error)
            return memo.error;
    }
    if (!head.descriptorsSound)
        return kDescriptorsCorrupt;
    uint8_t calc[kTableHeaderSize];
    CalculateHeader(head, companions, request.visualFoxPro, calc);
    if (request.mode == kModeRepair)
        return Repair(table, head.stored, calc, memo);
    if (request.mode == kModeReport && report)
        FillReport(head, calc, memo, report);
    return CompareHeaders(head.stored, calc) | memo.Findings();
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
    if (mode == kModeReport && report)
        std::memset(report, 0, sizeof *report);
    CompanionFiles companions = FindCompanions(files, path);
    std::unique_ptr<TableFile> table = files.OpenExisting(path);
    if (!table)
        return kOpenFailed;
    return CheckOpenTable(files, *table, companions, CheckRequest{mode, blockSize, visualFoxPro},
                          report);
}

int32_t checkTableHeader(const char* path, int32_t mode, int32_t blockSize, HeaderReport* report,
                         bool visualFoxPro)
{
    return checkTableHeader(PlatformFileSystem(), path, mode, blockSize, report, visualFoxPro);
}

}  // namespace dbf
