// A week view property set by its automation name, through the table of properties.
#include "PropertyByName.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>

#include "PropertyTable.h"

namespace weekview {
namespace {

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
    // FirstDay is a method; the tool sets it like a property.
    if (name == "FirstDay") {
        if (!ParseInteger(value, INT16_MIN, INT16_MAX, number)) {
            error = name + " needs a whole number from -32768 to 32767: " + value;
            return false;
        }
        control.FirstDay(static_cast<int16_t>(number));
        return true;
    }
    const PropertyInfo* p = FindProperty(name.c_str());
    switch (p != nullptr ? p->type : PropertyType::Font) {
        case PropertyType::Text:
            control.SetDayHeader(value);
            return true;
        case PropertyType::Long:
            if (!ParseInteger(value, INT32_MIN, INT32_MAX, number)) {
                error = "Date needs a whole number (a day serial): " + value;
                return false;
            }
            (control.*(p->setLong))(static_cast<int32_t>(number));
            return true;
        case PropertyType::Short:
            if (!ParseInteger(value, INT16_MIN, INT16_MAX, number)) {
                error = name + " needs a whole number from -32768 to 32767: " + value;
                return false;
            }
            (control.*(p->setShort))(static_cast<int16_t>(number));
            return true;
        case PropertyType::Enum:
            if (!ParseInteger(value, INT32_MIN, INT32_MAX, number)) {
                error = name + " needs a whole number: " + value;
                return false;
            }
            (control.*(p->setLong))(static_cast<int32_t>(number));
            return true;
        case PropertyType::Bool: {
            bool flag = false;
            if (!ParseBool(value, flag)) {
                error = name + " needs true or false: " + value;
                return false;
            }
            (control.*(p->setBool))(flag);
            return true;
        }
        case PropertyType::Color:
            if (!ParseInteger(value, 0, UINT32_MAX, number)) {
                error = name + " needs a decimal OLE_COLOR value: " + value;
                return false;
            }
            control.SetColor(p->color, static_cast<OleColor>(number));
            return true;
        default:  // fonts, the window and names the control does not know
            error = "unknown property: " + name;
            return false;
    }
}

}  // namespace weekview
