// The week view's automation properties, one line each: name, DISPID, type, whether it
// is saved, and its default; every table of properties is expanded from this list.
#pragma once

// X(Name, Dispid, Type, Kept, Default)
//   Type     Short (16 bits), Enum (32 bits at the interface, kept in 16), Long, Bool,
//            Color (OLE_COLOR), Text, Font (a font object), Handle (the window).
//   Kept     Saved: part of the persistent set, which goes out in the order of these
//            lines; every saved one but the fonts is a member of DisplayProperties.
//            View: the control's state of the moment, never saved.
//   Default  a new control's value of a DisplayProperties member (`none` where the
//            property is not one: the fonts come from the container, the view's state
//            from the control).
// The negative DISPIDs are the stock properties' own.
#define WEEKVIEW_PROPERTIES(X)                               \
    X(BackColor, -501, Color, Saved, kSystemWindowColor)     \
    X(ForeColor, -513, Color, Saved, kSystemWindowTextColor) \
    X(Enabled, -514, Bool, Saved, true)                      \
    X(Font, -512, Font, Saved, none)                         \
    X(HourFont, 33, Font, Saved, none)                       \
    X(BorderColor, 6, Color, Saved, 0)                       \
    X(TimeBackColor, 8, Color, Saved, 12632256)              \
    X(HeaderBackColor, 18, Color, Saved, 12632256)           \
    X(HeaderForeColor, 19, Color, Saved, 0)                  \
    X(PrimeTimeColor, 14, Color, Saved, 16777215)            \
    X(NonPrimeColor, 15, Color, Saved, 16777088)             \
    X(LineColor, 25, Color, Saved, 8421504)                  \
    X(SelectedColor, 27, Color, Saved, 8388608)              \
    X(AppBarColor, 28, Color, Saved, 16711680)               \
    X(TimeUnits, 2, Enum, Saved, Minutes_30)                 \
    X(BorderType, 1, Enum, Saved, BorderRegular)             \
    X(TimeBorder, 10, Enum, Saved, BorderRaised)             \
    X(HeaderBorder, 20, Enum, Saved, BorderRaised)           \
    X(TimeType, 32, Enum, Saved, TimeFull)                   \
    X(HeightOffset, 11, Short, Saved, 0)                     \
    X(HeaderYOffset, 29, Short, Saved, 0)                    \
    X(TimeEnd, 5, Short, Saved, 0)                           \
    X(TimeStart, 4, Short, Saved, 0)                         \
    X(PrimeTimeStart, 16, Short, Saved, 480)                 \
    X(PrimeTimeEnd, 17, Short, Saved, 1020)                  \
    X(TimeTextWidth, 9, Short, Saved, 75)                    \
    X(DayColumns, 12, Short, Saved, 7)                       \
    X(HeaderHeight, 13, Short, Saved, 30)                    \
    X(Day, 22, Short, Saved, 1)                              \
    X(Month, 23, Short, Saved, 1)                            \
    X(Year, 24, Short, Saved, 1996)                          \
    X(MilitaryTime, 3, Bool, Saved, false)                   \
    X(WeekendPrime, 26, Bool, Saved, false)                  \
    X(IncludeAmPm, 7, Bool, Saved, true)                     \
    X(DayHeader, 21, Text, Saved, "S,M,T,W,T,F,S")           \
    X(TopTime, 30, Short, View, none)                        \
    X(Date, 31, Long, View, none)                            \
    X(hWnd, -515, Handle, View, none)

namespace weekview {

enum class PropertyType { Short, Enum, Long, Bool, Color, Text, Font, Handle };

}  // namespace weekview
