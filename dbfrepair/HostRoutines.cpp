// MENDDBF, MEND26, MENDVERSION and the load routine, over the host's parameters and services.
#include "HostRoutines.h"

#include <cstring>

#include "HostServices.h"
#include "ReportText.h"
#include "TableHeader.h"

namespace dbf {
namespace {

const size_t kFileNameBuffer = 80;
const int32_t kDefaultBlockSize = 64;

// The file name parameter as a terminated string; false when it is too long.
bool CopyFileName(const ValueRecord& value, char (&name)[kFileNameBuffer])
{
    name[0] = '\0';
    if (value.length >= kFileNameBuffer)
        return false;
    const char* text = static_cast<const char*>(HandleAddress(value.handle));
    if (value.type == kTypeCharacter && text) {
        std::memcpy(name, text, value.length);
        name[value.length] = '\0';
    }
    return true;
}

// The integer of parameter `index` (from 0); the caller has checked the count.
int32_t IntegerAt(const ParameterBlock& p, int index)
{
    return p.parameters[index].value.integer;
}

int32_t ModeOf(const ParameterBlock& p)
{
    if (p.count < 2)
        return 0;
    int32_t requested = IntegerAt(p, 1);
    return requested == kModeRepair || requested == kModeReport ? requested : 0;
}

void repairEntry(ParameterBlock* p, bool visualFoxPro)
{
    ExecuteCommand("FLUSH");
    int32_t blockSize = p->count == 3 ? IntegerAt(*p, 2) : kDefaultBlockSize;
    if (p->count == 1) {
        for (const std::string& line : HelpText())
            OutputString(line);
    }
    int32_t mode = ModeOf(*p);
    char name[kFileNameBuffer];
    if (p->count >= 1 && !CopyFileName(p->parameters[0].value, name)) {
        ReturnInteger(kPathTooLong);
        return;
    }
    if (p->count < 1)
        name[0] = '\0';
    HeaderReport report{};
    int32_t result = checkTableHeader(name, mode, blockSize, &report, visualFoxPro);
    if (mode == kModeReport && result >= 0) {
        for (const std::string& line : ReportLines(report))
            OutputString(line);
    }
    ReturnInteger(result);
}

void MENDDBF(ParameterBlock* p)
{
    repairEntry(p, true);
}

void MEND26(ParameterBlock* p)
{
    repairEntry(p, false);
}

void MENDVERSION(ParameterBlock* p)
{
    bool stamped = p->count == 1 && IntegerAt(*p, 0) == 1;
    ReturnCharacter(VersionLine(stamped));
}

void loadRoutine(ParameterBlock*)
{
    if (EvaluateLogical("SET('TALK')=='ON'")) {
        OutputCharacter('\n');
        OutputString(VersionLine(false));
        OutputCharacter('\n');
    }
}

FunctionEntry functions[] = {
    {"", loadRoutine, kLoadRoutineCount, ""},
    {"MENDDBF", MENDDBF, 3, "C,.I,.I"},
    {"MEND26", MEND26, 3, "C,.I,.I"},
    {"MENDVERSION", MENDVERSION, 1, ".I"},
};

FunctionTable library = {nullptr, 4, functions};

void Serve(RequestBlock* r)
{
    switch (r->code) {
        case kAttachThread:
            AttachThread(reinterpret_cast<HostServiceEntry>(r->address),
                         reinterpret_cast<MemoryHandleTable*>(r->valueA),
                         reinterpret_cast<ObjectTable*>(r->valueB));
            [[fallthrough]];
        case kFunctionTableRequest:
            r->valueB = kInterfaceVersion;
            r->valueA = reinterpret_cast<intptr_t>(&library);
            break;
        case kCallRoutine:
            reinterpret_cast<Routine>(r->address)(&r->parameterBlock);
            break;
        case kAllocateHandle:
            r->valueA =
                AllocateHandle(static_cast<uint32_t>(r->valueA), static_cast<uint16_t>(r->valueB));
            break;
        case kFreeHandle:
            FreeHandle(static_cast<uint32_t>(r->valueA));
            break;
        case kHandleAddress:
            r->valueA = reinterpret_cast<intptr_t>(HandleAddress(static_cast<uint32_t>(r->valueA)));
            break;
        case kCallPairRoutine:
            reinterpret_cast<PairRoutine>(r->address)(r->valueA, r->valueB);
            break;
        case kCallValueRoutine:
            r->valueA = reinterpret_cast<ValueRoutine>(r->address)(r->valueA, &r->parameterBlock);
            break;
        case kEnterObject:
            r->valueA = EnterObject(reinterpret_cast<void*>(r->valueA));
            break;
        case kRemoveObject:
            RemoveObject(static_cast<uint32_t>(r->valueA));
            break;
        case kObjectAt:
            r->valueA = reinterpret_cast<intptr_t>(ObjectAt(static_cast<uint32_t>(r->valueA)));
            break;
        default:
            break;
    }
}

}  // namespace

FunctionTable* LibraryFunctionTable()
{
    return &library;
}

// Each request is its own unwind point: a routine abandoned by a host request ends
// here, after its files were closed by their owners on the way out. Requests nested
// inside a host service have their own.
void ServeRequest(RequestBlock* request)
{
    try {
        Serve(request);
    } catch (...) {
    }
}

}  // namespace dbf
