// Per-paint layout of the week view: insets, rows, columns and the texts of the rows.
#pragma once

#include <cstdint>
#include <string>

#include "DisplayProperties.h"

namespace weekview {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct Insets {
    int16_t left = 1;
    int16_t top = 1;
    int16_t right = 1;
    int16_t bottom = 1;
};

Insets BorderInsets(int16_t borderType);

struct Layout {
    Rect bounds;
    int16_t textHeight = 0;
    int16_t rowHeight = 0;
    int16_t visibleRows = 0;
    int16_t timeColumnWidth = 0;
    int16_t dayColumnWidth = 0;
    int16_t gridTop = 0;
    int16_t rowUnit = 30;
    int16_t rowsPerDay = 48;
    int16_t lastRow = 48;
};

// Layout values for a drawing rectangle. A row height below one pixel or a
// rectangle smaller than the header gives no visible rows.
Layout ComputeLayout(const DisplayProperties& p, const Insets& insets, const Rect& bounds,
                     int16_t textHeight);

// Last row number of the time range (rows are 0..last row, both ends shown).
int16_t LastRowOf(const DisplayProperties& p);

// Time column width for a rectangle: the base width plus the columns' remainder.
int16_t TimeColumnWidth(const DisplayProperties& p, int left, int right);

// Time of day shown by row r.
int16_t RowTime(const DisplayProperties& p, int r);

// Prime-time test of row r in day column c.
bool IsPrime(const DisplayProperties& p, int r, int c);

// "12:00 AM", " 9:30", "13:00 PM" ...
std::string FullTimeText(const DisplayProperties& p, int16_t t);
// ":30  " for the split style.
std::string SplitMinuteText(int16_t t);
// Hour number as the texts show it (12-hour unless military).
int HourNumber(const DisplayProperties& p, int16_t t);

// The split style draws minutes and hours apart (never with 60-minute rows).
bool SplitStyleInEffect(const DisplayProperties& p);

// Caption of the v-th weekday (1 = Sunday) from the `DayHeader` text.
std::string DayCaption(const std::string& dayHeader, int v);

}  // namespace weekview
