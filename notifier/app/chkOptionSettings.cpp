// The settings store: registry values through the options dialog's controls into CurOption,
// and back; the main window's timers follow the loaded and saved switches.
#include "Options.h"
#include "OptionRules.h"
#include "SettingsRegistry.h"
#include "chkOptionUnit.h"

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

void TformOption::LoadSecurity()
{
    ConnectionSecurity security = SecurityFromStored(RegReadString(kSettingsKey, kValueSecurity));
    int32_t port = PortFromStored(RegReadString(kSettingsKey, kValuePort), security);
    SendMessageA(cmbSecurity, CB_SETCURSEL, static_cast<WPARAM>(security), 0);
    SetWindowTextA(editPort, std::to_string(port).c_str());
    CurOption.Security = security;
    CurOption.Port = port;
    Settle(cmbSecurity);
    Settle(editPort);
}

// The port is stored as the number it stands for, so a box left empty or holding no port
// stores the protection's standard port.
void TformOption::SaveSecurity()
{
    if (!Settled(cmbSecurity) || !Settled(editPort))
        return;
    ConnectionSecurity security = ChosenSecurity();
    int32_t port = PortFromStored(WindowText(editPort), security);
    RegWriteString(kSettingsKey, kValueSecurity, SecurityName(security));
    RegWriteString(kSettingsKey, kValuePort, std::to_string(port));
    CurOption.Security = security;
    CurOption.Port = port;
}

void TformOption::LoadSettings()
{
    std::string interval = IntervalTextFromStored(RegReadString(kSettingsKey, kValueInterval));
    SetWindowTextA(editInterval, interval.c_str());
    CurOption.CheckInterval = interval;
    Settle(editInterval);

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
    for (HWND control : SoundControls())
        Settle(control);

    SetTicked(chkUseAnim, SwitchFromStored(RegReadString(kSettingsKey, kValueUseAnimation)));
    CurOption.UseAnimation = IsTicked(chkUseAnim);
    Settle(chkUseAnim);
    SetTicked(chkUseAlarm, SwitchFromStored(RegReadString(kSettingsKey, kValueUseAlarm)));
    CurOption.UseAlarm = IsTicked(chkUseAlarm);
    Settle(chkUseAlarm);
    if (timers.timerAlarm)
        timers.timerAlarm->SetEnabled(CurOption.UseAlarm);

    for (auto [edit, name] : ServerBoxes()) {
        LoadEditValue(edit, name);
        Settle(edit);
    }
    CurOption.Account = WindowText(editAccount);
    CurOption.Password = WindowText(editPassword);
    CurOption.PopServer = WindowText(editPop);
    LoadSecurity();
    CurOption.Configured =
        !CurOption.Account.empty() && !CurOption.Password.empty() && !CurOption.PopServer.empty();

    if (CurOption.Configured && timers.Timer1) {
        timers.Timer1->SetInterval(CheckPeriodMs(CurOption.CheckInterval));
        timers.Timer1->SetEnabled(true);
    }
}

// A value is stored only from a control that holds what was loaded or what the user entered
// (after a load that stopped early, the later controls hold their design values).
void TformOption::SaveSettings()
{
    if (Settled(editInterval)) {
        SaveEditValue(editInterval, kValueInterval);
        CurOption.CheckInterval = WindowText(editInterval);
    }

    if (Settled(rdoCustomSound)) {
        std::string fileName = FileName();
        SoundToSave sound =
            ChooseSoundToSave(IsTicked(rdoNoSound), IsTicked(rdoUseDefault), fileName);
        if (sound.storeFileName) {
            RegWriteString(kSettingsKey, kValueCustomSoundFile, fileName);
            CurOption.CustomSoundFile = fileName;
        }
        RegWriteString(kSettingsKey, kValueSound, sound.soundText);
        CurOption.SoundMode = sound.soundText;
    }

    if (Settled(chkUseAnim)) {
        std::string animation = SwitchText(IsTicked(chkUseAnim));
        RegWriteString(kSettingsKey, kValueUseAnimation, animation);
        CurOption.UseAnimation = animation == "true";
    }
    if (Settled(chkUseAlarm)) {
        std::string alarm = SwitchText(IsTicked(chkUseAlarm));
        RegWriteString(kSettingsKey, kValueUseAlarm, alarm);
        CurOption.UseAlarm = alarm == "true";
        if (timers.timerAlarm)
            timers.timerAlarm->SetEnabled(CurOption.UseAlarm);
    }

    for (auto [edit, name] : ServerBoxes()) {
        if (Settled(edit))
            SaveEditValue(edit, name);
    }
    if (Settled(editAccount))
        CurOption.Account = WindowText(editAccount);
    if (Settled(editPassword))
        CurOption.Password = WindowText(editPassword);
    if (Settled(editPop))
        CurOption.PopServer = WindowText(editPop);
    SaveSecurity();
}
