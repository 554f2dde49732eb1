// The week view's persistent display properties, their defaults and setter rules.
#pragma once

#include <cstdint>
#include <string>

namespace weekview {

using OleColor = uint32_t;

enum BorderStyle : int16_t {
    BorderRegular = 0,
    BorderNone = 1,
    BorderRaised = 2,
    BorderLowered = 3
};
enum TimeUnitCode : int16_t {
    Minutes_5 = 0,
    Minutes_10 = 1,
    Minutes_15 = 2,
    Minutes_30 = 3,
    Minutes_60 = 4
};
enum TimeTypeCode : int16_t { TimeFull = 0, TimeSplit = 1 };

// Stock colours default to the system's window colours (OLE_COLOR system values).
constexpr OleColor kSystemWindowColor = 0x80000005;
constexpr OleColor kSystemWindowTextColor = 0x80000008;

struct DisplayProperties {
    OleColor BackColor = kSystemWindowColor;
    OleColor ForeColor = kSystemWindowTextColor;
    bool Enabled = true;
    OleColor BorderColor = 0;
    OleColor TimeBackColor = 12632256;
    OleColor HeaderBackColor = 12632256;
    OleColor HeaderForeColor = 0;
    OleColor PrimeTimeColor = 16777215;
    OleColor NonPrimeColor = 16777088;
    OleColor LineColor = 8421504;
    OleColor SelectedColor = 8388608;
    OleColor AppBarColor = 16711680;
    int16_t TimeUnits = Minutes_30;
    int16_t BorderType = BorderRegular;
    int16_t TimeBorder = BorderRaised;
    int16_t HeaderBorder = BorderRaised;
    int16_t TimeType = TimeFull;
    int16_t HeightOffset = 0;
    int16_t HeaderYOffset = 0;
    int16_t TimeEnd = 0;
    int16_t TimeStart = 0;
    int16_t PrimeTimeStart = 480;
    int16_t PrimeTimeEnd = 1020;
    int16_t TimeTextWidth = 75;
    int16_t DayColumns = 7;
    int16_t HeaderHeight = 30;
    int16_t Day = 1;
    int16_t Month = 1;
    int16_t Year = 1996;
    bool MilitaryTime = false;
    bool WeekendPrime = false;
    bool IncludeAmPm = true;
    std::string DayHeader = "S,M,T,W,T,F,S";
};

// Minutes per row for a `TimeUnits` value; anything unknown counts as 60.
int16_t RowUnitMinutes(int16_t timeUnits);

// Setter rules of the clamped and reduced properties.
int16_t ReduceTimeOfDay(int16_t value);  // value mod 1440, -1439..1439
int16_t ClampTimeTextWidth(int16_t value);
int16_t ClampHeaderHeight(int16_t value);
int16_t ClampDayColumns(int16_t value);
int16_t ClampDay(int16_t value);
int16_t ClampMonth(int16_t value);
int16_t ClampYear(int16_t value);
bool IsBorderStyle(int32_t value);

}  // namespace weekview
