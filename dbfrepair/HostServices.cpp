// Per-thread host tables in thread-local slots, memory handles, objects and host services.
#include "HostServices.h"

#include <windows.h>

#include <cstring>

namespace dbf {
namespace {

enum Slot { kServiceSlot, kHandlesSlot, kObjectsSlot, kSlotCount };

DWORD slots[kSlotCount] = {TLS_OUT_OF_INDEXES, TLS_OUT_OF_INDEXES, TLS_OUT_OF_INDEXES};
bool slotsHeld = false;

void* SlotValue(Slot slot)
{
    return slotsHeld ? TlsGetValue(slots[slot]) : nullptr;
}

MemoryHandleTable* Handles()
{
    return static_cast<MemoryHandleTable*>(SlotValue(kHandlesSlot));
}

ObjectTable* Objects()
{
    return static_cast<ObjectTable*>(SlotValue(kObjectsSlot));
}

const uint32_t kTagSize = 2;
const uint32_t kLargestBlock = 0x7FFFFFF0;

}  // namespace

bool AllocateThreadSlots()
{
    if (slotsHeld)
        return true;
    for (int i = 0; i < kSlotCount; ++i) {
        slots[i] = TlsAlloc();
        if (slots[i] == TLS_OUT_OF_INDEXES) {
            for (int j = 0; j < i; ++j)
                TlsFree(slots[j]);
            return false;
        }
    }
    slotsHeld = true;
    return true;
}

void FreeThreadSlots()
{
    if (!slotsHeld)
        return;
    for (DWORD slot : slots)
        TlsFree(slot);
    slotsHeld = false;
}

void AttachThread(HostServiceEntry service, MemoryHandleTable* handles, ObjectTable* objects)
{
    if (!slotsHeld)
        return;
    TlsSetValue(slots[kServiceSlot], reinterpret_cast<void*>(service));
    TlsSetValue(slots[kHandlesSlot], handles);
    TlsSetValue(slots[kObjectsSlot], objects);
}

uint32_t AllocateHandle(uint32_t size, uint16_t tag)
{
    MemoryHandleTable* table = Handles();
    if (!table || size > kLargestBlock)
        return 0;
    if (table->hint == 0)
        table->hint = 1;
    while (table->hint < table->capacity && table->blocks[table->hint])
        ++table->hint;
    if (table->hint >= table->capacity)
        return 0;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size + kTagSize);
    if (!block)
        return 0;
    void* data = GlobalLock(block);
    if (!data) {
        GlobalFree(block);
        return 0;
    }
    std::memcpy(data, &tag, kTagSize);
    GlobalUnlock(block);
    table->blocks[table->hint] = block;
    return table->hint;
}

void FreeHandle(uint32_t handle)
{
    MemoryHandleTable* table = Handles();
    if (!table || handle == 0 || handle >= table->capacity || !table->blocks[handle])
        return;
    GlobalFree(table->blocks[handle]);
    table->blocks[handle] = nullptr;
    if (handle < table->hint)
        table->hint = static_cast<uint16_t>(handle);
}

void* HandleAddress(uint32_t handle)
{
    MemoryHandleTable* table = Handles();
    if (!table || handle == 0 || handle >= table->capacity || !table->blocks[handle])
        return nullptr;
    // The block is movable; the host keeps it in place while a routine runs. A block
    // that cannot be locked (discarded, or not a memory block at all) has no address.
    void* data = GlobalLock(table->blocks[handle]);
    if (!data)
        return nullptr;
    GlobalUnlock(table->blocks[handle]);
    return static_cast<char*>(data) + kTagSize;
}

uint32_t EnterObject(void* object)
{
    ObjectTable* table = Objects();
    if (!table || !object)
        return 0;  // an empty slot holds null, so null cannot be entered
    if (table->hint == 0)
        table->hint = 1;
    while (table->hint < table->capacity && table->objects[table->hint])
        ++table->hint;
    if (table->hint >= table->capacity)
        return 0;
    table->objects[table->hint] = object;
    ++table->inUse;
    return table->hint;
}

void RemoveObject(uint32_t slot)
{
    ObjectTable* table = Objects();
    if (!table || slot == 0 || slot >= table->capacity || !table->objects[slot])
        return;
    table->objects[slot] = nullptr;
    --table->inUse;
    if (slot < table->hint)
        table->hint = static_cast<uint16_t>(slot);
}

void* ObjectAt(uint32_t slot)
{
    ObjectTable* table = Objects();
    if (!table || slot == 0 || slot >= table->capacity)
        return nullptr;
    return table->objects[slot];
}

intptr_t RequestHostService(int32_t code, intptr_t argument1, intptr_t argument2)
{
    auto service = reinterpret_cast<HostServiceEntry>(SlotValue(kServiceSlot));
    if (!service)
        throw HostUnwind();
    ServiceRecord record{argument1, argument2, code, 0};
    service(&record);
    // The host's error services never come back to their caller.
    if (record.code == kRaiseError || record.code == kRaiseUserError)
        throw HostUnwind();
    return record.argument1;
}

void OutputCharacter(char c)
{
    RequestHostService(kOutputCharacter, static_cast<unsigned char>(c));
}

void OutputString(const std::string& text)
{
    RequestHostService(kOutputString, reinterpret_cast<intptr_t>(text.c_str()));
}

void ExecuteCommand(const char* command)
{
    RequestHostService(kExecuteCommand, reinterpret_cast<intptr_t>(command));
}

bool EvaluateLogical(const char* expression)
{
    ValueRecord result{};
    RequestHostService(kEvaluate, reinterpret_cast<intptr_t>(&result),
                       reinterpret_cast<intptr_t>(expression));
    return result.type == kTypeLogical && result.length != 0;
}

void ReturnInteger(int32_t value)
{
    ValueRecord result{};
    result.type = kTypeInteger;
    result.width = 10;
    result.integer = value;
    RequestHostService(kReturnValue, reinterpret_cast<intptr_t>(&result));
}

void ReturnCharacter(const std::string& text)
{
    uint32_t handle = AllocateHandle(static_cast<uint32_t>(text.size() + 1), 0);
    char* data = static_cast<char*>(HandleAddress(handle));
    if (!data) {
        FreeHandle(handle);  // nothing when none was allocated
        return;
    }
    std::memcpy(data, text.c_str(), text.size() + 1);
    ValueRecord result{};
    result.type = kTypeCharacter;
    result.length = static_cast<uint32_t>(text.size());
    result.handle = handle;
    RequestHostService(kReturnValue, reinterpret_cast<intptr_t>(&result));
}

}  // namespace dbf
