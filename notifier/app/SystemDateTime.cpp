// The local clock and the user's locale settings through Win32.
#include "SystemDateTime.h"

#include <windows.h>

namespace alarms {
namespace {

std::string LocaleText(LCTYPE item, const char* fallback)
{
    char text[80] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, item, text, sizeof text) <= 1)
        return fallback;
    return text;
}

}  // namespace

LocalTime LocalNow()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    LocalTime time;
    time.year = now.wYear;
    time.month = now.wMonth;
    time.day = now.wDay;
    time.hour = now.wHour;
    time.minute = now.wMinute;
    time.second = now.wSecond;
    time.millisecond = now.wMilliseconds;
    return time;
}

DateTimeFormat SystemDateTimeFormat()
{
    DateTimeFormat format;
    format.dateSeparator = LocaleText(LOCALE_SDATE, "/")[0];
    format.timeSeparator = LocaleText(LOCALE_STIME, ":")[0];
    format.amMarker = LocaleText(LOCALE_S1159, "AM");
    format.pmMarker = LocaleText(LOCALE_S2359, "PM");
    return format;
}

std::string ShownDateTime(const LocalTime& time)
{
    std::string shown = FormatShortDate(time, SystemDateTimeFormat().dateSeparator);
    if (IsMidnight(time))
        return shown;
    SYSTEMTIME clock = {};
    clock.wYear = static_cast<WORD>(time.year);
    clock.wMonth = static_cast<WORD>(time.month);
    clock.wDay = static_cast<WORD>(time.day);
    clock.wHour = static_cast<WORD>(time.hour);
    clock.wMinute = static_cast<WORD>(time.minute);
    clock.wSecond = static_cast<WORD>(time.second);
    char text[80] = {};
    if (GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &clock, nullptr, text, sizeof text) > 0)
        shown += std::string(" ") + text;
    return shown;
}

}  // namespace alarms
