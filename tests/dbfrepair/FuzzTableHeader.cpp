// libFuzzer target: the header check over in-memory files built from the input. It
// must not crash, must leave no file open, and may write only the two header ranges,
// only in repair mode and only when the repair does not end in an error. The same
// input is read as a dbfmend undo file: no crash, and what it accepts it writes back
// byte for byte.
#include <cstdlib>
#include <cstring>

#include "MemoryFileSystem.h"
#include "TableHeader.h"
#include "UndoFile.h"

namespace {

const char* const kTables[] = {"D:\\f\\t.dbf", "D:\\f\\t.DBC", "D:\\f\\t.scx", "D:\\f\\t.txt"};
const char* const kMemos[] = {"D:\\f\\t.FPT", "D:\\f\\t.DCT", "D:\\f\\t.SCT", "D:\\f\\t.FPT"};
const char* const kIndexes[] = {"D:\\f\\t.cdx", "D:\\f\\t.dcx", "D:\\f\\t.cdx", "D:\\f\\t.cdx"};

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// Everything outside the header range must be as it was, and the size too.
void RequireOnlyHeaderChanged(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after,
                              size_t headerSize)
{
    Require(before.size() == after.size());
    if (before.size() > headerSize)
        Require(std::memcmp(before.data() + headerSize, after.data() + headerSize,
                            before.size() - headerSize) == 0);
}

void CheckUndoReader(const uint8_t* data, size_t size)
{
    mend::UndoRecord record;
    std::string error;
    if (mend::ReadUndoFile(data, size, &record, &error))
        Require(mend::WriteUndoFile(record) == std::vector<uint8_t>(data, data + size));
    else
        Require(!error.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckUndoReader(data, size);
    if (size < 7)
        return 0;
    uint8_t options = data[0];
    int32_t mode = options & 3;
    bool vfp = options & 4;
    bool memo = options & 8;
    bool index = options & 16;
    int kind = (options >> 5) & 3;
    int32_t blockSize;
    std::memcpy(&blockSize, data + 1, 4);
    size_t memoLength = memo ? static_cast<size_t>(data[5] | (data[6] << 8)) : 0;
    data += 7;
    size -= 7;
    memoLength = memoLength < size ? memoLength : size;

    dbf::MemoryFileSystem fs;
    std::vector<uint8_t> memoBytes(data, data + memoLength);
    std::vector<uint8_t> tableBytes(data + memoLength, data + size);
    fs.Put(kTables[kind], tableBytes);
    if (memo)
        fs.Put(kMemos[kind], memoBytes);
    if (index)
        fs.Put(kIndexes[kind], {});

    dbf::HeaderReport report;
    int32_t result = dbf::checkTableHeader(fs, kTables[kind], mode, blockSize, &report, vfp);

    Require(fs.OpenHandles() == 0);
    Require(result >= -5 && result <= 127);
    if (mode != dbf::kModeRepair) {
        Require(fs.writes.empty());
        Require(fs.Data(kTables[kind]) == tableBytes);
    } else {
        Require(result <= 0);
        // A table that cannot be repaired gets neither header written.
        if (result < 0 && result != dbf::kWriteFailed)
            Require(fs.writes.empty());
        for (const dbf::WriteRecord& w : fs.writes) {
            bool isTable = w.path == kTables[kind];
            Require(w.offset == 0);
            Require(w.count == (isTable ? dbf::kTableHeaderSize : dbf::kMemoHeaderSize));
        }
        RequireOnlyHeaderChanged(tableBytes, fs.Data(kTables[kind]), dbf::kTableHeaderSize);
    }
    if (memo)
        RequireOnlyHeaderChanged(memoBytes, fs.Data(kMemos[kind]), dbf::kMemoHeaderSize);
    return 0;
}
