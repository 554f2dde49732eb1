// The settings store's rules on texts.
#include "OptionRules.h"

#include <algorithm>
#include <cctype>

std::string TrimText(const std::string& text)
{
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    size_t first = 0;
    while (first < text.size() && isBlank(text[first]))
        ++first;
    size_t last = text.size();
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

namespace {

int DigitValue(char c, int base)
{
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

}  // namespace

std::optional<int32_t> ParseWholeNumber(const std::string& text)
{
    size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
        negative = text[pos++] == '-';
    int base = 10;
    if (pos < text.size() && text[pos] == '$') {
        base = 16;
        ++pos;
    }
    if (pos == text.size())
        return std::nullopt;
    int64_t value = 0;
    for (; pos < text.size(); ++pos) {
        int digit = DigitValue(text[pos], base);
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
        if (value > int64_t(INT32_MAX) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

std::string IntervalTextFromStored(const std::string& stored)
{
    int32_t number = ParseWholeNumber(stored).value_or(-1);
    return number == -1 ? "10" : std::to_string(number);
}

SoundChoice SoundChoiceFromStored(const std::string& stored)
{
    if (stored.empty() || stored == kSoundDefault)
        return SoundChoice::UseDefault;
    if (stored == kSoundNone)
        return SoundChoice::NoSound;
    return SoundChoice::Custom;
}

bool SwitchFromStored(const std::string& stored)
{
    return stored != "false";
}

std::string FileNameExtension(const std::string& fileName)
{
    size_t dot = fileName.find_last_of(".\\:");
    if (dot == std::string::npos || fileName[dot] != '.')
        return std::string();
    return fileName.substr(dot);
}

SoundToSave ChooseSoundToSave(bool noSound, bool useDefault, const std::string& fileName)
{
    if (noSound)
        return {kSoundNone, false};
    if (useDefault)
        return {kSoundDefault, false};
    std::string extension = FileNameExtension(fileName);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".wav")
        return {kSoundCustom, true};
    return {kSoundDefault, false};
}

uint32_t CheckPeriodMs(const std::string& intervalText)
{
    int64_t minutes = ParseWholeNumber(intervalText).value_or(0);
    if (minutes <= 0)
        return 0;
    int64_t ms = minutes * 60000;
    return static_cast<uint32_t>(std::min<int64_t>(ms, kLongestTimerPeriodMs));
}

IntervalVerdict JudgeInterval(const std::string& boxText)
{
    std::optional<int32_t> number = ParseWholeNumber(TrimText(boxText));
    if (!number)
        return IntervalVerdict::NotANumber;
    return *number == 0 ? IntervalVerdict::Zero : IntervalVerdict::Valid;
}

std::string NotAnIntegerMessage(const std::string& text)
{
    return "'" + text + "' is not a valid integer value";
}

bool IsAcceptableFileName(const std::string& fileName)
{
    for (unsigned char c : fileName) {
        if (c < 32 || c == '<' || c == '>' || c == '"' || c == '|' || c == '*' || c == '?')
            return false;
    }
    return true;
}

std::string InvalidFileNameMessage(const std::string& fileName)
{
    return "Invalid file name - " + fileName;
}

std::string DirectoryOf(const std::string& path)
{
    size_t end = path.find_last_of("\\:");
    return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

ConnectionSecurity SecurityFromStored(const std::string& stored)
{
    return SecurityFromName(stored).value_or(ConnectionSecurity::None);
}

int32_t PortFromStored(const std::string& stored, ConnectionSecurity security)
{
    std::string digits = TrimText(stored);
    int32_t port = 0;
    bool valid = !digits.empty() && digits.size() <= 5;
    for (char c : digits) {
        valid = valid && c >= '0' && c <= '9';
        port = valid ? port * 10 + (c - '0') : 0;
    }
    return valid && port >= 1 && port <= 65535 ? port : DefaultPort(security);
}

std::string PortTextAfterChoice(const std::string& boxText, ConnectionSecurity chosen)
{
    std::string text = TrimText(boxText);
    std::string wanted = std::to_string(DefaultPort(chosen));
    bool standard = false;
    for (ConnectionSecurity other :
         {ConnectionSecurity::None, ConnectionSecurity::Ssl, ConnectionSecurity::StartTls})
        standard = standard || text == std::to_string(DefaultPort(other));
    return text.empty() || standard ? wanted : boxText;
}
