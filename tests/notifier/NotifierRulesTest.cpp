// larkbell's portable settings rules: stored settings read back, what a save stores, the check
// period and the interval verdicts. (The decisions of a check on its count are tested with the
// check itself, in MailCheckTest.)
#include "OptionRules.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(OptionRulesTest, StoredIntervalBecomesTheBoxText)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "10"},
        {"abc", "10"},
        {"-1", "10"},
        {"007", "7"},
        {"0", "0"},
        {"15", "15"},
        {" 15", "10"},
        {"15 ", "10"},
        {"$1F", "31"},
        {"-5", "-5"},
        {"+3", "3"},
        {"99999999999", "10"},
        {"2147483647", "2147483647"},
        {"-2147483648", "-2147483648"},
        {"-", "10"},
        {"$", "10"},
    };
    for (const auto& [stored, shown] : cases)
        EXPECT_EQ(IntervalTextFromStored(stored), shown) << "stored '" << stored << "'";
}

TEST(OptionRulesTest, StoredSoundAndSwitches)
{
    EXPECT_EQ(SoundChoiceFromStored(""), SoundChoice::UseDefault);
    EXPECT_EQ(SoundChoiceFromStored("default"), SoundChoice::UseDefault);
    EXPECT_EQ(SoundChoiceFromStored("nosound"), SoundChoice::NoSound);
    EXPECT_EQ(SoundChoiceFromStored("custom"), SoundChoice::Custom);
    EXPECT_EQ(SoundChoiceFromStored("Default"), SoundChoice::Custom);
    for (const char* on : {"", "true", "FALSE", "no", "False", " false"})
        EXPECT_TRUE(SwitchFromStored(on)) << on;
    EXPECT_FALSE(SwitchFromStored("false"));
}

TEST(OptionRulesTest, SaveStoresTheCustomSoundOnlyForWaveFiles)
{
    struct Case {
        bool noSound, useDefault;
        std::string file;
        std::string sound;
        bool storeFile;
    };
    const std::vector<Case> cases = {
        {true, false, "c:\\a.wav", "nosound", false},
        {false, true, "c:\\a.wav", "default", false},
        {false, false, "c:\\snd\\ding.wav", "custom", true},
        {false, false, "c:\\snd\\DING.WAV", "custom", true},
        {false, false, "c:\\snd\\ding.mp3", "default", false},
        {false, false, "c:\\snd.wav\\ding", "default", false},
        {false, false, "c:.wav", "custom", true},
        {false, false, "", "default", false},
    };
    for (const Case& c : cases) {
        SoundToSave save = ChooseSoundToSave(c.noSound, c.useDefault, c.file);
        EXPECT_EQ(save.soundText, c.sound) << c.file;
        EXPECT_EQ(save.storeFileName, c.storeFile) << c.file;
    }
    EXPECT_EQ(FileNameExtension("a.b\\c"), "");
    EXPECT_EQ(FileNameExtension("d:x.y:z"), "");
    EXPECT_EQ(FileNameExtension("x.tar.gz"), ".gz");
}

TEST(OptionRulesTest, StoredSecurityAndPort)
{
    using S = ConnectionSecurity;
    EXPECT_EQ(SecurityFromStored("ssl"), S::Ssl);
    EXPECT_EQ(SecurityFromStored("starttls"), S::StartTls);
    for (const char* other : {"", "none", "SSL", "tls", " ssl"})
        EXPECT_EQ(SecurityFromStored(other), S::None) << other;
    struct Case {
        const char* stored;
        S security;
        int32_t port;
    } cases[] = {
        {"", S::None, 110},           {"", S::Ssl, 995},       {"", S::StartTls, 110},
        {"1110", S::Ssl, 1110},       {" 995 ", S::None, 995}, {"65535", S::None, 65535},
        {"0", S::Ssl, 995},           {"65536", S::None, 110}, {"-5", S::None, 110},
        {"99999999999", S::Ssl, 995}, {"12a", S::None, 110},   {"$6E", S::None, 110},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PortFromStored(c.stored, c.security), c.port) << "'" << c.stored << "'";
    EXPECT_EQ(PortTextAfterChoice("110", S::Ssl), "995");
    EXPECT_EQ(PortTextAfterChoice("995", S::StartTls), "110");
    EXPECT_EQ(PortTextAfterChoice("", S::Ssl), "995");
    EXPECT_EQ(PortTextAfterChoice("110", S::StartTls), "110");
    EXPECT_EQ(PortTextAfterChoice("2110", S::Ssl), "2110") << "a port of the user's own stays";
}

TEST(OptionRulesTest, CheckPeriodNeverWraps)
{
    EXPECT_EQ(CheckPeriodMs("10"), 600000u);
    EXPECT_EQ(CheckPeriodMs("0"), 0u);
    EXPECT_EQ(CheckPeriodMs("-5"), 0u);
    EXPECT_EQ(CheckPeriodMs("35791"), 35791u * 60000u);
    // 35792 minutes is 2 147 520 000 ms: beyond a signed 32-bit period; 71583 minutes wraps
    // an unsigned one to 12 704 ms.
    EXPECT_EQ(CheckPeriodMs("35792"), kLongestTimerPeriodMs);
    EXPECT_EQ(CheckPeriodMs("71583"), kLongestTimerPeriodMs);
    EXPECT_EQ(CheckPeriodMs("2147483647"), kLongestTimerPeriodMs);
}

TEST(OptionRulesTest, IntervalVerdictsAndTrimming)
{
    EXPECT_EQ(JudgeInterval(" 15 "), IntervalVerdict::Valid);
    EXPECT_EQ(JudgeInterval("\t7\r\n"), IntervalVerdict::Valid);
    EXPECT_EQ(JudgeInterval("00"), IntervalVerdict::Zero);
    EXPECT_EQ(JudgeInterval(""), IntervalVerdict::NotANumber);
    EXPECT_EQ(JudgeInterval("1 5"), IntervalVerdict::NotANumber);
    EXPECT_EQ(JudgeInterval("abc"), IntervalVerdict::NotANumber);
    EXPECT_EQ(NotAnIntegerMessage("abc"), "'abc' is not a valid integer value");
    EXPECT_EQ(TrimText(std::string("\x01 a b \x20\x1f", 7)), "a b");
    EXPECT_EQ(TrimText(std::string("\x80x\xa0", 3)), std::string("\x80x\xa0", 3));
    EXPECT_FALSE(IsAcceptableFileName("c:\\a|b.wav"));
    EXPECT_TRUE(IsAcceptableFileName(std::string("c:\\\xc7\xd1.wav")));
}

}  // namespace
