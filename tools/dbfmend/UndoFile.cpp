// Writing and reading the undo file, byte by byte with every length checked.
#include "UndoFile.h"

#include <cstring>

namespace mend {
namespace {

const char kMagic[8] = {'D', 'B', 'F', 'M', 'U', 'N', 'D', 'O'};
const uint16_t kVersion = 1;
const size_t kFixedSize = 48;
const size_t kTableHeadSize = 32;
const size_t kMemoHeadSize = 512;
const size_t kChecksumSize = 4;

void PutLe(std::vector<uint8_t>* out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out->push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint64_t GetLe(const uint8_t* p, int bytes)
{
    uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | p[i];
    return value;
}

}  // namespace

uint32_t Crc32(const uint8_t* data, size_t size)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

bool IsBareName(const std::string& name)
{
    if (name.empty() || name == "." || name == ".." || name.size() > kUndoNameLimit)
        return false;
    return name.find_first_of(std::string("/\\:\0", 4)) == std::string::npos;
}

std::vector<uint8_t> WriteUndoFile(const UndoRecord& record)
{
    std::vector<uint8_t> out(kMagic, kMagic + sizeof kMagic);
    PutLe(&out, kVersion, 2);
    PutLe(&out, record.table.name.size(), 2);
    PutLe(&out, record.hasMemo ? record.memo.name.size() : 0, 2);
    PutLe(&out, 0, 2);
    PutLe(&out, record.table.size, 8);
    PutLe(&out, static_cast<uint64_t>(record.table.modified), 8);
    PutLe(&out, record.hasMemo ? record.memo.size : 0, 8);
    PutLe(&out, record.hasMemo ? static_cast<uint64_t>(record.memo.modified) : 0, 8);
    out.insert(out.end(), record.table.name.begin(), record.table.name.end());
    if (record.hasMemo)
        out.insert(out.end(), record.memo.name.begin(), record.memo.name.end());
    out.insert(out.end(), record.table.head.begin(), record.table.head.end());
    if (record.hasMemo)
        out.insert(out.end(), record.memo.head.begin(), record.memo.head.end());
    PutLe(&out, Crc32(out.data(), out.size()), 4);
    return out;
}

bool ReadUndoFile(const uint8_t* data, size_t size, UndoRecord* record, std::string* error)
{
    *record = UndoRecord();
    if (size < kFixedSize || std::memcmp(data, kMagic, sizeof kMagic) != 0) {
        *error = "not a dbfmend undo file";
        return false;
    }
    if (GetLe(data + 8, 2) != kVersion || GetLe(data + 14, 2) != 0) {
        *error = "undo file of an unknown version";
        return false;
    }
    size_t tableName = GetLe(data + 10, 2);
    size_t memoName = GetLe(data + 12, 2);
    size_t expected = kFixedSize + tableName + memoName + kTableHeadSize +
                      (memoName ? kMemoHeadSize : 0) + kChecksumSize;
    if (size != expected) {
        *error = "undo file cut short or too long (" + std::to_string(size) + " bytes, " +
                 std::to_string(expected) + " expected)";
        return false;
    }
    if (Crc32(data, size - kChecksumSize) != GetLe(data + size - kChecksumSize, 4)) {
        *error = "undo file checksum does not match";
        return false;
    }
    const uint8_t* p = data + kFixedSize;
    record->table.size = GetLe(data + 16, 8);
    record->table.modified = static_cast<int64_t>(GetLe(data + 24, 8));
    record->table.name.assign(p, p + tableName);
    p += tableName;
    record->hasMemo = memoName != 0;
    if (record->hasMemo) {
        record->memo.size = GetLe(data + 32, 8);
        record->memo.modified = static_cast<int64_t>(GetLe(data + 40, 8));
        record->memo.name.assign(p, p + memoName);
        p += memoName;
    }
    record->table.head.assign(p, p + kTableHeadSize);
    p += kTableHeadSize;
    if (record->hasMemo)
        record->memo.head.assign(p, p + kMemoHeadSize);
    if (!IsBareName(record->table.name) || (record->hasMemo && !IsBareName(record->memo.name))) {
        *error = "undo file names a file outside its own folder";
        return false;
    }
    return true;
}

}  // namespace mend
