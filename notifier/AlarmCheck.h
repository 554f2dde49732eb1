// One alarm scan of the notifier: the due reminders of "qAlarm.txt" shown in a new summary
// window, with the alarm sound and the start of the taskbar flash.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace alarms {

// Scans exeDir + "qAlarm.txt" when useAlarm is on. When reminders fall due: startFlash is
// called, the wave "WAV_WAVE4" of exeDir + "Glyphpack.dll" is played to its end, and a summary
// window owned by owner shows them. Nothing is shown when nothing is due. An unreadable date
// or a file that cannot be opened or written raises Exception with the file left unchanged.
void RunAlarmCheck(HWND owner, const std::string& exeDir, bool useAlarm,
                   const std::function<void()>& startFlash);

}  // namespace alarms
