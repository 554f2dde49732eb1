// The database host's extension-library interface as this library and its test host
// use it: request block, parameter block, value record, function table, service
// record and the host's memory-handle and object tables.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dbf {

// Value record types.
const char kTypeCharacter = 'C';
const char kTypeInteger = 'I';
const char kTypeLogical = 'L';

// One value passed to or returned from a routine. A character value lives in the
// memory handle `handle`, `length` bytes without terminator; a logical value is
// `length` 0 or 1.
struct ValueRecord {
    char type;
    char padding;
    int16_t width;  // display width of an integer
    uint32_t length;
    int32_t integer;
    uint32_t handle;
};

const int kMaxParameters = 16;

struct ParameterBlock {
    int16_t count;  // parameters actually passed
    ValueRecord values[kMaxParameters];
};

using Routine = void (*)(ParameterBlock*);
using PairRoutine = void (*)(intptr_t, intptr_t);
using ValueRoutine = intptr_t (*)(intptr_t, ParameterBlock*);

// Parameter count of the routine the host runs when it loads the library.
const int16_t kLoadRoutineCount = -2;

struct FunctionEntry {
    const char* name;
    Routine routine;
    int16_t parameterCount;
    const char* descriptor;  // "C" character, "I" integer, "." optional, "," between
};

struct FunctionTable {
    FunctionTable* next;
    int16_t count;
    FunctionEntry* entries;
};

// The block handed to the entry point. In the 32-bit library value A is at offset 0,
// value B at 4, the request code at 20, the address at 24 and the parameter block
// at 36.
struct RequestBlock {
    intptr_t valueA;
    intptr_t valueB;
    intptr_t reserved1[3];
    int32_t code;
    void* address;
    intptr_t reserved2[2];
    ParameterBlock parameters;
};

#if INTPTR_MAX == INT32_MAX
static_assert(offsetof(RequestBlock, code) == 20, "request code at offset 20");
static_assert(offsetof(RequestBlock, address) == 24, "address at offset 24");
static_assert(offsetof(RequestBlock, parameters) == 36, "parameter block at offset 36");
#endif

// Request codes the entry point serves.
enum RequestCode : int32_t {
    kAttachThread = 0,
    kCallRoutine = 1,
    kAllocateHandle = 2,
    kFreeHandle = 4,
    kHandleAddress = 6,
    kCallPairRoutine = 10,
    kCallValueRoutine = 11,
    kFunctionTableRequest = 14,
    kEnterObject = 16,
    kRemoveObject = 17,
    kObjectAt = 18,
};

// Answered in value B to the attach and function-table requests.
const intptr_t kInterfaceVersion = 5000;

// A host service request; the library clears `status` before each call.
struct ServiceRecord {
    intptr_t argument1;  // and the result
    intptr_t argument2;
    int32_t code;
    int32_t status;
};

using HostServiceEntry = void (*)(ServiceRecord*);

enum ServiceCode : int32_t {
    kOutputCharacter = 1,
    kOutputString = 2,
    kReturnValue = 11,
    kExecuteCommand = 54,
    kEvaluate = 55,
    kRaiseError = 83,
    kRaiseUserError = 84,
};

// The host's memory-handle table: slot 0 is never valid; each block starts with a
// 16-bit tag followed by the data.
struct MemoryHandleTable {
    uint16_t hint;
    uint16_t capacity;
    void* blocks[1];  // `capacity` entries
};

struct ObjectTable {
    uint16_t hint;
    uint16_t inUse;
    uint16_t capacity;
    void* objects[1];  // `capacity` entries
};

inline size_t MemoryHandleTableSize(uint16_t capacity)
{
    return offsetof(MemoryHandleTable, blocks) + sizeof(void*) * capacity;
}

inline size_t ObjectTableSize(uint16_t capacity)
{
    return offsetof(ObjectTable, objects) + sizeof(void*) * capacity;
}

}  // namespace dbf
