// Layout arithmetic, row times, prime test and the texts of the week view.
#include "Layout.h"

#include <cstdio>

#include "DateSerial.h"

namespace weekview {

Insets BorderInsets(int16_t borderType)
{
    const int16_t inset = borderType == BorderNone ? 0 : 1;
    return Insets{inset, inset, inset, inset};
}

int16_t LastRowOf(const DisplayProperties& p)
{
    const int unit = RowUnitMinutes(p.TimeUnits);
    const int rowsPerDay = 1440 / unit;
    if (p.TimeEnd > p.TimeStart)
        return static_cast<int16_t>(p.TimeEnd / unit - p.TimeStart / unit);
    return static_cast<int16_t>(rowsPerDay + p.TimeEnd / unit - p.TimeStart / unit);
}

int16_t TimeColumnWidth(const DisplayProperties& p, int left, int right)
{
    const int columns = p.DayColumns < 1 ? 1 : p.DayColumns;
    return static_cast<int16_t>(p.TimeTextWidth + ((right - p.TimeTextWidth - left) % columns));
}

Layout ComputeLayout(const DisplayProperties& p, const Insets& insets, const Rect& bounds,
                     int16_t textHeight)
{
    Layout l;
    l.bounds = bounds;
    l.textHeight = textHeight;
    l.rowHeight = static_cast<int16_t>(p.HeightOffset + textHeight + 3);
    const int gridHeight = bounds.bottom - bounds.top - insets.top - insets.bottom - p.HeaderHeight;
    l.visibleRows = 0;
    if (l.rowHeight > 0 && gridHeight > 0)
        l.visibleRows = static_cast<int16_t>(gridHeight / l.rowHeight);
    const int columns = p.DayColumns < 1 ? 1 : p.DayColumns;
    l.timeColumnWidth = TimeColumnWidth(p, bounds.left, bounds.right);
    l.dayColumnWidth =
        static_cast<int16_t>((bounds.right - bounds.left - p.TimeTextWidth) / columns);
    l.gridTop = static_cast<int16_t>(bounds.top + p.HeaderHeight + insets.top);
    l.rowUnit = RowUnitMinutes(p.TimeUnits);
    l.rowsPerDay = static_cast<int16_t>(1440 / l.rowUnit);
    l.lastRow = LastRowOf(p);
    return l;
}

int16_t RowTime(const DisplayProperties& p, int r)
{
    const int unit = RowUnitMinutes(p.TimeUnits);
    int t = unit * (p.TimeStart / unit + r);
    if (t > 1439)
        t -= 1440;
    return static_cast<int16_t>(t);
}

bool IsPrime(const DisplayProperties& p, int r, int c)
{
    if (!p.WeekendPrime) {
        const int k = (WeekdayOf(p.Day, p.Month, p.Year) + c) % 7;
        if (k == 0 || k == 1)
            return false;
    }
    const int unit = RowUnitMinutes(p.TimeUnits);
    int t = static_cast<int16_t>(r * unit + p.TimeStart);
    if (t > 1440)
        t -= 1440;
    return p.PrimeTimeStart <= t && t < p.PrimeTimeEnd;
}

int HourNumber(const DisplayProperties& p, int16_t t)
{
    int hour = t / 60;
    if (!p.MilitaryTime) {
        if (hour == 0)
            hour = 12;
        else if (hour >= 13 && hour <= 23)
            hour -= 12;
    }
    return hour;
}

std::string FullTimeText(const DisplayProperties& p, int16_t t)
{
    char text[32];
    const int hour = HourNumber(p, t);
    const int minute = t % 60;
    if (minute > 9)
        std::snprintf(text, sizeof text, "%2d:%2d", hour, minute);
    else
        std::snprintf(text, sizeof text, "%2d:0%1d", hour, minute);
    std::string result = text;
    if (p.IncludeAmPm)
        result += t < 720 ? " AM" : " PM";
    return result;
}

std::string SplitMinuteText(int16_t t)
{
    char text[16];
    const int minute = t % 60;
    if (minute > 9)
        std::snprintf(text, sizeof text, ":%2d  ", minute);
    else
        std::snprintf(text, sizeof text, ":0%1d  ", minute);
    return text;
}

bool SplitStyleInEffect(const DisplayProperties& p)
{
    return p.TimeType == TimeSplit && p.TimeUnits != Minutes_60;
}

std::string DayCaption(const std::string& dayHeader, int v)
{
    constexpr size_t kScannedCharacters = 63;
    const std::string scanned = dayHeader.substr(0, kScannedCharacters);
    int item = 1;
    std::string caption;
    for (char ch : scanned) {
        if (ch == ';' || ch == ',') {
            if (item == v)
                return caption;
            ++item;
            caption.clear();
        } else {
            caption += ch;
        }
    }
    return item == v ? caption : std::string();
}

}  // namespace weekview
