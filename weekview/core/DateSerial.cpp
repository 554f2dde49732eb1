// Date serial arithmetic of the week view.
#include "DateSerial.h"

namespace weekview {
namespace {

constexpr int32_t kSerialOfDayZero = 693932;
constexpr int64_t kDaysPer400Years = 146097;

// Exact conversion for serials the shifted-month guess cannot handle: days since
// 1 March of year 0, split into 400-year eras.
CivilDate WideSerialToDate(int32_t serial)
{
    constexpr int64_t kMarchFirstOfYearZeroToSerialZero = 693901;
    const int64_t days = int64_t{serial} + kMarchFirstOfYearZeroToSerialZero;
    const int64_t era = (days >= 0 ? days : days - kDaysPer400Years + 1) / kDaysPer400Years;
    const int64_t dayOfEra = days - era * kDaysPer400Years;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int64_t day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const int64_t month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    if (year < 1)
        return CivilDate{1, 1, 1};
    if (year > INT16_MAX)
        return CivilDate{31, 12, INT16_MAX};
    return CivilDate{static_cast<int16_t>(day), static_cast<int16_t>(month),
                     static_cast<int16_t>(year)};
}

}  // namespace

int32_t DateSerial(int16_t day, int16_t month, int16_t year)
{
    int32_t m = month - 2;
    int32_t y = year;
    if (m < 1) {
        m += 12;
        y = year - 1;
    }
    const int32_t c = y / 100;
    return ((-1 - c) * 3) / 4 + (y * 1461) / 4 + (m * 367) / 12 + day - kSerialOfDayZero;
}

CivilDate SerialToDate(int32_t serial)
{
    if (serial < kFirstExactSerial || serial > kLastExactSerial)
        return WideSerialToDate(serial);
    const uint32_t a = 4800u * static_cast<uint32_t>(serial) - 964026496u;
    const uint32_t n = a / 146097u;
    const int16_t y = static_cast<int16_t>(n / 12);
    const int16_t mo = static_cast<int16_t>(n - 12 * (n / 12) + 1);
    const int16_t d0 = static_cast<int16_t>(serial - DateSerial(0, mo, y));
    const int16_t nextMonth = mo == 12 ? 1 : static_cast<int16_t>(mo + 1);
    const int16_t nextYear = mo == 12 ? static_cast<int16_t>(y + 1) : y;
    const int16_t d1 = static_cast<int16_t>(serial - DateSerial(0, nextMonth, nextYear));
    if (d1 > 0)
        return CivilDate{d1, nextMonth, nextYear};
    return CivilDate{d0, mo, y};
}

int16_t WeekdayOf(int16_t day, int16_t month, int16_t year)
{
    // The sum is negative before 31 December 1752; a floored remainder keeps the
    // result a true weekday there too.
    const int64_t sum = int64_t{DateSerial(static_cast<int16_t>(day + 2), month, year)} + 53689;
    int64_t rest = sum % 7;
    if (rest < 0)
        rest += 7;
    return static_cast<int16_t>(rest + 1);
}

}  // namespace weekview
