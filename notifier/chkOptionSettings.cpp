// The settings store: registry values through the options dialog's controls into CurOption,
// and back; the main window's timers follow the loaded and saved switches.
#include "Options.h"
#include "OptionRules.h"
#include "SettingsRegistry.h"
#include "chkOptionUnit.h"

TJOption CurOption;
std::string ExeDir;
std::string ShortDateFormat;

void TformOption::LoadEditValue(HWND edit, const char* name)
{
    std::string text = RegReadString(kSettingsKey, name);
    if (!TrimText(text).empty())
        SetWindowTextA(edit, text.c_str());
}

void TformOption::SaveEditValue(HWND edit, const char* name)
{
    RegWriteString(kSettingsKey, name, TrimText(WindowText(edit)));
}

void TformOption::LoadSettings()
{
    std::string interval = IntervalTextFromStored(RegReadString(kSettingsKey, kValueInterval));
    SetWindowTextA(editInterval, interval.c_str());
    CurOption.CheckInterval = interval;

    std::string sound = RegReadString(kSettingsKey, kValueSound);
    SoundChoice choice = SoundChoiceFromStored(sound);
    SetTicked(rdoUseDefault, choice == SoundChoice::UseDefault);
    SetTicked(rdoNoSound, choice == SoundChoice::NoSound);
    SetTicked(rdoCustomSound, choice == SoundChoice::Custom);
    rdoCustomSoundClick();
    if (choice == SoundChoice::Custom) {
        SetFileName(RegReadString(kSettingsKey, kValueCustomSoundFile));
        CurOption.CustomSoundFile = FileName();
    }
    CurOption.SoundMode = sound;

    SetTicked(chkUseAnim, SwitchFromStored(RegReadString(kSettingsKey, kValueUseAnimation)));
    CurOption.UseAnimation = IsTicked(chkUseAnim);
    SetTicked(chkUseAlarm, SwitchFromStored(RegReadString(kSettingsKey, kValueUseAlarm)));
    CurOption.UseAlarm = IsTicked(chkUseAlarm);
    if (timers.timerAlarm)
        timers.timerAlarm->SetEnabled(CurOption.UseAlarm);

    LoadEditValue(editAccount, kValueAccount);
    LoadEditValue(editPassword, kValuePassword);
    LoadEditValue(editPop, kValuePop);
    CurOption.Account = WindowText(editAccount);
    CurOption.Password = WindowText(editPassword);
    CurOption.PopServer = WindowText(editPop);
    CurOption.Configured =
        !CurOption.Account.empty() && !CurOption.Password.empty() && !CurOption.PopServer.empty();

    if (CurOption.Configured && timers.Timer1) {
        timers.Timer1->SetInterval(CheckPeriodMs(CurOption.CheckInterval));
        timers.Timer1->SetEnabled(true);
    }
}

void TformOption::SaveSettings()
{
    SaveEditValue(editInterval, kValueInterval);
    CurOption.CheckInterval = WindowText(editInterval);

    std::string fileName = FileName();
    SoundToSave sound = ChooseSoundToSave(IsTicked(rdoNoSound), IsTicked(rdoUseDefault), fileName);
    if (sound.storeFileName) {
        RegWriteString(kSettingsKey, kValueCustomSoundFile, fileName);
        CurOption.CustomSoundFile = fileName;
    }
    RegWriteString(kSettingsKey, kValueSound, sound.soundText);
    CurOption.SoundMode = sound.soundText;

    std::string animation = SwitchText(IsTicked(chkUseAnim));
    RegWriteString(kSettingsKey, kValueUseAnimation, animation);
    CurOption.UseAnimation = animation == "true";
    std::string alarm = SwitchText(IsTicked(chkUseAlarm));
    RegWriteString(kSettingsKey, kValueUseAlarm, alarm);
    CurOption.UseAlarm = alarm == "true";
    if (timers.timerAlarm)
        timers.timerAlarm->SetEnabled(CurOption.UseAlarm);

    SaveEditValue(editAccount, kValueAccount);
    SaveEditValue(editPassword, kValuePassword);
    SaveEditValue(editPop, kValuePop);
    CurOption.Account = WindowText(editAccount);
    CurOption.Password = WindowText(editPassword);
    CurOption.PopServer = WindowText(editPop);
}
