// Reading reminder dates and times: a table of written texts against the moments they mean.
#include "AlarmDateTime.h"

#include <gtest/gtest.h>

namespace alarms {
namespace {

constexpr int kCurrentYear = 2026;
constexpr int kInvalid = -1;

struct Case {
    const char* text;
    char dateSeparator;
    char timeSeparator;
    int year;  // kInvalid: the text must be refused
    int month, day, hour, minute, second;
};

// Korean morning/afternoon markers in code page 949.
const char kAm[] = "\xbf\xc0\xc0\xfc";  // 오전
const char kPm[] = "\xbf\xc0\xc8\xc4";  // 오후

const Case kCases[] = {
    {"2001/05/12", '/', ':', 2001, 5, 12, 0, 0, 0},
    {"2001/05/12 14:30", '/', ':', 2001, 5, 12, 14, 30, 0},
    {"2001/05/12 14:30:15", '/', ':', 2001, 5, 12, 14, 30, 15},
    {"2001/5/2 9", '/', ':', 2001, 5, 2, 9, 0, 0},
    {"  2001/ 05/ 12   14: 30  ", '/', ':', 2001, 5, 12, 14, 30, 0},
    {"2001/05/12 2:30 PM", '/', ':', 2001, 5, 12, 14, 30, 0},
    {"2001/05/12 2:30pm", '/', ':', 2001, 5, 12, 14, 30, 0},
    {"2001/05/12 PM 2:30:01", '/', ':', 2001, 5, 12, 14, 30, 1},
    {"2001/05/12 12:05 AM", '/', ':', 2001, 5, 12, 0, 5, 0},
    {"2001/05/12 12:05 PM", '/', ':', 2001, 5, 12, 12, 5, 0},
    {"2001/05/12 \xbf\xc0\xc8\xc4 2:30", '/', ':', 2001, 5, 12, 14, 30, 0},
    {"2001/05/12 11:59:59 \xbf\xc0\xc0\xfc", '/', ':', 2001, 5, 12, 11, 59, 59},
    {"05/12 14:30", '/', ':', kCurrentYear, 5, 12, 14, 30, 0},
    {"01/05/12", '/', ':', 2001, 5, 12, 0, 0, 0},
    {"1/5/12", '/', ':', 2001, 5, 12, 0, 0, 0},
    {"99/12/31 23:59:59", '/', ':', 2099, 12, 31, 23, 59, 59},
    {"0999/01/01", '/', ':', 999, 1, 1, 0, 0, 0},
    {"2024/02/29", '/', ':', 2024, 2, 29, 0, 0, 0},
    {"2001-05-12 14.30.05", '-', '.', 2001, 5, 12, 14, 30, 5},
    {"05-12", '-', ':', kCurrentYear, 5, 12, 0, 0, 0},
    // Refused texts.
    {"", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"   ", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"abc", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"2001", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"2001/05/", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"2001/05/12/01", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"2001 /05/12", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"-2001/05/12", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"2001/05/12", '-', ':', kInvalid, 0, 0, 0, 0, 0},
    {"2001/13/01", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"2001/00/10", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"2001/04/31", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"2023/02/29", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"1900/02/29", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"0000/01/01", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"14:30", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"2001/05/12 24:00", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"2001/05/12 14:60", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"2001/05/12 14:30:60", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"2001/05/12 13:00 PM", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"2001/05/12 PM", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"2001/05/12 14:", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"2001/05/12 14:30 x", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"2001/05/12 14:30:00.5", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"2001/05/12 PM 2:30 AM", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"2001/05/1214:30", '/', ':', kInvalid, 0, 0, 0, 0, 0},
    {"12345678901/01/01", '/', ':', kInvalid, 0, 0, 0, 0, 0},
};

TEST(AlarmDateTimeTest, ReadsTheWrittenMoment)
{
    for (const Case& c : kCases) {
        DateTimeFormat format;
        format.dateSeparator = c.dateSeparator;
        format.timeSeparator = c.timeSeparator;
        format.amMarker = kAm;
        format.pmMarker = kPm;
        Moment moment = 0;
        const bool read = ReadDateTime(c.text, format, kCurrentYear, &moment);
        if (c.year == kInvalid) {
            EXPECT_FALSE(read) << "'" << c.text << "' read as " << moment;
            continue;
        }
        LocalTime expected;
        expected.year = c.year;
        expected.month = c.month;
        expected.day = c.day;
        expected.hour = c.hour;
        expected.minute = c.minute;
        expected.second = c.second;
        ASSERT_TRUE(read) << "'" << c.text << "'";
        EXPECT_EQ(moment, MomentOf(expected)) << "'" << c.text << "'";
    }
}

TEST(AlarmDateTimeTest, CountsDaysFromTheSystemsOrigin)
{
    const struct {
        LocalTime time;
        Moment moment;
    } cases[] = {
        {{1899, 12, 30, 0, 0, 0, 0}, 0},
        {{1900, 3, 1, 0, 0, 0, 0}, 61 * kMsPerDay},
        {{2001, 5, 12, 14, 30, 0, 0}, 37023 * kMsPerDay + (14 * 60 + 30) * 60000},
        {{1899, 12, 29, 23, 59, 59, 999}, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MomentOf(c.time), c.moment) << c.time.year << "-" << c.time.month;
}

}  // namespace
}  // namespace alarms
