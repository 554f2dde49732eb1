// The main window's alarm scan: the due reminders of "qAlarm.txt" in a new summary window,
// with the alarm sound and the taskbar flash.
#include "AlarmScan.h"
#include "CheckRules.h"
#include "Exceptions.h"
#include "Options.h"
#include "SystemDateTime.h"
#include "Win32AlarmFile.h"
#include "chkMainUnit.h"
#include "chkSummaryUnit.h"

namespace {

constexpr char kAlarmFile[] = "qAlarm.txt";
constexpr char kAlarmWave[] = "WAV_WAVE4";

}  // namespace

void TformMain::CheckAlarms()
{
    if (!CurOption.UseAlarm)
        return;
    // The window exists before the file is touched, so reminders taken from the file always
    // have a place to be shown.
    TformSummary* summary = TformSummary::Create(*this, window);
    if (!summary)
        throw Exception("The alarm summary window cannot be created");
    alarms::Win32AlarmFileStore store(ExeDir + kAlarmFile);
    const alarms::ScanResult result =
        alarms::ScanAlarmFile(store, alarms::LocalNow(), alarms::SystemDateTimeFormat());
    if (result.kind == alarms::ScanResult::Kind::kFailed || result.due.empty()) {
        summary->Free();
        if (result.kind == alarms::ScanResult::Kind::kFailed)
            throw Exception(result.error);
        return;
    }
    for (const alarms::AlarmRow& row : result.due)
        summary->AddRow(row.timeText, row.text);
    timerForFlash.SetEnabled(true);
    if (HMODULE library = LoadLibraryA((ExeDir + kResourceLibrary).c_str())) {
        PlayWave(kAlarmWave, library, kPlayResource);
        FreeLibrary(library);
    }
    summary->Show();
}
