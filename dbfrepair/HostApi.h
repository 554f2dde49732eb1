// The database host's extension-library interface: the layouts and codes host and library share.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dbf {

// Value record types.
const char kTypeCharacter = 'C';
const char kTypeInteger = 'I';
const char kTypeLogical = 'L';
const char kTypeReference = 'R';  // a locator: a variable or field passed by reference

// Parameters one call passes at most: the room in the host's parameter block.
const int kMaxParameters = 16;

// The host lays out the value record, the parameter block and the function table the
// way its extension-library kit publishes them: byte-packed, whatever the
// compiler's own alignment would be. The memory-handle and object tables are the
// host's structures too and are packed alike.
#pragma pack(push, 1)

// One value passed to or returned from a routine. A character value lives in the
// memory handle `handle`, `length` bytes without terminator; a logical value is
// `length` 0 or 1; an integer is `integer`, shown `width` characters wide.
struct ValueRecord {
    char type;
    char padding;
    int16_t width;
    uint32_t length;
    int32_t integer;
    double real;
    int64_t currency;
    uint32_t handle;
    uint32_t object;
};

// A variable or field passed by reference (type 'R').
struct Locator {
    char type;
    int16_t where;
    uint16_t nameIndex;  // into the host's name table
    uint16_t offset;
    uint16_t subscriptCount;
    uint16_t subscript1;
    uint16_t subscript2;
};

union Parameter {
    ValueRecord value;
    Locator locator;
};

// The host passes as many parameters as the call gave; `count` decides which of
// them may be read.
struct ParameterBlock {
    int16_t count;
    Parameter parameters[kMaxParameters];
};

using Routine = void (*)(ParameterBlock*);

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

#pragma pack(pop)

// Records without pointers have one layout in every build.
static_assert(sizeof(ValueRecord) == 36, "value record of 36 bytes");
static_assert(offsetof(ValueRecord, type) == 0, "value type at 0");
static_assert(offsetof(ValueRecord, padding) == 1, "padding at 1");
static_assert(offsetof(ValueRecord, width) == 2, "width at 2");
static_assert(offsetof(ValueRecord, length) == 4, "length at 4");
static_assert(offsetof(ValueRecord, integer) == 8, "integer at 8");
static_assert(offsetof(ValueRecord, real) == 12, "real at 12");
static_assert(offsetof(ValueRecord, currency) == 20, "currency at 20");
static_assert(offsetof(ValueRecord, handle) == 28, "memory handle at 28");
static_assert(offsetof(ValueRecord, object) == 32, "object at 32");
static_assert(sizeof(Locator) == 13, "locator of 13 bytes");
static_assert(offsetof(Locator, type) == 0, "locator type at 0");
static_assert(offsetof(Locator, where) == 1, "where at 1");
static_assert(offsetof(Locator, nameIndex) == 3, "name-table index at 3");
static_assert(offsetof(Locator, offset) == 5, "offset at 5");
static_assert(offsetof(Locator, subscriptCount) == 7, "subscript count at 7");
static_assert(offsetof(Locator, subscript1) == 9, "first subscript at 9");
static_assert(offsetof(Locator, subscript2) == 11, "second subscript at 11");
static_assert(sizeof(Parameter) == 36, "parameter of 36 bytes");
static_assert(offsetof(ParameterBlock, count) == 0, "parameter count at 0");
static_assert(offsetof(ParameterBlock, parameters) == 2, "parameters from 2");
static_assert(sizeof(ParameterBlock) == 2 + 36 * kMaxParameters, "parameters 36 bytes apart");

#if INTPTR_MAX == INT32_MAX
static_assert(sizeof(FunctionEntry) == 14, "function entry of 14 bytes");
static_assert(offsetof(FunctionEntry, name) == 0, "name pointer at 0");
static_assert(offsetof(FunctionEntry, routine) == 4, "routine pointer at 4");
static_assert(offsetof(FunctionEntry, parameterCount) == 8, "parameter count at 8");
static_assert(offsetof(FunctionEntry, descriptor) == 10, "descriptor pointer at 10");
static_assert(sizeof(FunctionTable) == 10, "library table of 10 bytes");
static_assert(offsetof(FunctionTable, next) == 0, "next-library pointer at 0");
static_assert(offsetof(FunctionTable, count) == 4, "entry count at 4");
static_assert(offsetof(FunctionTable, entries) == 6, "entries pointer at 6");
static_assert(offsetof(MemoryHandleTable, blocks) == 4, "handle blocks from 4");
static_assert(offsetof(ObjectTable, objects) == 6, "objects from 6");
#endif

using PairRoutine = void (*)(intptr_t, intptr_t);
using ValueRoutine = intptr_t (*)(intptr_t, ParameterBlock*);

// Parameter count of the routine the host runs when it loads the library.
const int16_t kLoadRoutineCount = -2;

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
    ParameterBlock parameterBlock;
};

#if INTPTR_MAX == INT32_MAX
static_assert(offsetof(RequestBlock, code) == 20, "request code at offset 20");
static_assert(offsetof(RequestBlock, address) == 24, "address at offset 24");
static_assert(offsetof(RequestBlock, parameterBlock) == 36, "parameter block at offset 36");
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

#if INTPTR_MAX == INT32_MAX
static_assert(sizeof(ServiceRecord) == 16, "service record of 16 bytes");
static_assert(offsetof(ServiceRecord, argument1) == 0, "first argument (and result) at 0");
static_assert(offsetof(ServiceRecord, argument2) == 4, "second argument at 4");
static_assert(offsetof(ServiceRecord, code) == 8, "service code at 8");
static_assert(offsetof(ServiceRecord, status) == 12, "status at 12");
#endif

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

}  // namespace dbf
