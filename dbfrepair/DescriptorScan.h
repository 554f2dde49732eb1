// Walks the field descriptor area of a table up to its terminator.
#pragma once

#include <cstdint>

namespace dbf {

class TableFile;

struct DescriptorSums {
    uint16_t headerLength = 0;    // 32 + 32 per descriptor + the byte after the terminator
    uint32_t fieldLengthSum = 0;  // sum of the descriptors' field lengths
};

// Reads descriptors from offset 32; false when the file ends before the terminator or
// inside a descriptor.
bool ScanDescriptors(TableFile& table, bool visualFoxPro, DescriptorSums* sums);

}  // namespace dbf
