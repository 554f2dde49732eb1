// The alarm file scan over a file in memory with a fixed clock.
#include "AlarmScan.h"

#include <gtest/gtest.h>

namespace alarms {
namespace {

// The alarm file in memory, with switches for a missing, busy or failing file.
class MemoryStore : public AlarmFileStore {
public:
    bool exists = true;
    std::string content;
    int busyOpens = 0;  // opens refused as busy before one succeeds
    bool failRead = false;
    bool failWrite = false;
    int writes = 0;
    int pauses = 0;

    OpenStatus Open(std::unique_ptr<AlarmFile>* file) override
    {
        if (!exists)
            return OpenStatus::kMissing;
        if (busyOpens > 0) {
            --busyOpens;
            return OpenStatus::kBusy;
        }
        file->reset(new File(*this));
        return OpenStatus::kOpened;
    }
    const std::string& Path() const override { return path_; }
    void Pause(unsigned) override { ++pauses; }

private:
    class File : public AlarmFile {
    public:
        explicit File(MemoryStore& store) : store_(store) {}
        bool ReadAll(std::string* bytes) override
        {
            *bytes = store_.content;
            return !store_.failRead;
        }
        bool Replace(const std::string& bytes) override
        {
            if (store_.failWrite)
                return false;
            ++store_.writes;
            store_.content = bytes;
            return true;
        }

    private:
        MemoryStore& store_;
    };
    std::string path_ = "C:\\larkbell\\qAlarm.txt";
};

LocalTime At(int hour, int minute, int second, int millisecond = 0)
{
    return {2001, 5, 12, hour, minute, second, millisecond};
}

ScanResult Scan(MemoryStore& store, const LocalTime& now)
{
    return ScanAlarmFile(store, now, DateTimeFormat());
}

TEST(AlarmScanTest, MissingAndEmptyFilesAreLeftAlone)
{
    MemoryStore missing;
    missing.exists = false;
    EXPECT_EQ(Scan(missing, At(14, 0, 0)).kind, ScanResult::Kind::kNoFile);

    MemoryStore empty;
    EXPECT_EQ(Scan(empty, At(14, 0, 0)).kind, ScanResult::Kind::kEmpty);
    EXPECT_EQ(empty.writes, 0);
}

TEST(AlarmScanTest, KeepsAheadShowsDueDropsPast)
{
    MemoryStore store;
    store.content = "2001/05/12 14:30,meeting12345678\n";
    ScanResult result = Scan(store, At(14, 28, 0));
    EXPECT_EQ(result.kind, ScanResult::Kind::kScanned);
    EXPECT_TRUE(result.due.empty());
    EXPECT_EQ(store.content, "2001/05/12 14:30,meeting12345678\r\n");

    result = Scan(store, At(14, 29, 0));
    ASSERT_EQ(result.due.size(), 1u);
    EXPECT_EQ(result.due[0].timeText, "2001/05/12 14:30");
    EXPECT_EQ(result.due[0].text, "meeting");
    EXPECT_EQ(store.content, "");
    EXPECT_EQ(store.writes, 2);

    store.content = "2001/05/12 14:30,gone 12345678\r\n";
    result = Scan(store, At(14, 31, 0));
    EXPECT_TRUE(result.due.empty());
    EXPECT_EQ(store.content, "");
}

TEST(AlarmScanTest, DueWindowIsOneMinuteAhead)
{
    const struct {
        LocalTime now;
        const char* left;  // the file after the scan
        bool due;
    } cases[] = {
        {At(14, 30, 0), "", true},                               // the very moment
        {At(14, 29, 0), "", true},                               // one minute ahead
        {At(14, 28, 59, 999), "2001/05/12 14:30,x\r\n", false},  // one minute and 1 ms
        {At(14, 30, 0, 1), "", false},                           // 1 ms past
    };
    for (const auto& c : cases) {
        MemoryStore store;
        store.content = "2001/05/12 14:30,x";
        const ScanResult result = Scan(store, c.now);
        EXPECT_EQ(result.due.size(), c.due ? 1u : 0u) << c.now.minute << ":" << c.now.second;
        EXPECT_EQ(store.content, c.left) << c.now.minute << ":" << c.now.second;
    }
}

TEST(AlarmScanTest, LinesOfEveryEndingDecidedInOrder)
{
    MemoryStore store;
    store.content =
        "no comma here\r\n"
        "\r\n"
        "2001/05/12 14:29:30,first, with a comma12345678\r"
        "2001/05/12 18:00,later\n"
        "2001/05/12 14:30,  12345678  \n"
        "2001/05/12 14:29:59,123456789\r\n"
        "\n"
        "2001/05/12 10:00,earlier today\r\n"
        "2001/05/13,tomorrow";
    const ScanResult result = Scan(store, At(14, 29, 10));
    ASSERT_EQ(result.kind, ScanResult::Kind::kScanned);
    ASSERT_EQ(result.due.size(), 3u);
    EXPECT_EQ(result.due[0].timeText, "2001/05/12 14:29:30");
    EXPECT_EQ(result.due[0].text, "first, with a comma");
    EXPECT_EQ(result.due[1].text, "");  // 8 bytes after trimming
    EXPECT_EQ(result.due[2].text, "1");
    EXPECT_EQ(store.content, "2001/05/12 18:00,later\r\n2001/05/13,tomorrow\r\n");
}

TEST(AlarmScanTest, TextIsCutByBytes)
{
    const struct {
        const char* written;
        const char* shown;
    } cases[] = {
        // 거래처 방문 followed by eight digits.
        {"\xb0\xc5\xb7\xa1\xc3\xb3 \xb9\xe6\xb9\xae"
         "12345678",
         "\xb0\xc5\xb7\xa1\xc3\xb3 \xb9\xe6\xb9\xae"},
        // 가나다 and three digits: the cut also takes 나 and the second byte of 가.
        {"\xb0\xa1\xb3\xaa\xb4\xd9"
         "123",
         "\xb0"},
        {"\t 12345678 \t", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DisplayText(c.written), c.shown) << c.written;
}

TEST(AlarmScanTest, UnreadableDateStopsTheScanWithTheFileUnchanged)
{
    MemoryStore store;
    const std::string content =
        "2001/05/12 14:30,due first 12345678\r\n2001/13/45 10:00,bad\r\n2001/05/12 18:00,x\r\n";
    store.content = content;
    const ScanResult result = Scan(store, At(14, 29, 30));
    EXPECT_EQ(result.kind, ScanResult::Kind::kFailed);
    EXPECT_EQ(result.error, "'2001/13/45 10:00' is not a valid date and time");
    EXPECT_TRUE(result.due.empty());
    EXPECT_EQ(store.content, content);
    EXPECT_EQ(store.writes, 0);
}

TEST(AlarmScanTest, FileFailuresChangeNothing)
{
    const std::string content = "2001/05/12 14:30,due 12345678\r\n";
    MemoryStore busyAWhile;
    busyAWhile.content = content;
    busyAWhile.busyOpens = 3;
    EXPECT_EQ(Scan(busyAWhile, At(14, 29, 30)).due.size(), 1u);
    EXPECT_EQ(busyAWhile.pauses, 3);

    MemoryStore busy, unreadable, unwritable;
    busy.busyOpens = 1000000;
    unreadable.failRead = true;
    unwritable.failWrite = true;
    for (MemoryStore* store : {&busy, &unreadable, &unwritable}) {
        store->content = content;
        const ScanResult result = Scan(*store, At(14, 29, 30));
        EXPECT_EQ(result.kind, ScanResult::Kind::kFailed);
        EXPECT_NE(result.error.find("qAlarm.txt"), std::string::npos) << result.error;
        EXPECT_TRUE(result.due.empty());
        EXPECT_EQ(store->content, content);
    }
    EXPECT_LT(busy.pauses, 100);  // gives up after a bounded wait
}

}  // namespace
}  // namespace alarms
