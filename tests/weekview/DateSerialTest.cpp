// Date serials against known dates and an independent civil-date algorithm.
#include <gtest/gtest.h>

#include "DateSerial.h"
#include "FakeHost.h"

namespace weekview {
namespace {

// Days from 1 January 1900 by era arithmetic on (year, month, day).
int64_t CivilToSerial(int64_t y, int64_t m, int64_t d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + 25567;
}

TEST(DateSerialTest, KnownDates)
{
    struct Case {
        int16_t day, month, year;
        int32_t serial;
    } cases[] = {
        {1, 1, 1900, 0},        {31, 12, 1899, -1},   {1, 3, 1900, 59},
        {1, 1, 1996, 35063},    {29, 2, 2000, 36583}, {1, 1, 1, -693595},
        {16, 11, 2449, 200838}, {31, 2, 1996, 35124},  // counts on into March
        {0, 3, 1996, 35122},                           // day 0 is the last of February
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DateSerial(c.day, c.month, c.year), c.serial)
            << c.day << "." << c.month << "." << c.year;
    }
}

TEST(DateSerialTest, ExactRangeRoundTripsAgainstCivilDates)
{
    for (int32_t s = kFirstExactSerial; s <= kLastExactSerial; ++s) {
        const CivilDate d = SerialToDate(s);
        ASSERT_EQ(CivilToSerial(d.year, d.month, d.day), s) << "serial " << s;
        ASSERT_GE(d.day, 1);
        ASSERT_LE(d.day, 31);
        ASSERT_EQ(DateSerial(d.day, d.month, d.year), s);
    }
}

TEST(DateSerialTest, BeyondTheExactRangeStaysARealDate)
{
    // Years the `Year` property accepts beyond 2449 still convert both ways.
    for (int16_t year : {2450, 3000, 9999, 32767}) {
        for (int16_t month : {1, 2, 12}) {
            const int32_t s = DateSerial(28, month, year);
            const CivilDate d = SerialToDate(s);
            EXPECT_EQ(d.year, year);
            EXPECT_EQ(d.month, month);
            EXPECT_EQ(d.day, 28);
        }
    }
    const CivilDate low = SerialToDate(INT32_MIN);
    EXPECT_EQ(low.year, 1);
    const CivilDate high = SerialToDate(INT32_MAX);
    EXPECT_EQ(high.year, 32767);
}

TEST(DateSerialTest, Weekdays)
{
    struct Case {
        int16_t day, month, year, weekday;
    } cases[] = {
        {1, 1, 1996, 2},
        {1, 1, 1900, 2},
        {31, 12, 1752, 1},
        {14, 9, 1752, 5},
        {1, 1, 1, 2},  // proleptic Gregorian Monday, where the plain sum is
                       // negative
        {8, 12, 2026, 3},
        {29, 2, 2000, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WeekdayOf(c.day, c.month, c.year), c.weekday)
            << c.day << "." << c.month << "." << c.year;
    for (int32_t s = kFirstExactSerial; s <= kLastExactSerial; s += 997) {
        const CivilDate d = SerialToDate(s);
        const int64_t expected = ((s + 1) % 7 + 7) % 7 + 1;  // serial 0 is a Monday
        ASSERT_EQ(WeekdayOf(d.day, d.month, d.year), expected) << s;
    }
}

TEST(CurrentDateTest, FindAndSetters)
{
    ControlFixture f;
    WeekViewControl& c = f.control;
    EXPECT_EQ(c.GetDate(), 35063);
    EXPECT_EQ(c.FindDay(0), 1);
    EXPECT_EQ(c.FindMonth(0), 1);
    EXPECT_EQ(c.FindYear(0), 1900);
    EXPECT_EQ(c.FindYear(-1), 1899);
    EXPECT_EQ(c.FindDay(-1), 31);
    EXPECT_EQ(c.FindMonth(59), 3);

    struct Case {
        void (WeekViewControl::*setter)(int16_t);
        int16_t value;
        int16_t (WeekViewControl::*getter)() const;
        int16_t expected;
    } cases[] = {
        {&WeekViewControl::SetDay, 0, &WeekViewControl::GetDay, 1},
        {&WeekViewControl::SetDay, 31, &WeekViewControl::GetDay, 31},
        {&WeekViewControl::SetDay, 40, &WeekViewControl::GetDay, 31},
        {&WeekViewControl::SetMonth, 13, &WeekViewControl::GetMonth, 12},
        {&WeekViewControl::SetMonth, -3, &WeekViewControl::GetMonth, 1},
        {&WeekViewControl::SetYear, 999, &WeekViewControl::GetYear, 1000},
        {&WeekViewControl::SetYear, 2026, &WeekViewControl::GetYear, 2026},
    };
    for (const Case& k : cases) {
        (c.*k.setter)(k.value);
        EXPECT_EQ((c.*k.getter)(), k.expected);
        EXPECT_EQ(c.GetDate(), DateSerial(c.GetDay(), c.GetMonth(), c.GetYear()));
    }
    c.SetDay(31);
    c.SetMonth(2);
    c.SetYear(1996);
    EXPECT_EQ(c.GetDay(), 31);
    EXPECT_EQ(c.GetMonth(), 2);
    EXPECT_EQ(c.GetDate(), DateSerial(2, 3, 1996));
    EXPECT_GT(f.site.modifications, 0);
}

TEST(CurrentDateTest, FirstDayMovesWithinTheWeek)
{
    const int32_t wednesday = DateSerial(3, 1, 1996);
    struct Case {
        int16_t nDay;
        int32_t expected;
    } cases[] = {
        {1, wednesday - 2}, {0, wednesday - 3}, {-5, wednesday - 3},
        {9, wednesday + 3}, {3, wednesday},
    };
    for (const Case& k : cases) {
        ControlFixture f;
        f.control.SetDate(wednesday);
        f.control.FirstDay(k.nDay);
        EXPECT_EQ(f.control.GetDate(), k.expected) << k.nDay;
        EXPECT_EQ(f.control.GetDate(),
                  DateSerial(f.control.GetDay(), f.control.GetMonth(), f.control.GetYear()));
    }
}

TEST(CurrentDateTest, DateBeyondThePartsKeepsThemInStep)
{
    ControlFixture f;
    f.control.SetDate(INT32_MAX);
    EXPECT_EQ(f.control.GetDate(),
              DateSerial(f.control.GetDay(), f.control.GetMonth(), f.control.GetYear()));
    f.control.SetDate(300000);
    EXPECT_EQ(f.control.GetDate(), 300000);
}

}  // namespace
}  // namespace weekview
