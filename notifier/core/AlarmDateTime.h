// Reading the reminder moments written in the alarm file, and the clock values they are
// compared with. Portable: the clock and the system's separators come from the caller.
#pragma once

#include <cstdint>
#include <string>

namespace alarms {

// A local date and time as the system clock reports it.
struct LocalTime {
    int year = 1900;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// How the system writes dates and times: its date and time separators and its own morning
// and afternoon markers (system code page bytes). The letters AM and PM are read as well.
struct DateTimeFormat {
    char dateSeparator = '/';
    char timeSeparator = ':';
    std::string amMarker = "AM";
    std::string pmMarker = "PM";
};

// A moment in milliseconds since 30 December 1899, 00:00, the origin of the system's day
// count. Whole milliseconds keep differences exact; they are turned into days only when
// compared with the reminder window.
using Moment = int64_t;
constexpr int64_t kMsPerDay = 86400000;

// The moment of a valid local time.
Moment MomentOf(const LocalTime& time);

// Reads a date and optional time written after the short date format "yyyy/mm/dd", the slash
// standing for the system's date separator. Blanks before numbers are skipped; the time is
// hours, optionally minutes and seconds after the time separator, with an AM or PM marker
// before or after it making it a 12-hour time; no time means midnight. Two date numbers are
// month and day of currentYear; a year of one or two digits counts in currentYear's century.
// False when the text is not such a date and time (nothing else is accepted around it but
// blanks).
bool ReadDateTime(const std::string& text, const DateTimeFormat& format, int currentYear,
                  Moment* moment);

// The error text for a date and time that cannot be read.
std::string InvalidDateTimeMessage(const std::string& text);

// The date in the short date format, "yyyy/mm/dd" with the system's date separator.
std::string FormatShortDate(const LocalTime& time, char dateSeparator);

// Exactly midnight, where a shown date and time leaves the time out.
bool IsMidnight(const LocalTime& time);

}  // namespace alarms
