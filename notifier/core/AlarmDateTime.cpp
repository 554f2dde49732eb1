// Reading and writing the dates and times of alarm reminders.
#include "AlarmDateTime.h"

#include <cstdio>

namespace alarms {
namespace {

constexpr int kMaxDigits = 9;  // keeps every number inside int; ranges are checked after

enum class Marker { kNone, kAm, kPm };

// Days from 1 January 1970 to a Gregorian date (valid for every year from 1).
int64_t DaysFromCivil(int64_t year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// A reading position in the text.
class Scanner {
public:
    explicit Scanner(const std::string& text) : text_(text) {}

    void SkipBlanks()
    {
        while (pos_ < text_.size() && text_[pos_] == ' ')
            ++pos_;
    }

    bool AtEnd() const { return pos_ >= text_.size(); }

    // A run of decimal digits after optional blanks; *digits tells how many were written.
    bool Number(int* value, int* digits)
    {
        SkipBlanks();
        const size_t start = pos_;
        int result = 0;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            if (pos_ - start == kMaxDigits)
                return false;
            result = result * 10 + (text_[pos_] - '0');
            ++pos_;
        }
        *digits = static_cast<int>(pos_ - start);
        *value = result;
        return *digits > 0;
    }

    bool Char(char ch)
    {
        if (pos_ < text_.size() && text_[pos_] == ch) {
            ++pos_;
            return true;
        }
        return false;
    }

    // The system's marker or the letters AM/PM (either case), after optional blanks.
    Marker ReadMarker(const DateTimeFormat& format)
    {
        SkipBlanks();
        if (Word(format.amMarker) || Word("AM"))
            return Marker::kAm;
        if (Word(format.pmMarker) || Word("PM"))
            return Marker::kPm;
        return Marker::kNone;
    }

private:
    bool Word(const std::string& word)
    {
        if (word.empty() || text_.size() - pos_ < word.size())
            return false;
        for (size_t i = 0; i < word.size(); ++i) {
            if (Upper(text_[pos_ + i]) != Upper(word[i]))
                return false;
        }
        pos_ += word.size();
        return true;
    }

    static char Upper(char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 32) : ch; }

    const std::string& text_;
    size_t pos_ = 0;
};

// Year, month and day; false when they do not form a date.
bool ReadDate(Scanner& scan, char separator, int currentYear, LocalTime* date)
{
    int first = 0, second = 0, third = 0, firstDigits = 0, digits = 0;
    if (!scan.Number(&first, &firstDigits) || !scan.Char(separator) ||
        !scan.Number(&second, &digits))
        return false;
    if (scan.Char(separator)) {
        if (!scan.Number(&third, &digits))
            return false;
        date->year = firstDigits <= 2 ? currentYear - currentYear % 100 + first : first;
        date->month = second;
        date->day = third;
    } else {
        date->year = currentYear;
        date->month = first;
        date->day = second;
    }
    return date->year >= 1 && date->year <= 9999 && date->month >= 1 && date->month <= 12 &&
           date->day >= 1 && date->day <= DaysInMonth(date->year, date->month);
}

// The optional time after the date, up to the end of the text.
bool ReadTime(Scanner& scan, const DateTimeFormat& format, LocalTime* time)
{
    scan.SkipBlanks();
    if (scan.AtEnd())
        return true;
    Marker marker = scan.ReadMarker(format);
    int digits = 0;
    if (!scan.Number(&time->hour, &digits))
        return false;
    if (scan.Char(format.timeSeparator)) {
        if (!scan.Number(&time->minute, &digits))
            return false;
        if (scan.Char(format.timeSeparator) && !scan.Number(&time->second, &digits))
            return false;
    }
    if (marker == Marker::kNone)
        marker = scan.ReadMarker(format);
    scan.SkipBlanks();
    if (!scan.AtEnd() || time->minute > 59 || time->second > 59)
        return false;
    if (marker == Marker::kNone)
        return time->hour <= 23;
    if (time->hour > 12)
        return false;
    if (time->hour == 12)
        time->hour = 0;
    if (marker == Marker::kPm)
        time->hour += 12;
    return true;
}

}  // namespace

Moment MomentOf(const LocalTime& time)
{
    const int64_t days =
        DaysFromCivil(time.year, time.month, time.day) - DaysFromCivil(1899, 12, 30);
    const int64_t ms =
        ((time.hour * 60 + time.minute) * 60 + int64_t{time.second}) * 1000 + time.millisecond;
    return days * kMsPerDay + ms;
}

bool ReadDateTime(const std::string& text, const DateTimeFormat& format, int currentYear,
                  Moment* moment)
{
    Scanner scan(text);
    LocalTime value;
    if (!ReadDate(scan, format.dateSeparator, currentYear, &value) ||
        !ReadTime(scan, format, &value))
        return false;
    *moment = MomentOf(value);
    return true;
}

std::string InvalidDateTimeMessage(const std::string& text)
{
    return "'" + text + "' is not a valid date and time";
}

std::string FormatShortDate(const LocalTime& time, char dateSeparator)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d%c%02d%c%02d", time.year, dateSeparator, time.month,
                  dateSeparator, time.day);
    return text;
}

bool IsMidnight(const LocalTime& time)
{
    return time.hour == 0 && time.minute == 0 && time.second == 0 && time.millisecond == 0;
}

}  // namespace alarms
