// One scan of the alarm file: which reminders fall due now, which lines stay for later.
// Portable: the file, the clock and the system's date format come from the caller.
#pragma once

#include <string>
#include <vector>

#include "AlarmDateTime.h"
#include "AlarmFile.h"

namespace alarms {

// Reminders fall due when their moment lies this many days ahead or less (one minute, and
// the stored constant's own rounding).
constexpr double kDueWindowDays = 0.00069444444671;

// One due reminder as the summary window shows it.
struct AlarmRow {
    std::string timeText;  // the date and time exactly as written before the comma
    std::string text;      // the reminder text, trimmed and with its last 8 bytes cut
};

struct ScanResult {
    enum class Kind {
        kNoFile,   // no alarm file: nothing happened
        kEmpty,    // an empty file: left untouched
        kScanned,  // lines decided and the file rewritten with the kept ones
        kFailed,   // an unreadable date or a file failure: the file is unchanged
    };
    Kind kind = Kind::kNoFile;
    std::vector<AlarmRow> due;  // in file order; empty unless kScanned
    std::string error;          // kFailed: the message to show
};

// The lines of a file as read: ended by CR LF, LF or CR; a last line without an ending counts.
std::vector<std::string> SplitLines(const std::string& bytes);

// The shown text: trimmed of bytes with codes up to 32 at both ends, then the last 8 bytes cut.
std::string DisplayText(const std::string& text);

// Decides every line against the clock: due rows in file order, and the kept lines each ended
// by CR LF. False with *error set when a date before a comma cannot be read.
bool DecideLines(const std::string& bytes, const LocalTime& now, const DateTimeFormat& format,
                 std::vector<AlarmRow>* due, std::string* kept, std::string* error);

// One whole scan: opens the file (waiting a little while another program writes it), decides
// its lines, rewrites it with the kept lines and closes it.
ScanResult ScanAlarmFile(AlarmFileStore& store, const LocalTime& now, const DateTimeFormat& format);

}  // namespace alarms
