// The local clock and the system's date and time settings, as the alarm scan and the summary
// window need them.
#pragma once

#include <string>

#include "AlarmDateTime.h"

namespace alarms {

// The local date and time now.
LocalTime LocalNow();

// The user's date and time separators and morning/afternoon markers.
DateTimeFormat SystemDateTimeFormat();

// A date and time as the program shows it: the short date "yyyy/mm/dd" with the system's date
// separator, a space and the time in the system's long time format; the time is left out at
// exactly midnight.
std::string ShownDateTime(const LocalTime& time);

}  // namespace alarms
