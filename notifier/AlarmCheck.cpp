// The alarm scan on the user-interface thread.
#include "AlarmCheck.h"

#include <mmsystem.h>

#include "AlarmScan.h"
#include "Exceptions.h"
#include "SystemDateTime.h"
#include "Win32AlarmFile.h"
#include "chkSummaryUnit.h"

namespace alarms {
namespace {

void PlayAlarmSound(const std::string& exeDir)
{
    const HMODULE library = LoadLibraryA((exeDir + "Glyphpack.dll").c_str());
    if (!library)
        return;
    PlaySoundA("WAV_WAVE4", library, SND_RESOURCE);
    FreeLibrary(library);
}

}  // namespace

void RunAlarmCheck(HWND owner, const std::string& exeDir, bool useAlarm,
                   const std::function<void()>& startFlash)
{
    if (!useAlarm)
        return;
    // The window exists before the file is touched, so reminders taken from the file always
    // have a place to be shown.
    TformSummary* summary = TformSummary::Create(owner);
    if (!summary)
        throw Exception("The alarm summary window cannot be created");
    Win32AlarmFileStore store(exeDir + "qAlarm.txt");
    const ScanResult result = ScanAlarmFile(store, LocalNow(), SystemDateTimeFormat());
    if (result.kind == ScanResult::Kind::kFailed || result.due.empty()) {
        summary->Free();
        if (result.kind == ScanResult::Kind::kFailed)
            throw Exception(result.error);
        return;
    }
    for (const AlarmRow& row : result.due)
        summary->AddRow(row.timeText, row.text);
    startFlash();
    PlayAlarmSound(exeDir);
    summary->Show();
}

}  // namespace alarms
