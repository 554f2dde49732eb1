// Setter rules of the week view's display properties.
#include "DisplayProperties.h"

namespace weekview {

int16_t RowUnitMinutes(int16_t timeUnits)
{
    switch (timeUnits) {
        case Minutes_5:
            return 5;
        case Minutes_10:
            return 10;
        case Minutes_15:
            return 15;
        case Minutes_30:
            return 30;
        default:
            return 60;
    }
}

int16_t ReduceTimeOfDay(int16_t value)
{
    // The remainder keeps the sign of the value, so a negative value stays negative.
    return static_cast<int16_t>(value % 1440);
}

int16_t ClampTimeTextWidth(int16_t value)
{
    return value < 10 ? 10 : value;
}

int16_t ClampHeaderHeight(int16_t value)
{
    return value < 10 ? 10 : value;
}

int16_t ClampDayColumns(int16_t value)
{
    if (value > 30)
        return 31;
    return value < 1 ? 1 : value;
}

int16_t ClampDay(int16_t value)
{
    if (value > 30)
        return 31;
    return value < 1 ? 1 : value;
}

int16_t ClampMonth(int16_t value)
{
    if (value > 11)
        return 12;
    return value < 1 ? 1 : value;
}

int16_t ClampYear(int16_t value)
{
    return value <= 1000 ? 1000 : value;
}

bool IsBorderStyle(int32_t value)
{
    return value >= BorderRegular && value <= BorderLowered;
}

}  // namespace weekview
