// Sets a week view property from its automation name and a text value, through the
// same setter a host would call.
#pragma once

#include <string>

#include "WeekViewControl.h"

namespace weekview {

// False with a message for an unknown name or a value that is not a number (or a
// boolean for the boolean properties). Fonts are not handled here.
bool SetPropertyByName(WeekViewControl& control, const std::string& name, const std::string& value,
                       std::string& error);

// Whole decimal number in the range; false for anything else.
bool ParseInteger(const std::string& text, long long minimum, long long maximum, long long& out);

}  // namespace weekview
