// The week view control: current date and display property setters.
#include "WeekViewControl.h"

namespace weekview {

WeekViewControl::WeekViewControl(ControlSite& site, WeekViewEvents& events)
    : site_(site), events_(events), insets_(BorderInsets(props_.BorderType))
{
    RecomputeDate();
}

void WeekViewControl::Changed()
{
    site_.SetModified();
    site_.InvalidateControl();
}

void WeekViewControl::RecomputeDate()
{
    date_ = DateSerial(props_.Day, props_.Month, props_.Year);
}

void WeekViewControl::SetDay(int16_t value)
{
    props_.Day = ClampDay(value);
    RecomputeDate();
    Changed();
}

void WeekViewControl::SetMonth(int16_t value)
{
    props_.Month = ClampMonth(value);
    RecomputeDate();
    Changed();
}

void WeekViewControl::SetYear(int16_t value)
{
    props_.Year = ClampYear(value);
    RecomputeDate();
    Changed();
}

void WeekViewControl::SetDate(int32_t value)
{
    scratch_ = SerialToDate(value);
    props_.Day = scratch_.day;
    props_.Month = scratch_.month;
    props_.Year = scratch_.year;
    // Equal to the value for every date the properties can name; for serials beyond
    // them it keeps `Date` and the three parts in step.
    RecomputeDate();
    Changed();
}

int16_t WeekViewControl::FindDay(int32_t lDate)
{
    scratch_ = SerialToDate(lDate);
    return scratch_.day;
}

int16_t WeekViewControl::FindMonth(int32_t lDate)
{
    scratch_ = SerialToDate(lDate);
    return scratch_.month;
}

int16_t WeekViewControl::FindYear(int32_t lDate)
{
    scratch_ = SerialToDate(lDate);
    return scratch_.year;
}

void WeekViewControl::FirstDay(int16_t nDay)
{
    const int target = (nDay < 0 ? 0 : nDay > 6 ? 6 : nDay) + 1;
    scratch_ = SerialToDate(date_);
    const int w = WeekdayOf(scratch_.day, scratch_.month, scratch_.year);
    SetDate(date_ + target - w);
}

void WeekViewControl::SetTimeUnits(int32_t value)
{
    if (value < Minutes_5 || value > Minutes_60)
        return;
    ClearSelection();
    savedTopTime_ = GetTopTime();
    restoreTopTime_ = true;
    props_.TimeUnits = static_cast<int16_t>(value);
    Changed();
}

void WeekViewControl::SetTimeType(int32_t value)
{
    if (value != TimeFull && value != TimeSplit)
        return;
    props_.TimeType = static_cast<int16_t>(value);
    Changed();
}

void WeekViewControl::SetBorderType(int32_t value)
{
    if (!IsBorderStyle(value))
        return;
    props_.BorderType = static_cast<int16_t>(value);
    insets_ = BorderInsets(props_.BorderType);
    Changed();
}

void WeekViewControl::SetTimeBorder(int32_t value)
{
    if (!IsBorderStyle(value))
        return;
    props_.TimeBorder = static_cast<int16_t>(value);
    Changed();
}

void WeekViewControl::SetHeaderBorder(int32_t value)
{
    if (!IsBorderStyle(value))
        return;
    props_.HeaderBorder = static_cast<int16_t>(value);
    Changed();
}

void WeekViewControl::SetTimeStart(int16_t value)
{
    props_.TimeStart = ReduceTimeOfDay(value);
    Changed();
}

void WeekViewControl::SetTimeEnd(int16_t value)
{
    props_.TimeEnd = ReduceTimeOfDay(value);
    Changed();
}

void WeekViewControl::SetPrimeTimeStart(int16_t value)
{
    props_.PrimeTimeStart = value;
    Changed();
}

void WeekViewControl::SetPrimeTimeEnd(int16_t value)
{
    props_.PrimeTimeEnd = value;
    Changed();
}

void WeekViewControl::SetTimeTextWidth(int16_t value)
{
    props_.TimeTextWidth = ClampTimeTextWidth(value);
    Changed();
}

void WeekViewControl::SetHeightOffset(int16_t value)
{
    props_.HeightOffset = value;
    Changed();
}

void WeekViewControl::SetHeaderHeight(int16_t value)
{
    props_.HeaderHeight = ClampHeaderHeight(value);
    Changed();
}

void WeekViewControl::SetHeaderYOffset(int16_t value)
{
    props_.HeaderYOffset = value;
    Changed();
}

void WeekViewControl::SetDayColumns(int16_t value)
{
    props_.DayColumns = ClampDayColumns(value);
    Changed();
}

void WeekViewControl::SetDayHeader(const std::string& value)
{
    props_.DayHeader = value;
    Changed();
}

void WeekViewControl::SetMilitaryTime(bool value)
{
    props_.MilitaryTime = value;
    Changed();
}

void WeekViewControl::SetIncludeAmPm(bool value)
{
    props_.IncludeAmPm = value;
    Changed();
}

void WeekViewControl::SetWeekendPrime(bool value)
{
    props_.WeekendPrime = value;
    Changed();
}

void WeekViewControl::SetEnabled(bool value)
{
    props_.Enabled = value;
    Changed();
}

void WeekViewControl::SetColor(OleColor DisplayProperties::*member, OleColor value)
{
    props_.*member = value;
    Changed();
}

void WeekViewControl::LoadProperties(const DisplayProperties& loaded)
{
    props_ = loaded;
    FinishPropertyExchange();
}

void WeekViewControl::FinishPropertyExchange()
{
    visibleRows_ = 0;
    restoreTopTime_ = false;
    firstRow_ = 0;
    savedTopTime_ = 0;
    ClearSelection();
    insets_ = BorderInsets(props_.BorderType);
    RecomputeDate();
    site_.InvalidateControl();
}

void WeekViewControl::ResetProperties()
{
    LoadProperties(DisplayProperties{});
}

}  // namespace weekview
