// The alarm file scan over a file in memory with a fixed clock (12 May 2001).
#include "AlarmScan.h"
#include "KoreanTexts.h"

#include <gtest/gtest.h>

namespace alarms {
namespace {

// The alarm file in memory, with switches for a missing, busy or failing file.
class MemoryStore : public AlarmFileStore, public AlarmFile {
public:
    bool exists = true;
    std::string content;
    int busyOpens = 0;  // opens refused as busy before one succeeds
    bool failRead = false, failWrite = false;
    int writes = 0, pauses = 0;

    OpenStatus Open(std::unique_ptr<AlarmFile>* file) override
    {
        if (!exists)
            return OpenStatus::kMissing;
        if (busyOpens > 0 && busyOpens--)
            return OpenStatus::kBusy;
        struct View : AlarmFile {
            MemoryStore& store;
            explicit View(MemoryStore& s) : store(s) {}
            bool ReadAll(std::string* bytes) override { return store.ReadAll(bytes); }
            bool Replace(const std::string& bytes) override { return store.Replace(bytes); }
        };
        file->reset(new View(*this));
        return OpenStatus::kOpened;
    }
    const std::string& Path() const override { return path; }
    void Pause(unsigned) override { ++pauses; }
    bool ReadAll(std::string* bytes) override { return *bytes = content, !failRead; }
    bool Replace(const std::string& bytes) override
    {
        return !failWrite && (++writes, content = bytes, true);
    }

private:
    std::string path = "C:\\larkbell\\qAlarm.txt";
};

LocalTime At(int hour, int minute, int second, int millisecond = 0)
{
    return {2001, 5, 12, hour, minute, second, millisecond};
}

TEST(AlarmScanTest, DecidesEveryLineAndRewritesTheKeptOnes)
{
    const struct {
        const char* content;
        LocalTime now;
        std::vector<std::string> due;  // shown texts, in order
        const char* left;              // the file afterwards
    } cases[] = {
        {"2001/05/12 14:30,x", At(14, 28, 0), {}, "2001/05/12 14:30,x\r\n"},        // ahead
        {"2001/05/12 14:30,x", At(14, 28, 59, 999), {}, "2001/05/12 14:30,x\r\n"},  // 60.001 s
        {"2001/05/12 14:30,meeting12345678", At(14, 29, 0), {"meeting"}, ""},       // one minute
        {"2001/05/12 14:30,x\n", At(14, 30, 0), {""}, ""},                          // the moment
        {"2001/05/12 14:30,x\r\n", At(14, 30, 0, 1), {}, ""},  // just past: dropped unseen
        {"", At(14, 0, 0), {}, ""},                            // empty: left untouched
        {"no comma here\r\n\r\n"
         "2001/05/12 14:29:30,first, with a comma12345678\r"
         "2001/05/12 18:00,later\n"
         "2001/05/12 14:30,  12345678  \n"
         "2001/05/12 14:29:59,123456789\r\n\n"
         "2001/05/12 10:00,earlier today\r\n"
         "2001/05/13,tomorrow",
         At(14, 29, 10),
         {"first, with a comma", "", "1"},
         "2001/05/12 18:00,later\r\n2001/05/13,tomorrow\r\n"},
        // 거래처 방문 and 8 digits; then 가나다 and 3 digits, cut inside a character.
        {"2001/05/12 14:30,\xb0\xc5\xb7\xa1\xc3\xb3 \xb9\xe6\xb9\xae"
         "12345678\r\n2001/05/12 14:30,\t\xb0\xa1\xb3\xaa\xb4\xd9"
         "123 ",
         At(14, 29, 30),
         {"\xb0\xc5\xb7\xa1\xc3\xb3 \xb9\xe6\xb9\xae", "\xb0"},
         ""},
    };
    for (const auto& c : cases) {
        MemoryStore store;
        store.content = c.content;
        const ScanResult result = ScanAlarmFile(store, c.now, DateTimeFormat());
        ASSERT_NE(result.kind, ScanResult::Kind::kFailed) << result.error;
        std::vector<std::string> shown;
        for (const AlarmRow& row : result.due) {
            EXPECT_EQ(row.timeText.substr(0, 10), "2001/05/12");
            shown.push_back(row.text);
        }
        EXPECT_EQ(shown, c.due) << c.content;
        EXPECT_EQ(store.content, c.left) << c.content;
        EXPECT_EQ(store.writes, *c.content ? 1 : 0) << c.content;
    }
}

TEST(AlarmScanTest, FailuresLeaveTheFileAndShowNothing)
{
    const std::string due = "2001/05/12 14:30,due12345678\r\n";
    const struct {
        const char* what;
        std::string content;
        int busyOpens;
        bool failRead, failWrite;
        std::string error;
    } cases[] = {
        {"bad date", due + "2001/13/45 10:00,x\r\n", 0, false, false,
         "'2001/13/45 10:00' is not a valid date and time"},
        {"held by a writer", due, 1000000, false, false,
         "\"C:\\larkbell\\qAlarm.txt\"" + std::string(kAlarmFileBusy)},
        {"unreadable", due, 0, true, false, "Cannot read file \"C:\\larkbell\\qAlarm.txt\""},
        {"unwritable", due, 0, false, true, "Cannot write file \"C:\\larkbell\\qAlarm.txt\""},
    };
    for (const auto& c : cases) {
        MemoryStore store;
        store.content = c.content;
        store.busyOpens = c.busyOpens;
        store.failRead = c.failRead;
        store.failWrite = c.failWrite;
        const ScanResult result = ScanAlarmFile(store, At(14, 29, 30), DateTimeFormat());
        EXPECT_EQ(result.kind, ScanResult::Kind::kFailed) << c.what;
        EXPECT_EQ(result.error, c.error) << c.what;
        EXPECT_TRUE(result.due.empty()) << c.what;
        EXPECT_EQ(store.content, c.content) << c.what;
        EXPECT_LT(store.pauses, 100) << c.what;  // a held file is given up after a while
    }

    MemoryStore missing, briefly;
    missing.exists = false;
    EXPECT_EQ(ScanAlarmFile(missing, At(14, 0, 0), DateTimeFormat()).kind,
              ScanResult::Kind::kNoFile);
    briefly.content = due;
    briefly.busyOpens = 3;
    EXPECT_EQ(ScanAlarmFile(briefly, At(14, 29, 30), DateTimeFormat()).due.size(), 1u);
    EXPECT_EQ(briefly.pauses, 3);
}

}  // namespace
}  // namespace alarms
