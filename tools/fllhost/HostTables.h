// Sizes of the memory-handle and object tables a host allocates for an extension library.
#pragma once

#include <cstddef>
#include <cstdint>

#include "HostApi.h"

namespace fllhost {

inline size_t MemoryHandleTableSize(uint16_t capacity)
{
    return offsetof(dbf::MemoryHandleTable, blocks) + sizeof(void*) * capacity;
}

inline size_t ObjectTableSize(uint16_t capacity)
{
    return offsetof(dbf::ObjectTable, objects) + sizeof(void*) * capacity;
}

}  // namespace fllhost
