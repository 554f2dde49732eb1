// The library's side of the host interface: thread tables, handles, objects and services.
#pragma once

#include <cstdint>
#include <string>

#include "HostApi.h"

namespace dbf {

// Thrown when a host request must not come back to the routine that made it (the
// host raised an error, or the thread has no service entry); caught at the entry point.
struct HostUnwind {};

// Thread-local slots, allocated at process attach and freed at detach.
bool AllocateThreadSlots();
void FreeThreadSlots();
void AttachThread(HostServiceEntry service, MemoryHandleTable* handles, ObjectTable* objects);

// Memory handles of the calling thread's table.
uint32_t AllocateHandle(uint32_t size, uint16_t tag);
void FreeHandle(uint32_t handle);
void* HandleAddress(uint32_t handle);

// Objects of the calling thread's table.
uint32_t EnterObject(void* object);
void RemoveObject(uint32_t slot);
void* ObjectAt(uint32_t slot);

// Host services; each throws HostUnwind when the request does not come back.
intptr_t RequestHostService(int32_t code, intptr_t argument1, intptr_t argument2 = 0);
void OutputCharacter(char c);
void OutputString(const std::string& text);
void ExecuteCommand(const char* command);
bool EvaluateLogical(const char* expression);
void ReturnInteger(int32_t value);
void ReturnCharacter(const std::string& text);

}  // namespace dbf
