// The alarm file scan.
#include "AlarmScan.h"

#include "KoreanTexts.h"

namespace alarms {
namespace {

// A writer holds the file for an instant; after this many tries the scan reports the file
// busy and the next scan tries again.
constexpr int kBusyTries = 40;
constexpr unsigned kBusyPauseMs = 25;
constexpr size_t kCutBytes = 8;

bool IsBlank(char ch)
{
    return static_cast<unsigned char>(ch) <= 32;
}

ScanResult Failure(std::string message)
{
    ScanResult result;
    result.kind = ScanResult::Kind::kFailed;
    result.error = std::move(message);
    return result;
}

OpenStatus OpenWhenFree(AlarmFileStore& store, std::unique_ptr<AlarmFile>* file)
{
    OpenStatus status = store.Open(file);
    for (int tries = 1; status == OpenStatus::kBusy && tries < kBusyTries; ++tries) {
        store.Pause(kBusyPauseMs);
        status = store.Open(file);
    }
    return status;
}

}  // namespace

std::vector<std::string> SplitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines.push_back(bytes.substr(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.push_back(bytes.substr(start));
    return lines;
}

std::string DisplayText(const std::string& text)
{
    size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    if (last - first <= kCutBytes)
        return std::string();
    return text.substr(first, last - first - kCutBytes);
}

bool DecideLines(const std::string& bytes, const LocalTime& now, const DateTimeFormat& format,
                 std::vector<AlarmRow>* due, std::string* kept, std::string* error)
{
    const Moment nowMoment = MomentOf(now);
    for (const std::string& line : SplitLines(bytes)) {
        const size_t comma = line.find(',');
        if (comma == std::string::npos)
            continue;
        const std::string timeText = line.substr(0, comma);
        Moment moment = 0;
        if (!ReadDateTime(timeText, format, now.year, &moment)) {
            *error = InvalidDateTimeMessage(timeText);
            return false;
        }
        const double days = static_cast<double>(moment - nowMoment) / kMsPerDay;
        if (days >= 0 && days < kDueWindowDays) {
            due->push_back({timeText, DisplayText(line.substr(comma + 1))});
        } else if (days >= 0) {
            kept->append(line);
            kept->append("\r\n");
        }
    }
    return true;
}

ScanResult ScanAlarmFile(AlarmFileStore& store, const LocalTime& now, const DateTimeFormat& format)
{
    std::unique_ptr<AlarmFile> file;
    switch (OpenWhenFree(store, &file)) {
        case OpenStatus::kOpened:
            break;
        case OpenStatus::kMissing:
            return ScanResult();
        case OpenStatus::kBusy:
            return Failure("\"" + store.Path() + "\"" + kAlarmFileBusy);
        case OpenStatus::kFailed:
            return Failure("Cannot open file \"" + store.Path() + "\"");
    }
    std::string bytes;
    if (!file->ReadAll(&bytes))
        return Failure("Cannot read file \"" + store.Path() + "\"");
    ScanResult result;
    if (bytes.empty()) {
        result.kind = ScanResult::Kind::kEmpty;
        return result;
    }
    std::string kept, error;
    if (!DecideLines(bytes, now, format, &result.due, &kept, &error))
        return Failure(error);
    if (!file->Replace(kept))
        return Failure("Cannot write file \"" + store.Path() + "\"");
    result.kind = ScanResult::Kind::kScanned;
    return result;
}

}  // namespace alarms
