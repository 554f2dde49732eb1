// Day serials of the week view (0 = 1 January 1900, Gregorian) and their calendar dates.
#pragma once

#include <cstdint>

namespace weekview {

struct CivilDate {
    int16_t day = 1;
    int16_t month = 1;
    int16_t year = 1900;
};

// The serials that the conversion below handles with its own arithmetic.
constexpr int32_t kFirstExactSerial = -693595;  // 1 January of year 1
constexpr int32_t kLastExactSerial = 200838;    // 16 November 2449

// Serial of the given day; days outside the month count on from its first day.
int32_t DateSerial(int16_t day, int16_t month, int16_t year);

// Calendar date of a serial. Serials beyond the exact range are converted by plain
// civil-date arithmetic, clamped to the years 1..32767, so the result is always a
// real date.
CivilDate SerialToDate(int32_t serial);

// Weekday number, 1 = Sunday .. 7 = Saturday, for any date.
int16_t WeekdayOf(int16_t day, int16_t month, int16_t year);

}  // namespace weekview
