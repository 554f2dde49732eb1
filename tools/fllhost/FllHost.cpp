// The harness's host: request blocks to the library's entry, services back from it.
#include "FllHost.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "HostTables.h"

namespace fllhost {
namespace {

const uint16_t kHandleCapacity = 256;
const uint16_t kObjectCapacity = 64;
const char kTalkExpression[] = "SET('TALK')=='ON'";
const int32_t kServiceFailed = 1;

FllHost* current = nullptr;  // the host whose library is running (one per process)

bool SameName(const char* a, const std::string& b)
{
    size_t n = std::strlen(a);
    if (n != b.size())
        return false;
    for (size_t i = 0; i < n; ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace

FllHost::FllHost()
    : handleTable_(MemoryHandleTableSize(kHandleCapacity)),
      objectTable_(ObjectTableSize(kObjectCapacity))
{
    auto* handles = reinterpret_cast<dbf::MemoryHandleTable*>(handleTable_.data());
    handles->hint = 1;
    handles->capacity = kHandleCapacity;
    auto* objects = reinterpret_cast<dbf::ObjectTable*>(objectTable_.data());
    objects->hint = 1;
    objects->capacity = kObjectCapacity;
    current = this;
}

FllHost::~FllHost()
{
    if (module_)
        FreeLibrary(module_);
    current = nullptr;
}

bool FllHost::Load(const std::string& path, std::string* error)
{
    module_ = LoadLibraryA(path.c_str());
    if (!module_) {
        *error =
            "cannot load library '" + path + "' (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    dispatch_ = reinterpret_cast<Dispatch>(
        reinterpret_cast<void*>(GetProcAddress(module_, "@DispatchAPI@4")));
    if (!dispatch_) {
        *error = "'" + path + "' has no entry @DispatchAPI@4";
        return false;
    }
    auto block = std::make_unique<dbf::RequestBlock>();
    block->code = dbf::kAttachThread;
    block->address = reinterpret_cast<void*>(&FllHost::Service);
    block->valueA = reinterpret_cast<intptr_t>(handleTable_.data());
    block->valueB = reinterpret_cast<intptr_t>(objectTable_.data());
    Request(*block);
    *block = dbf::RequestBlock{};
    block->code = dbf::kFunctionTableRequest;
    Request(*block);
    functions_ = reinterpret_cast<dbf::FunctionTable*>(block->valueA);
    if (!functions_ || block->valueB != dbf::kInterfaceVersion) {
        *error = "'" + path + "' answered no function table";
        return false;
    }
    return true;
}

void FllHost::Request(dbf::RequestBlock& block)
{
    dispatch_(&block);
}

void FllHost::RunLoadRoutine()
{
    for (auto* table = functions_; table; table = table->next) {
        for (int i = 0; i < table->count; ++i) {
            const dbf::FunctionEntry& entry = table->entries[i];
            if (entry.parameterCount == dbf::kLoadRoutineCount)
                Call(entry, {});
        }
    }
}

const dbf::FunctionEntry* FllHost::Find(const std::string& name) const
{
    for (auto* table = functions_; table; table = table->next) {
        for (int i = 0; i < table->count; ++i) {
            const dbf::FunctionEntry& entry = table->entries[i];
            if (entry.parameterCount >= 0 && SameName(entry.name, name))
                return &entry;
        }
    }
    return nullptr;
}

CallResult FllHost::Call(const dbf::FunctionEntry& entry, const std::vector<Argument>& args)
{
    // The parameter block holds kMaxParameters; the caller refuses longer calls.
    if (args.size() > static_cast<size_t>(dbf::kMaxParameters))
        return CallResult{};
    auto block = std::make_unique<dbf::RequestBlock>();
    block->code = dbf::kCallRoutine;
    block->address = reinterpret_cast<void*>(entry.routine);
    block->parameterBlock.count = static_cast<int16_t>(args.size());
    std::vector<uint32_t> stored;
    for (size_t i = 0; i < args.size(); ++i) {
        dbf::ValueRecord& value = block->parameterBlock.parameters[i].value;
        value.type = args[i].type;
        if (args[i].type == dbf::kTypeCharacter) {
            value.handle = StoreText(args[i].text);
            value.length = static_cast<uint32_t>(args[i].text.size());
            stored.push_back(value.handle);
        } else {
            value.integer = args[i].integer;
            value.width = 10;
        }
    }
    result_ = CallResult{};
    Request(*block);
    for (uint32_t handle : stored) {
        dbf::RequestBlock release{};
        release.code = dbf::kFreeHandle;
        release.valueA = handle;
        Request(release);
    }
    return result_;
}

uint32_t FllHost::StoreText(const std::string& text)
{
    dbf::RequestBlock block{};
    block.code = dbf::kAllocateHandle;
    block.valueA = static_cast<intptr_t>(text.size());
    Request(block);
    auto handle = static_cast<uint32_t>(block.valueA);
    block.code = dbf::kHandleAddress;
    Request(block);
    if (block.valueA)
        std::memcpy(reinterpret_cast<void*>(block.valueA), text.data(), text.size());
    return handle;
}

std::string FllHost::LoadText(uint32_t handle, uint32_t length)
{
    dbf::RequestBlock block{};
    block.code = dbf::kHandleAddress;
    block.valueA = handle;
    Request(block);
    std::string text;
    if (block.valueA)
        text.assign(reinterpret_cast<const char*>(block.valueA), length);
    block = dbf::RequestBlock{};
    block.code = dbf::kFreeHandle;
    block.valueA = handle;
    Request(block);
    return text;
}

void FllHost::Service(dbf::ServiceRecord* record)
{
    if (current)
        current->Serve(record);
}

void FllHost::Serve(dbf::ServiceRecord* record)
{
    switch (record->code) {
        case dbf::kOutputCharacter:
            std::fputc(static_cast<int>(record->argument1), stdout);
            break;
        case dbf::kOutputString:
            std::fputs(reinterpret_cast<const char*>(record->argument1), stdout);
            break;
        case dbf::kReturnValue: {
            const auto* value = reinterpret_cast<const dbf::ValueRecord*>(record->argument1);
            result_.returned = true;
            result_.type = value->type;
            result_.integer = value->integer;
            if (value->type == dbf::kTypeCharacter)
                result_.text = LoadText(value->handle, value->length);
            break;
        }
        case dbf::kExecuteCommand:
            // FLUSH has nothing to write back here; other commands are not known.
            if (!SameName(reinterpret_cast<const char*>(record->argument1), "FLUSH"))
                record->status = kServiceFailed;
            break;
        case dbf::kEvaluate: {
            auto* value = reinterpret_cast<dbf::ValueRecord*>(record->argument1);
            if (std::strcmp(reinterpret_cast<const char*>(record->argument2), kTalkExpression) ==
                0) {
                *value = dbf::ValueRecord{};
                value->type = dbf::kTypeLogical;
                value->length = talk_ ? 1 : 0;
            } else {
                record->status = kServiceFailed;
            }
            break;
        }
        default:
            record->status = kServiceFailed;
            break;
    }
}

}  // namespace fllhost
