// The week view's appointments: records in insertion order, 1-based at the interface.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace weekview {

struct Appointment {
    int16_t startTime = 0;
    int16_t endTime = 0;
    int32_t startDate = 0;
    int32_t endDate = 0;
    std::string key;  // empty when the caller gave none
};

// Absolute minute of a date and time, wide enough for every serial.
inline int64_t AbsoluteMinute(int32_t date, int16_t time)
{
    return int64_t{date} * 1440 + time;
}

// A record with the given ends, exchanged when the end lies before the start.
Appointment NormalisedRange(int16_t startTime, int32_t startDate, int16_t endTime, int32_t endDate);

// The four single-field setters; each keeps the start no later than the end.
void SetTimeStart(Appointment& a, int16_t time);
void SetTimeEnd(Appointment& a, int16_t time);
void SetDateStart(Appointment& a, int32_t date);
void SetDateEnd(Appointment& a, int32_t date);

class AppointmentList {
public:
    static constexpr int kMaxAppointments = 32000;

    int16_t Count() const { return static_cast<int16_t>(records_.size()); }
    bool Full() const { return records_.size() >= kMaxAppointments; }

    // True when the 1-based index names an appointment.
    bool ValidIndex(int nIndex) const { return nIndex >= 1 && nIndex <= Count(); }

    // Appends a record (the caller checks Full first); returns its 1-based index.
    int16_t Append(Appointment record);
    void Remove(int nIndex);
    void Clear() { records_.clear(); }

    // 1-based index of the first record whose key equals the bytes given, 0 if none.
    int16_t FindKey(const std::string& key) const;

    const Appointment& At(int nIndex) const { return records_[nIndex - 1]; }
    Appointment& At(int nIndex) { return records_[nIndex - 1]; }

private:
    std::vector<Appointment> records_;
};

}  // namespace weekview
