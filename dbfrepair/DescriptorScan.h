// The head of a table read in order, and the walk over its field descriptors.
#pragma once

#include <cstdint>

namespace dbf {

class TableFile;

// Sequential reads from the start of a table through a read-ahead buffer. The outcome
// is the one of reading each piece on its own: a read-ahead that fails (as a read
// overlapping another opener's byte-range lock does on Windows) is given up, and from
// then on every piece is read exactly as asked for.
class TableHeadReader {
public:
    explicit TableHeadReader(TableFile& file) : file_(file) {}
    TableHeadReader(const TableHeadReader&) = delete;
    TableHeadReader& operator=(const TableHeadReader&) = delete;

    // Copies up to count bytes from the current position; answers how many arrived.
    uint32_t Read(uint8_t* out, uint32_t count);

    // The file's end offset when a read has already met it, which saves asking for the
    // size of a table whose head and records fit the first read.
    bool EndSeen(uint64_t* end) const;

private:
    bool Refill();

    TableFile& file_;
    uint64_t next_ = 0;  // file offset of the byte after the buffered ones
    uint8_t buffer_[4096];
    uint32_t pos_ = 0;
    uint32_t len_ = 0;
    bool exact_ = false;  // read-ahead given up: pieces are read as asked for
    bool ended_ = false;  // a successful read came back short: nothing follows
};

struct DescriptorSums {
    uint16_t headerLength = 0;    // 32 + 32 per descriptor + the byte after the terminator
    uint32_t fieldLengthSum = 0;  // sum of the descriptors' field lengths
};

// Reads descriptors from the reader, which stands at offset 32; false when the file
// ends before the terminator or inside a descriptor.
bool ScanDescriptors(TableHeadReader& in, bool visualFoxPro, DescriptorSums* sums);

}  // namespace dbf
