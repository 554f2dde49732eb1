// The week view control's appointment methods and indexed appointment properties.
#include "WeekViewControl.h"

namespace weekview {

bool WeekViewControl::CheckIndex(int16_t nIndex)
{
    if (list_.ValidIndex(nIndex))
        return true;
    events_.Error(kErrorIndexOutOfRange, static_cast<int16_t>(nIndex - 1));
    return false;
}

int16_t WeekViewControl::AddRecord(Appointment record)
{
    ClearSelection();
    if (list_.Full()) {
        events_.Error(kErrorAppointmentLimit, 0);
        return 0;
    }
    const int16_t index = list_.Append(std::move(record));
    site_.InvalidateControl();
    return index;
}

int16_t WeekViewControl::AddAppointment(int16_t nStartTime, int32_t lStartDate, int16_t nEndTime,
                                        int32_t lEndDate)
{
    return AddRecord(NormalisedRange(nStartTime, lStartDate, nEndTime, lEndDate));
}

int16_t WeekViewControl::AddKeyAppointment(int16_t nStartTime, int32_t lStartDate, int16_t nEndTime,
                                           int32_t lEndDate, const std::string& cKeyID)
{
    Appointment record = NormalisedRange(nStartTime, lStartDate, nEndTime, lEndDate);
    record.key = cKeyID;
    return AddRecord(std::move(record));
}

bool WeekViewControl::DeleteAppointment(int16_t nIndex)
{
    if (!CheckIndex(nIndex))
        return false;
    // Erase before the selection is cleared: clearing fires TimeSelect, and a
    // handler may change the list, so nothing may use the index after it.
    list_.Remove(nIndex);
    ClearSelection();
    site_.InvalidateControl();
    return true;
}

bool WeekViewControl::DeleteKeyAppointment(const std::string& cKeyID)
{
    const int16_t index = list_.FindKey(cKeyID);
    return index != 0 && DeleteAppointment(index);
}

int16_t WeekViewControl::KeyValue(const std::string& cKeyID) const
{
    return list_.FindKey(cKeyID);
}

void WeekViewControl::ClearAppointments()
{
    list_.Clear();
    firstRow_ = 0;
    visibleRows_ = 0;
    site_.InvalidateControl();
}

bool WeekViewControl::MoveKeyAppointment(int16_t nStartTime, int32_t lStartDate, int16_t nEndTime,
                                         int32_t lEndDate, const std::string& cKeyID)
{
    const int16_t index = list_.FindKey(cKeyID);
    if (index == 0)
        return false;
    Appointment& a = list_.At(index);
    const Appointment moved = NormalisedRange(nStartTime, lStartDate, nEndTime, lEndDate);
    a.startTime = moved.startTime;
    a.startDate = moved.startDate;
    a.endTime = moved.endTime;
    a.endDate = moved.endDate;
    return true;
}

std::string WeekViewControl::GetAppointKeyID(int16_t nIndex)
{
    return CheckIndex(nIndex) ? list_.At(nIndex).key : std::string();
}

void WeekViewControl::SetAppointKeyID(int16_t nIndex, const std::string& value)
{
    if (CheckIndex(nIndex))
        list_.At(nIndex).key = value;
}

int16_t WeekViewControl::GetAppointTimeStart(int16_t nIndex)
{
    return CheckIndex(nIndex) ? list_.At(nIndex).startTime : int16_t{0};
}

int16_t WeekViewControl::GetAppointTimeEnd(int16_t nIndex)
{
    return CheckIndex(nIndex) ? list_.At(nIndex).endTime : int16_t{0};
}

int32_t WeekViewControl::GetAppointDateStart(int16_t nIndex)
{
    return CheckIndex(nIndex) ? list_.At(nIndex).startDate : 0;
}

int32_t WeekViewControl::GetAppointDateEnd(int16_t nIndex)
{
    return CheckIndex(nIndex) ? list_.At(nIndex).endDate : 0;
}

void WeekViewControl::UpdateAppointment(int16_t nIndex, void (*rule)(Appointment&, int16_t),
                                        int16_t value)
{
    if (!CheckIndex(nIndex))
        return;
    rule(list_.At(nIndex), value);
    Changed();
}

void WeekViewControl::UpdateAppointmentDate(int16_t nIndex, void (*rule)(Appointment&, int32_t),
                                            int32_t value)
{
    if (!CheckIndex(nIndex))
        return;
    rule(list_.At(nIndex), value);
    Changed();
}

void WeekViewControl::SetAppointTimeStart(int16_t nIndex, int16_t value)
{
    UpdateAppointment(nIndex, weekview::SetTimeStart, value);
}

void WeekViewControl::SetAppointTimeEnd(int16_t nIndex, int16_t value)
{
    UpdateAppointment(nIndex, weekview::SetTimeEnd, value);
}

void WeekViewControl::SetAppointDateStart(int16_t nIndex, int32_t value)
{
    UpdateAppointmentDate(nIndex, weekview::SetDateStart, value);
}

void WeekViewControl::SetAppointDateEnd(int16_t nIndex, int32_t value)
{
    UpdateAppointmentDate(nIndex, weekview::SetDateEnd, value);
}

}  // namespace weekview
