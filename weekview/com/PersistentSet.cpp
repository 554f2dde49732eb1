// The persistent property set and its order.
#include "PersistentSet.h"

namespace septena {

using weekview::DisplayProperties;
using K = PersistKind;

const PersistentProperty kPersistentSet[] = {
    {L"BackColor", K::Color, &DisplayProperties::BackColor, nullptr, nullptr},
    {L"ForeColor", K::Color, &DisplayProperties::ForeColor, nullptr, nullptr},
    {L"Enabled", K::Bool, nullptr, nullptr, &DisplayProperties::Enabled},
    {L"Font", K::Font, nullptr, nullptr, nullptr},
    {L"HourFont", K::HourFont, nullptr, nullptr, nullptr},
    {L"BorderColor", K::Color, &DisplayProperties::BorderColor, nullptr, nullptr},
    {L"TimeBackColor", K::Color, &DisplayProperties::TimeBackColor, nullptr, nullptr},
    {L"HeaderBackColor", K::Color, &DisplayProperties::HeaderBackColor, nullptr, nullptr},
    {L"HeaderForeColor", K::Color, &DisplayProperties::HeaderForeColor, nullptr, nullptr},
    {L"PrimeTimeColor", K::Color, &DisplayProperties::PrimeTimeColor, nullptr, nullptr},
    {L"NonPrimeColor", K::Color, &DisplayProperties::NonPrimeColor, nullptr, nullptr},
    {L"LineColor", K::Color, &DisplayProperties::LineColor, nullptr, nullptr},
    {L"SelectedColor", K::Color, &DisplayProperties::SelectedColor, nullptr, nullptr},
    {L"AppBarColor", K::Color, &DisplayProperties::AppBarColor, nullptr, nullptr},
    {L"TimeUnits", K::Short, nullptr, &DisplayProperties::TimeUnits, nullptr},
    {L"BorderType", K::Short, nullptr, &DisplayProperties::BorderType, nullptr},
    {L"TimeBorder", K::Short, nullptr, &DisplayProperties::TimeBorder, nullptr},
    {L"HeaderBorder", K::Short, nullptr, &DisplayProperties::HeaderBorder, nullptr},
    {L"TimeType", K::Short, nullptr, &DisplayProperties::TimeType, nullptr},
    {L"HeightOffset", K::Short, nullptr, &DisplayProperties::HeightOffset, nullptr},
    {L"HeaderYOffset", K::Short, nullptr, &DisplayProperties::HeaderYOffset, nullptr},
    {L"TimeEnd", K::Short, nullptr, &DisplayProperties::TimeEnd, nullptr},
    {L"TimeStart", K::Short, nullptr, &DisplayProperties::TimeStart, nullptr},
    {L"PrimeTimeStart", K::Short, nullptr, &DisplayProperties::PrimeTimeStart, nullptr},
    {L"PrimeTimeEnd", K::Short, nullptr, &DisplayProperties::PrimeTimeEnd, nullptr},
    {L"TimeTextWidth", K::Short, nullptr, &DisplayProperties::TimeTextWidth, nullptr},
    {L"DayColumns", K::Short, nullptr, &DisplayProperties::DayColumns, nullptr},
    {L"HeaderHeight", K::Short, nullptr, &DisplayProperties::HeaderHeight, nullptr},
    {L"Day", K::Short, nullptr, &DisplayProperties::Day, nullptr},
    {L"Month", K::Short, nullptr, &DisplayProperties::Month, nullptr},
    {L"Year", K::Short, nullptr, &DisplayProperties::Year, nullptr},
    {L"MilitaryTime", K::Bool, nullptr, nullptr, &DisplayProperties::MilitaryTime},
    {L"WeekendPrime", K::Bool, nullptr, nullptr, &DisplayProperties::WeekendPrime},
    {L"IncludeAmPm", K::Bool, nullptr, nullptr, &DisplayProperties::IncludeAmPm},
    {L"DayHeader", K::Text, nullptr, nullptr, nullptr},
};
const size_t kPersistentSetSize = sizeof kPersistentSet / sizeof kPersistentSet[0];

}  // namespace septena
