// Table and memo file bytes whose headers agree with their contents, for tests to damage.
#pragma once

#include <cstdint>
#include <vector>

#include "ByteOrder.h"
#include "TableHeader.h"

namespace dbf {

struct TableShape {
    TableShape() : fieldLengths(3) { fieldLengths = {10, 8, 1}; }
    std::vector<uint8_t> fieldLengths;
    bool visualFoxPro = true;
    bool zeroAfterTerminator = true;  // FoxPro 2.x only: the optional 0x00
    uint32_t records = 3;
    bool endOfFileMarker = true;
    uint8_t type = kTypeVisualFoxPro;
    uint8_t flags = 0;
};

inline uint16_t HeaderLengthOf(const TableShape& s)
{
    uint32_t n = 32 + 32 * static_cast<uint32_t>(s.fieldLengths.size()) + 1;
    n += s.visualFoxPro ? 263 : (s.zeroAfterTerminator ? 1 : 0);
    return static_cast<uint16_t>(n);
}

inline uint16_t RecordLengthOf(const TableShape& s)
{
    uint32_t n = 1;
    for (uint8_t len : s.fieldLengths)
        n += len;
    return static_cast<uint16_t>(n);
}

inline std::vector<uint8_t> BuildTable(const TableShape& s)
{
    std::vector<uint8_t> t(32, 0);
    t[kTypeOffset] = s.type;
    t[1] = 124;  // last update: 2024-05-06, kept untouched by every mode
    t[2] = 5;
    t[3] = 6;
    WriteLe32(&t[kRecordCountOffset], s.records);
    WriteLe16(&t[kHeaderLengthOffset], HeaderLengthOf(s));
    WriteLe16(&t[kRecordLengthOffset], RecordLengthOf(s));
    t[kFlagsOffset] = s.flags;
    t[29] = 0x57;  // code page mark
    for (size_t i = 0; i < s.fieldLengths.size(); ++i) {
        std::vector<uint8_t> d(32, 0);
        d[0] = static_cast<uint8_t>('A' + i % 26);
        d[11] = 'C';
        d[16] = s.fieldLengths[i];
        t.insert(t.end(), d.begin(), d.end());
    }
    t.push_back(0x0D);
    if (s.visualFoxPro)
        t.insert(t.end(), 263, 0);
    else if (s.zeroAfterTerminator)
        t.push_back(0);
    for (uint32_t r = 0; r < s.records; ++r) {
        t.push_back(' ');
        t.insert(t.end(), RecordLengthOf(s) - 1, static_cast<uint8_t>('a' + r % 26));
    }
    if (s.endOfFileMarker)
        t.push_back(0x1A);
    return t;
}

// A memo file of `size` bytes whose header says nextBlock and blockSize.
inline std::vector<uint8_t> BuildMemo(uint32_t size, uint32_t nextBlock, uint16_t blockSize)
{
    std::vector<uint8_t> m(size, 0x4D);
    if (size >= 8) {
        WriteBe32(&m[kNextBlockOffset], nextBlock);
        m[4] = 0x11;
        m[5] = 0x22;
        WriteBe16(&m[kBlockSizeOffset], blockSize);
    }
    return m;
}

}  // namespace dbf
