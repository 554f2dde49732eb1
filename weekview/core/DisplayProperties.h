// The week view's persistent display properties (members and defaults from the list of
// properties) and their setter rules.
#pragma once

#include <cstdint>
#include <string>

#include "PropertyList.h"

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

// One member a saved property of the list, with its default, in the list's order.
#define WEEKVIEW_MEMBER_Saved_Color(N, D) OleColor N = D;
#define WEEKVIEW_MEMBER_Saved_Short(N, D) int16_t N = D;
#define WEEKVIEW_MEMBER_Saved_Enum(N, D) int16_t N = D;
#define WEEKVIEW_MEMBER_Saved_Bool(N, D) bool N = D;
#define WEEKVIEW_MEMBER_Saved_Text(N, D) std::string N = D;
#define WEEKVIEW_MEMBER_Saved_Font(N, D)
#define WEEKVIEW_MEMBER_View_Short(N, D)
#define WEEKVIEW_MEMBER_View_Long(N, D)
#define WEEKVIEW_MEMBER_View_Handle(N, D)
#define WEEKVIEW_MEMBER(Name, Dispid, Type, Kept, Default) \
    WEEKVIEW_MEMBER_##Kept##_##Type(Name, Default)

struct DisplayProperties {
    WEEKVIEW_PROPERTIES(WEEKVIEW_MEMBER)
};

#undef WEEKVIEW_MEMBER

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
