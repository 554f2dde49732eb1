// The library's dispatch in this process with a scripted host, errors and unwinding included.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "HostRoutines.h"
#include "HostServices.h"
#include "HostTables.h"
#include "TableBuilder.h"
#include "TestFiles.h"

namespace dbf {
namespace {

// The kit's published value record and parameter block, as byte offsets.
const size_t kValueRecordSize = 36;
const size_t kWidthAt = 2;
const size_t kLengthAt = 4;
const size_t kIntegerAt = 8;
const size_t kHandleAt = 28;
const size_t kParametersAt = 2;  // after the 16-bit count

// The scripted host: records services, raises an error on the n-th output string.
struct ScriptedHost {
    std::string output;
    std::vector<int32_t> codes;
    bool returned = false;
    ValueRecord value{};
    std::vector<uint8_t> valueBytes;  // the returned record as the kit lays it out
    int raiseOnString = -1;           // index of the output string answered with an error
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
        case kReturnValue: {
            host.returned = true;
            host.value = *reinterpret_cast<ValueRecord*>(r->argument1);
            const auto* bytes = reinterpret_cast<const uint8_t*>(r->argument1);
            host.valueBytes.assign(bytes, bytes + kValueRecordSize);
            break;
        }
        case kEvaluate: {
            // The host fills a whole value record of the kit's size.
            auto* bytes = reinterpret_cast<uint8_t*>(r->argument1);
            std::memset(bytes, 0, kValueRecordSize);
            bytes[0] = kTypeLogical;
            WriteLe32(bytes + kLengthAt, host.talk);
            break;
        }
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
        handleMemory_.assign(fllhost::MemoryHandleTableSize(kCapacity), 0);
        objectMemory_.assign(fllhost::ObjectTableSize(kCapacity), 0);
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
        ParameterBlock& p = r.parameterBlock;
        p.count = static_cast<int16_t>(1 + integers.size());
        p.parameters[0].value.type = kTypeCharacter;
        p.parameters[0].value.handle = StoreText(name);
        p.parameters[0].value.length = static_cast<uint32_t>(name.size());
        for (size_t i = 0; i < integers.size(); ++i) {
            p.parameters[i + 1].value.type = kTypeInteger;
            p.parameters[i + 1].value.integer = integers[i];
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
    r.parameterBlock.count = 3;
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
        r.parameterBlock.count = 2;
        r.parameterBlock.parameters[1].value.integer = kModeRepair;
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

// A host that knows the kit's layouts only as byte offsets. It walks the library
// table and its entries by offset (pointers of this build's size: in the 32-bit
// library the table is 10 bytes and the entries lie 14 bytes apart) and hands the
// routines parameter blocks written byte by byte; every byte a routine must not read
// is 0xCC.
class KitHost {
public:
    explicit KitHost(const void* library)
    {
        const auto* table = static_cast<const uint8_t*>(library);
        next_ = PointerAt(table);
        count_ = static_cast<int16_t>(ReadLe16(table + kPointer));
        entries_ = static_cast<const uint8_t*>(PointerAt(table + kPointer + 2));
    }

    const void* next() const { return next_; }
    int16_t count() const { return count_; }
    const uint8_t* Entry(int i) const { return entries_ + i * kEntryStride; }
    static const char* NameOf(const uint8_t* e) { return static_cast<const char*>(PointerAt(e)); }
    static const void* RoutineOf(const uint8_t* e) { return PointerAt(e + kPointer); }
    static int16_t CountOf(const uint8_t* e)
    {
        return static_cast<int16_t>(ReadLe16(e + 2 * kPointer));
    }
    static const char* DescriptorOf(const uint8_t* e)
    {
        return static_cast<const char*>(PointerAt(e + 2 * kPointer + 2));
    }

    // Parameters, each 36 bytes after the previous one.
    void Character(uint32_t handle, uint32_t length)
    {
        uint8_t* p = Next(kTypeCharacter);
        WriteLe32(p + kLengthAt, length);
        WriteLe32(p + kHandleAt, handle);
    }
    void Integer(int32_t value)
    {
        uint8_t* p = Next(kTypeInteger);
        WriteLe32(p + kIntegerAt, static_cast<uint32_t>(value));
    }

    // Calls the routine with the parameters given so far.
    void Call(const void* routine)
    {
        RequestBlock r{};
        r.code = kCallRoutine;
        r.address = const_cast<void*>(routine);
        auto* block = reinterpret_cast<uint8_t*>(&r) + offsetof(RequestBlock, parameterBlock);
        std::memset(block, 0xCC, sizeof r - offsetof(RequestBlock, parameterBlock));
        WriteLe16(block, static_cast<uint16_t>(parameters_.size() / kValueRecordSize));
        std::memcpy(block + kParametersAt, parameters_.data(), parameters_.size());
        ServeRequest(&r);
        parameters_.clear();
    }

private:
    static const void* PointerAt(const uint8_t* p)
    {
        const void* pointer;
        std::memcpy(&pointer, p, sizeof pointer);
        return pointer;
    }

    uint8_t* Next(char type)
    {
        parameters_.resize(parameters_.size() + kValueRecordSize, 0xCC);
        uint8_t* p = &parameters_[parameters_.size() - kValueRecordSize];
        p[0] = static_cast<uint8_t>(type);
        return p;
    }

    static const size_t kPointer = sizeof(void*);
    static const size_t kEntryStride = 3 * kPointer + 2;
    const void* next_;
    int16_t count_;
    const uint8_t* entries_;
    std::vector<uint8_t> parameters_;
};

TEST_F(HostDispatchTest, HostOfTheKitsByteLayoutsDrivesTheLibrary)
{
    KitHost kit(table_);
    EXPECT_EQ(kit.next(), nullptr);
    ASSERT_EQ(kit.count(), 4);
    const char* names[] = {"", "MENDDBF", "MEND26", "MENDVERSION"};
    const int16_t counts[] = {-2, 3, 3, 1};
    const char* descriptors[] = {"", "C,.I,.I", "C,.I,.I", ".I"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_STREQ(KitHost::NameOf(kit.Entry(i)), names[i]);
        EXPECT_EQ(KitHost::CountOf(kit.Entry(i)), counts[i]);
        EXPECT_STREQ(KitHost::DescriptorOf(kit.Entry(i)), descriptors[i]);
    }

    // Repair with block size 128: the name, the mode and the block size are all read
    // from the kit's offsets, or the memo would not get 128 and 4 + 3 blocks.
    std::string dir = MakeTempDir();
    TableShape shape;
    shape.flags = kFlagMemo;
    std::vector<uint8_t> table = BuildTable(shape);
    table[kRecordCountOffset] = 77;
    WriteBytes(dir + "k.dbf", table);
    WriteBytes(dir + "k.fpt", BuildMemo(512 + 3 * 128, 1, 64));
    std::string name = dir + "k.dbf";
    kit.Character(StoreText(name), static_cast<uint32_t>(name.size()));
    kit.Integer(kModeRepair);
    kit.Integer(128);
    kit.Call(KitHost::RoutineOf(kit.Entry(1)));
    ASSERT_EQ(host.valueBytes.size(), kValueRecordSize);
    EXPECT_EQ(host.valueBytes[0], kTypeInteger);
    EXPECT_EQ(ReadLe16(&host.valueBytes[kWidthAt]), 10);
    EXPECT_EQ(ReadLe32(&host.valueBytes[kIntegerAt]), 0u);
    EXPECT_EQ(ReadBytes(dir + "k.dbf")[kRecordCountOffset], 3);
    std::vector<uint8_t> memo = ReadBytes(dir + "k.fpt");
    EXPECT_EQ(ReadBe32(&memo[kNextBlockOffset]), 7u);
    EXPECT_EQ(ReadBe16(&memo[kBlockSizeOffset]), 128);

    // A character result: its length at 4 and its memory handle at 28.
    host = ScriptedHost{};
    kit.Integer(1);
    kit.Call(KitHost::RoutineOf(kit.Entry(3)));
    ASSERT_EQ(host.valueBytes.size(), kValueRecordSize);
    EXPECT_EQ(host.valueBytes[0], kTypeCharacter);
    const std::string stamped = "Dbmend v4 - Visual FoxPro 5.0 FLL v4.10  Dec  4 1996 12:57:47";
    ASSERT_EQ(ReadLe32(&host.valueBytes[kLengthAt]), stamped.size());
    auto* text = reinterpret_cast<const char*>(
        Request(kHandleAddress, ReadLe32(&host.valueBytes[kHandleAt])));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text, stamped.size()), stamped);
}

}  // namespace
}  // namespace dbf
