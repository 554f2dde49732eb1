// The main window's alarm scan: the due reminders of "qAlarm.txt" in a new summary window,
// with the alarm sound and the taskbar flash.
#include "AlarmScan.h"
#include "Application.h"
#include "CheckRules.h"
#include "Exceptions.h"
#include "KoreanTexts.h"
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
    // have a place to be shown. It is shown, or freed unseen, on every path.
    TformSummary* summary = TformSummary::Create(*this, window);
    if (!summary)
        throw Exception(kSummaryNotCreated);
    struct Unshown {
        TformSummary* form;
        ~Unshown()
        {
            if (form)
                form->Free();
        }
    } unshown{summary};
    alarms::Win32AlarmFileStore store(ExeDir + kAlarmFile);
    const alarms::ScanResult result =
        alarms::ScanAlarmFile(store, alarms::LocalNow(), alarms::SystemDateTimeFormat());
    if (result.kind == alarms::ScanResult::Kind::kFailed)
        throw Exception(result.error);
    if (result.due.empty())
        return;
    // The due lines have left the file: the window is shown, also when something fails on
    // the way (that failure still goes to the error box).
    unshown.form = nullptr;
    try {
        for (const alarms::AlarmRow& row : result.due)
            summary->AddRow(row.timeText, row.text);
        timerForFlash.SetEnabled(true);
        PlayAlarmSound();
    } catch (...) {
        summary->Show();
        throw;
    }
    summary->Show();
}

void TformMain::PlayAlarmSound()
{
    // A sound that cannot be played leaves the reminders to be shown in silence.
    try {
        if (HMODULE library = LoadLibraryA((ExeDir + kResourceLibrary).c_str())) {
            struct Loaded {
                HMODULE library;
                ~Loaded() { FreeLibrary(library); }
            } loaded{library};
            PlayWave(kAlarmWave, library, kPlayResource);
        }
    } catch (const std::exception&) {
    }
}

void TformMain::RunAlarmScan()
{
    try {
        CheckAlarms();
    } catch (const std::exception& error) {
        // The error box's modal loop keeps the alarm timer ticking: a scan that finds the box
        // of an earlier one still open does not open another inside it, or each minute would
        // stack one more. The scans go on; the next one after the box reports again.
        if (alarmErrorShown)
            return;
        alarmErrorShown = true;
        struct Closed {
            bool& shown;
            ~Closed() { shown = false; }
        } closed{alarmErrorShown};
        Application().ShowException(error);
    }
}
