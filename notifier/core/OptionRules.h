// The settings store's rules on texts: trimming, whole numbers, the stored interval, the sound
// choice and the check period. No system calls.
#pragma once

#include "ConnectionSecurity.h"

#include <cstdint>
#include <optional>
#include <string>

// Registry key of the settings below HKEY_CURRENT_USER, and the value names.
constexpr const char kSettingsKey[] = "software\\tessaly\\Larkbell\\setting";
constexpr const char kValueInterval[] = "interval";
constexpr const char kValueSound[] = "sound";
constexpr const char kValueCustomSoundFile[] = "customsoundfile";
constexpr const char kValueUseAnimation[] = "useanimation";
constexpr const char kValueUseAlarm[] = "usealarm";
constexpr const char kValueAccount[] = "account";
constexpr const char kValuePassword[] = "password";
constexpr const char kValuePop[] = "pop";
// Added later; settings without them check in the clear on port 110, as before.
constexpr const char kValueSecurity[] = "security";
constexpr const char kValuePort[] = "port";

constexpr const char kSoundDefault[] = "default";
constexpr const char kSoundNone[] = "nosound";
constexpr const char kSoundCustom[] = "custom";

// Removes characters with codes up to 32 (spaces and control characters) from both ends.
std::string TrimText(const std::string& text);

// A whole number as the settings and the dialog read it: an optional sign, decimal digits,
// or "$" and hexadecimal digits, within the 32-bit range; nothing else (no blanks).
std::optional<int32_t> ParseWholeNumber(const std::string& text);

// The interval box's text for a stored "interval": the number printed back in decimal, or
// "10" when the text is no whole number or is -1.
std::string IntervalTextFromStored(const std::string& stored);

// The radio button a stored "sound" selects.
enum class SoundChoice { UseDefault, NoSound, Custom };
SoundChoice SoundChoiceFromStored(const std::string& stored);

// A stored switch is on unless its text is exactly "false".
bool SwitchFromStored(const std::string& stored);
inline const char* SwitchText(bool on)
{
    return on ? "true" : "false";
}

// The extension of a file name: from its last dot to the end, provided no backslash or colon
// follows that dot; otherwise empty.
std::string FileNameExtension(const std::string& fileName);

// What the save stores for the sound: the sound text, and whether the file name is stored
// with it (only a custom sound whose file ends in ".wav", any case; any other custom file
// falls back to the default sound).
struct SoundToSave {
    std::string soundText;
    bool storeFileName = false;
};
SoundToSave ChooseSoundToSave(bool noSound, bool useDefault, const std::string& fileName);

// The check timer's period in milliseconds for an interval in minutes. Periods beyond what a
// window timer can hold are cut to its largest period instead of wrapping round 32 bits;
// negative intervals give 0 (the timer never fires), like an interval of 0.
constexpr uint32_t kLongestTimerPeriodMs = 0x7FFFFFFF;
uint32_t CheckPeriodMs(const std::string& intervalText);

// What OK in the options dialog makes of the interval box's text.
enum class IntervalVerdict { Valid, NotANumber, Zero };
IntervalVerdict JudgeInterval(const std::string& boxText);
// "'%s' is not a valid integer value" for the trimmed text.
std::string NotAnIntegerMessage(const std::string& text);

// A file-name box refuses names no file can have; the message is "Invalid file name - %s".
bool IsAcceptableFileName(const std::string& fileName);
std::string InvalidFileNameMessage(const std::string& fileName);

// The directory part of a path, up to and including its last backslash or colon (empty when
// it has neither).
std::string DirectoryOf(const std::string& path);

// The connection's protection for a stored "security": "ssl" or "starttls"; anything else
// (absent too) is none.
ConnectionSecurity SecurityFromStored(const std::string& stored);
// The port for a stored "port": decimal digits giving 1 to 65535 (blanks around are allowed);
// anything else (absent, empty too) gives the protection's standard port.
int32_t PortFromStored(const std::string& stored, ConnectionSecurity security);
// The port box after the user chose another protection: the chosen form's standard port when
// the box is empty or holds the standard port of another form; otherwise as it was.
std::string PortTextAfterChoice(const std::string& boxText, ConnectionSecurity chosen);
