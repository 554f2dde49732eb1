// Appointment records: range normalisation, the field setters and key search.
#include "AppointmentList.h"

namespace weekview {

Appointment NormalisedRange(int16_t startTime, int32_t startDate, int16_t endTime, int32_t endDate)
{
    Appointment a;
    const bool inOrder = endDate > startDate || (endDate == startDate && endTime >= startTime);
    if (inOrder) {
        a.startTime = startTime;
        a.startDate = startDate;
        a.endTime = endTime;
        a.endDate = endDate;
    } else {
        a.startTime = endTime;
        a.startDate = endDate;
        a.endTime = startTime;
        a.endDate = startDate;
    }
    return a;
}

void SetTimeStart(Appointment& a, int16_t time)
{
    if (AbsoluteMinute(a.endDate, a.endTime) < AbsoluteMinute(a.startDate, time)) {
        a.startTime = a.endTime;
        a.endTime = time;
        const int32_t oldStartDate = a.startDate;
        a.startDate = a.endDate;
        a.endDate = oldStartDate;
    } else {
        a.startTime = time;
    }
}

void SetTimeEnd(Appointment& a, int16_t time)
{
    if (AbsoluteMinute(a.endDate, time) < AbsoluteMinute(a.startDate, a.startTime)) {
        a.endTime = a.startTime;
        a.startTime = time;
        const int32_t oldEndDate = a.endDate;
        a.endDate = a.startDate;
        a.startDate = oldEndDate;
    } else {
        a.endTime = time;
    }
}

void SetDateStart(Appointment& a, int32_t date)
{
    if (AbsoluteMinute(a.endDate, a.endTime) < AbsoluteMinute(date, a.startTime)) {
        const int16_t oldStartTime = a.startTime;
        a.startTime = a.endTime;
        a.startDate = a.endDate;
        a.endTime = oldStartTime;
        a.endDate = date;
    } else {
        a.startDate = date;
    }
}

void SetDateEnd(Appointment& a, int32_t date)
{
    if (AbsoluteMinute(date, a.endTime) < AbsoluteMinute(a.startDate, a.startTime)) {
        const int16_t oldEndTime = a.endTime;
        a.endTime = a.startTime;
        a.endDate = a.startDate;
        a.startTime = oldEndTime;
        a.startDate = date;
    } else {
        a.endDate = date;
    }
}

int16_t AppointmentList::Append(Appointment record)
{
    records_.push_back(std::move(record));
    return Count();
}

void AppointmentList::Remove(int nIndex)
{
    records_.erase(records_.begin() + (nIndex - 1));
}

int16_t AppointmentList::FindKey(const std::string& key) const
{
    for (size_t i = 0; i < records_.size(); ++i) {
        if (records_[i].key == key)
            return static_cast<int16_t>(i + 1);
    }
    return 0;
}

}  // namespace weekview
