// Property names of the week view mapped to their setters.
#include "PropertyByName.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <map>

namespace weekview {
namespace {

using ShortSetter = void (WeekViewControl::*)(int16_t);
using EnumSetter = void (WeekViewControl::*)(int32_t);
using BoolSetter = void (WeekViewControl::*)(bool);
using ColorMember = OleColor DisplayProperties::*;

const std::map<std::string, ShortSetter>& ShortSetters()
{
    static const std::map<std::string, ShortSetter> setters = {
        {"TimeStart", &WeekViewControl::SetTimeStart},
        {"TimeEnd", &WeekViewControl::SetTimeEnd},
        {"TimeTextWidth", &WeekViewControl::SetTimeTextWidth},
        {"HeightOffset", &WeekViewControl::SetHeightOffset},
        {"DayColumns", &WeekViewControl::SetDayColumns},
        {"HeaderHeight", &WeekViewControl::SetHeaderHeight},
        {"PrimeTimeStart", &WeekViewControl::SetPrimeTimeStart},
        {"PrimeTimeEnd", &WeekViewControl::SetPrimeTimeEnd},
        {"Day", &WeekViewControl::SetDay},
        {"Month", &WeekViewControl::SetMonth},
        {"Year", &WeekViewControl::SetYear},
        {"HeaderYOffset", &WeekViewControl::SetHeaderYOffset},
        {"TopTime", &WeekViewControl::SetTopTime},
        {"FirstDay", &WeekViewControl::FirstDay},
    };
    return setters;
}

const std::map<std::string, EnumSetter>& EnumSetters()
{
    static const std::map<std::string, EnumSetter> setters = {
        {"BorderType", &WeekViewControl::SetBorderType},
        {"TimeUnits", &WeekViewControl::SetTimeUnits},
        {"TimeBorder", &WeekViewControl::SetTimeBorder},
        {"HeaderBorder", &WeekViewControl::SetHeaderBorder},
        {"TimeType", &WeekViewControl::SetTimeType},
    };
    return setters;
}

const std::map<std::string, BoolSetter>& BoolSetters()
{
    static const std::map<std::string, BoolSetter> setters = {
        {"MilitaryTime", &WeekViewControl::SetMilitaryTime},
        {"IncludeAmPm", &WeekViewControl::SetIncludeAmPm},
        {"WeekendPrime", &WeekViewControl::SetWeekendPrime},
        {"Enabled", &WeekViewControl::SetEnabled},
    };
    return setters;
}

const std::map<std::string, ColorMember>& ColorMembers()
{
    static const std::map<std::string, ColorMember> members = {
        {"BackColor", &DisplayProperties::BackColor},
        {"ForeColor", &DisplayProperties::ForeColor},
        {"BorderColor", &DisplayProperties::BorderColor},
        {"TimeBackColor", &DisplayProperties::TimeBackColor},
        {"HeaderBackColor", &DisplayProperties::HeaderBackColor},
        {"HeaderForeColor", &DisplayProperties::HeaderForeColor},
        {"PrimeTimeColor", &DisplayProperties::PrimeTimeColor},
        {"NonPrimeColor", &DisplayProperties::NonPrimeColor},
        {"LineColor", &DisplayProperties::LineColor},
        {"SelectedColor", &DisplayProperties::SelectedColor},
        {"AppBarColor", &DisplayProperties::AppBarColor},
    };
    return members;
}

bool ParseBool(const std::string& text, bool& out)
{
    if (text == "true" || text == "1" || text == "-1") {
        out = true;
        return true;
    }
    if (text == "false" || text == "0") {
        out = false;
        return true;
    }
    return false;
}

}  // namespace

bool ParseInteger(const std::string& text, long long minimum, long long maximum, long long& out)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size() || value < minimum || value > maximum)
        return false;
    out = value;
    return true;
}

bool SetPropertyByName(WeekViewControl& control, const std::string& name, const std::string& value,
                       std::string& error)
{
    long long number = 0;
    if (name == "DayHeader") {
        control.SetDayHeader(value);
        return true;
    }
    if (name == "Date") {
        if (!ParseInteger(value, INT32_MIN, INT32_MAX, number)) {
            error = "Date needs a whole number (a day serial): " + value;
            return false;
        }
        control.SetDate(static_cast<int32_t>(number));
        return true;
    }
    if (auto s = ShortSetters().find(name); s != ShortSetters().end()) {
        if (!ParseInteger(value, INT16_MIN, INT16_MAX, number)) {
            error = name + " needs a whole number from -32768 to 32767: " + value;
            return false;
        }
        (control.*(s->second))(static_cast<int16_t>(number));
        return true;
    }
    if (auto e = EnumSetters().find(name); e != EnumSetters().end()) {
        if (!ParseInteger(value, INT32_MIN, INT32_MAX, number)) {
            error = name + " needs a whole number: " + value;
            return false;
        }
        (control.*(e->second))(static_cast<int32_t>(number));
        return true;
    }
    if (auto b = BoolSetters().find(name); b != BoolSetters().end()) {
        bool flag = false;
        if (!ParseBool(value, flag)) {
            error = name + " needs true or false: " + value;
            return false;
        }
        (control.*(b->second))(flag);
        return true;
    }
    if (auto c = ColorMembers().find(name); c != ColorMembers().end()) {
        if (!ParseInteger(value, 0, UINT32_MAX, number)) {
            error = name + " needs a decimal OLE_COLOR value: " + value;
            return false;
        }
        control.SetColor(c->second, static_cast<OleColor>(number));
        return true;
    }
    error = "unknown property: " + name;
    return false;
}

}  // namespace weekview
