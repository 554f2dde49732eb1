// The library's dispatch in this process with a scripted host: attach and function
// table, memory handles and objects, routine calls, and unwinding when the host raises
// an error or the thread has no service entry.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "HostRoutines.h"
#include "HostServices.h"
#include "TableBuilder.h"
#include "TestFiles.h"

namespace dbf {
namespace {

// The scripted host: records services, raises an error on the n-th output string.
struct ScriptedHost {
    std::string output;
    std::vector<int32_t> codes;
    bool returned = false;
    ValueRecord value{};
    int raiseOnString = -1;  // index of the output string answered with an error
    int strings = 0;
    bool talk = false;
};

ScriptedHost host;

void HostService(ServiceRecord* r)
{
    host.codes.push_back(r->code);
    EXPECT_EQ(r->status, 0) << "status cleared before the call";
    switch (r->code) {
        case kOutputCharacter:
            host.output += static_cast<char>(r->argument1);
            break;
        case kOutputString:
            if (host.strings++ == host.raiseOnString) {
                r->code = kRaiseError;
                return;
            }
            host.output += reinterpret_cast<const char*>(r->argument1);
            break;
        case kReturnValue:
            host.returned = true;
            host.value = *reinterpret_cast<ValueRecord*>(r->argument1);
            break;
        case kEvaluate:
            reinterpret_cast<ValueRecord*>(r->argument1)->type = kTypeLogical;
            reinterpret_cast<ValueRecord*>(r->argument1)->length = host.talk;
            break;
        default:
            break;
    }
}

class HostDispatchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AllocateThreadSlots());
        host = ScriptedHost{};
        handleMemory_.assign(MemoryHandleTableSize(kCapacity), 0);
        objectMemory_.assign(ObjectTableSize(kCapacity), 0);
        handles()->hint = 1;
        handles()->capacity = kCapacity;
        objects()->hint = 1;
        objects()->capacity = kCapacity;
        RequestBlock r{};
        r.code = kAttachThread;
        r.address = reinterpret_cast<void*>(&HostService);
        r.valueA = reinterpret_cast<intptr_t>(handles());
        r.valueB = reinterpret_cast<intptr_t>(objects());
        ServeRequest(&r);
        table_ = reinterpret_cast<FunctionTable*>(r.valueA);
        version_ = r.valueB;
    }

    MemoryHandleTable* handles()
    {
        return reinterpret_cast<MemoryHandleTable*>(handleMemory_.data());
    }
    ObjectTable* objects() { return reinterpret_cast<ObjectTable*>(objectMemory_.data()); }

    intptr_t Request(int32_t code, intptr_t a, intptr_t b = 0)
    {
        RequestBlock r{};
        r.code = code;
        r.valueA = a;
        r.valueB = b;
        ServeRequest(&r);
        return r.valueA;
    }

    uint32_t StoreText(const std::string& text)
    {
        auto handle = static_cast<uint32_t>(Request(kAllocateHandle, text.size()));
        std::memcpy(reinterpret_cast<void*>(Request(kHandleAddress, handle)), text.data(),
                    text.size());
        return handle;
    }

    // Calls the routine of entry `index` with a file name and integers.
    void CallEntry(int index, const std::string& name, std::vector<int32_t> integers)
    {
        RequestBlock r{};
        r.code = kCallRoutine;
        r.address = reinterpret_cast<void*>(table_->entries[index].routine);
        r.parameters.count = static_cast<int16_t>(1 + integers.size());
        r.parameters.values[0].type = kTypeCharacter;
        r.parameters.values[0].handle = StoreText(name);
        r.parameters.values[0].length = static_cast<uint32_t>(name.size());
        for (size_t i = 0; i < integers.size(); ++i) {
            r.parameters.values[i + 1].type = kTypeInteger;
            r.parameters.values[i + 1].integer = integers[i];
        }
        ServeRequest(&r);
    }

    static const uint16_t kCapacity = 8;
    std::vector<char> handleMemory_, objectMemory_;
    FunctionTable* table_ = nullptr;
    intptr_t version_ = 0;
};

TEST_F(HostDispatchTest, AttachAnswersFunctionTable)
{
    EXPECT_EQ(version_, 5000);
    ASSERT_NE(table_, nullptr);
    EXPECT_EQ(table_->next, nullptr);
    ASSERT_EQ(table_->count, 4);
    const char* names[] = {"", "MENDDBF", "MEND26", "MENDVERSION"};
    const int16_t counts[] = {-2, 3, 3, 1};
    const char* descriptors[] = {"", "C,.I,.I", "C,.I,.I", ".I"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_STREQ(table_->entries[i].name, names[i]);
        EXPECT_EQ(table_->entries[i].parameterCount, counts[i]);
        EXPECT_STREQ(table_->entries[i].descriptor, descriptors[i]);
    }
    RequestBlock r{};
    r.code = kFunctionTableRequest;
    ServeRequest(&r);
    EXPECT_EQ(r.valueA, reinterpret_cast<intptr_t>(table_));
    EXPECT_EQ(r.valueB, 5000);
    r = RequestBlock{};
    r.code = 99;
    r.valueA = 7;
    ServeRequest(&r);
    EXPECT_EQ(r.valueA, 7) << "unknown codes do nothing";
}

TEST_F(HostDispatchTest, MemoryHandlesFillFreeAndReuseSlots)
{
    std::vector<intptr_t> got;
    for (int i = 0; i < kCapacity; ++i)
        got.push_back(Request(kAllocateHandle, 10, 0x4142));
    EXPECT_EQ(got, (std::vector<intptr_t>{1, 2, 3, 4, 5, 6, 7, 0})) << "slot 0 never, full: 0";
    auto* data = reinterpret_cast<uint8_t*>(Request(kHandleAddress, 3));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(ReadLe16(data - 2), 0x4142) << "tag before the data";
    EXPECT_EQ(std::vector<uint8_t>(data, data + 10), std::vector<uint8_t>(10, 0));
    Request(kFreeHandle, 5);
    Request(kFreeHandle, 3);
    EXPECT_EQ(handles()->hint, 3);
    EXPECT_EQ(Request(kHandleAddress, 3), 0);
    EXPECT_EQ(Request(kAllocateHandle, 4), 3);
    EXPECT_EQ(Request(kAllocateHandle, 4), 5);
    for (intptr_t bad : {0, 8, 9, 1000})
        EXPECT_EQ(Request(kHandleAddress, bad), 0) << bad;
    Request(kFreeHandle, 0);
    Request(kFreeHandle, 8);
    EXPECT_EQ(Request(kAllocateHandle, 0x7FFFFFFF), 0) << "impossible size";
}

TEST_F(HostDispatchTest, ObjectsEnteredCountedAndRemoved)
{
    int a = 0, b = 0;
    EXPECT_EQ(Request(kEnterObject, reinterpret_cast<intptr_t>(&a)), 1);
    EXPECT_EQ(Request(kEnterObject, reinterpret_cast<intptr_t>(&b)), 2);
    EXPECT_EQ(objects()->inUse, 2);
    EXPECT_EQ(Request(kObjectAt, 2), reinterpret_cast<intptr_t>(&b));
    Request(kRemoveObject, 1);
    Request(kRemoveObject, 1);
    EXPECT_EQ(objects()->inUse, 1);
    EXPECT_EQ(Request(kObjectAt, 1), 0);
    EXPECT_EQ(Request(kObjectAt, 0), 0);
    EXPECT_EQ(Request(kEnterObject, reinterpret_cast<intptr_t>(&b)), 1);
    EXPECT_EQ(Request(kEnterObject, 0), 0);
    EXPECT_EQ(objects()->inUse, 2);
}

intptr_t pairSum = 0;
void PairRoutineForTest(intptr_t a, intptr_t b)
{
    pairSum = a + b;
}
intptr_t ValueRoutineForTest(intptr_t a, ParameterBlock* p)
{
    return a * 10 + p->count;
}

TEST_F(HostDispatchTest, RoutineCallsWithValues)
{
    RequestBlock r{};
    r.code = kCallPairRoutine;
    r.address = reinterpret_cast<void*>(&PairRoutineForTest);
    r.valueA = 40;
    r.valueB = 2;
    ServeRequest(&r);
    EXPECT_EQ(pairSum, 42);
    r.code = kCallValueRoutine;
    r.address = reinterpret_cast<void*>(&ValueRoutineForTest);
    r.valueA = 4;
    r.parameters.count = 3;
    ServeRequest(&r);
    EXPECT_EQ(r.valueA, 43);
}

TEST_F(HostDispatchTest, IntegerResultAndFlushFirst)
{
    std::string table = MakeTempDir() + "t.dbf";
    WriteBytes(table, BuildTable(TableShape{}));
    CallEntry(1, table, {0});
    ASSERT_TRUE(host.returned);
    EXPECT_EQ(host.value.type, kTypeInteger);
    EXPECT_EQ(host.value.width, 10);
    EXPECT_EQ(host.value.integer, 0);
    EXPECT_EQ(host.codes, (std::vector<int32_t>{kExecuteCommand, kReturnValue}));
}

TEST_F(HostDispatchTest, HostErrorAbandonsRoutineWithFilesClosed)
{
    std::string table = MakeTempDir() + "t.dbf";
    WriteBytes(table, BuildTable(TableShape{}));
    host.raiseOnString = 3;  // inside the report
    CallEntry(1, table, {kModeReport});
    EXPECT_FALSE(host.returned) << "no result after the host raised an error";
    EXPECT_EQ(host.strings, 4);
    HANDLE exclusive = CreateFileA(table.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE) << "no handle of the table left open";
    CloseHandle(exclusive);

    host = ScriptedHost{};
    host.raiseOnString = 0;  // the help text's first line
    CallEntry(2, table, {});
    EXPECT_FALSE(host.returned);
    EXPECT_EQ(host.strings, 1);
}

TEST_F(HostDispatchTest, ThreadWithoutServiceEntryUnwinds)
{
    std::string table = MakeTempDir() + "t.dbf";
    TableShape shape;
    std::vector<uint8_t> damaged = BuildTable(shape);
    damaged[kRecordCountOffset] = 77;
    WriteBytes(table, damaged);
    std::thread stranger([&] {
        RequestBlock r{};
        r.code = kCallRoutine;
        r.address = reinterpret_cast<void*>(table_->entries[1].routine);
        r.parameters.count = 2;
        r.parameters.values[1].integer = kModeRepair;
        ServeRequest(&r);
    });
    stranger.join();
    EXPECT_TRUE(host.codes.empty()) << "the stranger thread reached no host";
    EXPECT_EQ(ReadBytes(table), damaged);
}

TEST_F(HostDispatchTest, LoadRoutineSpeaksOnlyWithTalk)
{
    for (bool talk : {false, true}) {
        host = ScriptedHost{};
        host.talk = talk;
        RequestBlock r{};
        r.code = kCallRoutine;
        r.address = reinterpret_cast<void*>(table_->entries[0].routine);
        ServeRequest(&r);
        EXPECT_EQ(host.output, talk ? "\nDbmend v4 - Visual FoxPro 5.0 FLL v4.10\n" : "");
        EXPECT_EQ(host.codes.front(), kEvaluate);
    }
}

}  // namespace
}  // namespace dbf
