// The settings store against Wine's registry and the options dialog through its real controls:
// stored values loaded into the boxes, CurOption and the timers; typed keys, clicks, the
// validation boxes, saving and Cancel.
#include "Application.h"
#include "KoreanTexts.h"
#include "Options.h"
#include "OptionRules.h"
#include "SettingsKey.h"
#include "SettingsRegistry.h"
#include "chkOptionUnit.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

struct StoredValue {
    DWORD type;
    std::string bytes;
};

class OptionsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application().Initialize();
        Application().SetTitle("tessaly mail checker");
        Application().MessageBoxFunction = [this](HWND, const std::string& text, const std::string&,
                                                  UINT) {
            boxes.push_back(text);
            return IDOK;
        };
        ClearSettingsKey();
        CurOption = TJOption{};
        for (TWindowTimer* timer : {&timer1, &timerAlarm}) {
            timer->SetEnabled(false);
            timer->SetOnTimer([](TWindowTimer&) {});
        }
        timer1.SetInterval(1000);
        timerAlarm.SetInterval(60000);
    }
    void TearDown() override
    {
        Application().MessageBoxFunction = nullptr;
        ClearSettingsKey();
    }
    static void Store(const std::map<std::string, std::string>& values)
    {
        for (const auto& [name, text] : values)
            RegWriteString(kSettingsKey, name, text);
    }
    static std::map<std::string, StoredValue> Stored()
    {
        std::map<std::string, StoredValue> values;
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != 0)
            return values;
        for (DWORD i = 0;; ++i) {
            char name[256];
            BYTE data[1024];
            DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
            if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != 0)
                break;
            values[name] = {type, std::string(reinterpret_cast<char*>(data), dataSize)};
        }
        RegCloseKey(key);
        return values;
    }
    // The dialog stays hidden: its controls answer messages all the same, and showing a
    // window costs seconds under a display without a window manager.
    TformOption* Open()
    {
        form = std::make_unique<TformOption>(TOptionTimers{&timer1, &timerAlarm});
        return form.get();
    }
    static void Click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }
    static void Type(HWND edit, const std::string& keys)
    {
        for (char key : keys)
            SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(key), 1);
    }

    TMainTimer timer1;
    TMainTimer timerAlarm;
    std::unique_ptr<TformOption> form;
    std::vector<std::string> boxes;
};

TEST_F(OptionsDialogTest, EmptyRegistryGivesTheDefaults)
{
    TformOption* f = Open();
    EXPECT_EQ(WindowText(f->editInterval), "10");
    EXPECT_TRUE(IsTicked(f->rdoUseDefault));
    EXPECT_FALSE(IsTicked(f->rdoNoSound) || IsTicked(f->rdoCustomSound));
    EXPECT_FALSE(IsWindowEnabled(f->editFName));
    EXPECT_TRUE(IsWindowEnabled(f->editInterval) && IsWindowEnabled(f->editAccount));
    EXPECT_TRUE(IsTicked(f->chkUseAnim));
    EXPECT_TRUE(IsTicked(f->chkUseAlarm));
    EXPECT_EQ(CurOption.CheckInterval, "10");
    EXPECT_EQ(CurOption.SoundMode, "");
    EXPECT_TRUE(CurOption.UseAnimation && CurOption.UseAlarm);
    EXPECT_FALSE(CurOption.Configured);
    EXPECT_TRUE(timerAlarm.Enabled());
    EXPECT_FALSE(timer1.Enabled());
    EXPECT_EQ(timer1.Interval(), 1000u);
    // Reading never creates the key.
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key), 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(OptionsDialogTest, StoredValuesLoadIntoBoxesRecordAndTimers)
{
    struct Case {
        std::map<std::string, std::string> stored;
        std::string interval;
        bool anim, alarm, configured, timer1On;
        UINT period;
    };
    const std::map<std::string, std::string> server = {
        {"account", "kim"}, {"password", "pw"}, {"pop", "mail.example.com"}};
    auto with = [&](std::map<std::string, std::string> extra) {
        extra.insert(server.begin(), server.end());
        return extra;
    };
    const std::vector<Case> cases = {
        {{{"interval", "abc"}}, "10", true, true, false, false, 1000},
        {{{"interval", "-1"}, {"useanimation", "FALSE"}, {"usealarm", "no"}},
         "10",
         true,
         true,
         false,
         false,
         1000},
        {with({{"interval", "007"}, {"useanimation", "false"}, {"usealarm", "false"}}), "7", false,
         false, true, true, 7 * 60000},
        {with({{"interval", "0"}}), "0", true, true, true, true, 0},
        {with({{"interval", "71583"}}), "71583", true, true, true, true, kLongestTimerPeriodMs},
        {{{"account", "kim"}, {"password", "  "}, {"pop", "p"}},
         "10",
         true,
         true,
         false,
         false,
         1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.interval + (c.configured ? " configured" : ""));
        SetUp();
        Store(c.stored);
        TformOption* f = Open();
        EXPECT_EQ(WindowText(f->editInterval), c.interval);
        EXPECT_EQ(CurOption.CheckInterval, c.interval);
        EXPECT_EQ(CurOption.UseAnimation, c.anim);
        EXPECT_EQ(IsTicked(f->chkUseAnim), c.anim);
        EXPECT_EQ(CurOption.UseAlarm, c.alarm);
        EXPECT_EQ(timerAlarm.Enabled(), c.alarm);
        EXPECT_EQ(CurOption.Configured, c.configured);
        EXPECT_EQ(timer1.Enabled(), c.timer1On);
        EXPECT_EQ(timer1.Interval(), c.period);
        EXPECT_TRUE(boxes.empty());
    }
}

TEST_F(OptionsDialogTest, CustomSoundAndUntrimmedAccount)
{
    Store({{"sound", "custom"}, {"account", " kim "}, {"password", "   "}});
    TformOption* f = Open();
    EXPECT_TRUE(IsTicked(f->rdoCustomSound));
    EXPECT_TRUE(IsWindowEnabled(f->editFName));
    EXPECT_EQ(CurOption.SoundMode, "custom");
    EXPECT_EQ(CurOption.CustomSoundFile, "");
    EXPECT_EQ(CurOption.Account, " kim ");
    EXPECT_EQ(CurOption.Password, "");

    Store({{"sound", "custom"}, {"customsoundfile", "c:\\sounds\\ding.wav"}});
    Open();
    EXPECT_EQ(CurOption.CustomSoundFile, "c:\\sounds\\ding.wav");
}

TEST_F(OptionsDialogTest, ValueOfAnotherTypeStopsTheLoadWithItsMessage)
{
    Store({{"account", "kim"}, {"password", "pw"}, {"pop", "p"}});
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_ALL_ACCESS, &key), 0);
    DWORD number = 1;
    RegSetValueExA(key, "usealarm", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), 4);
    RegCloseKey(key);
    Open();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Invalid data type for 'usealarm'.");
    EXPECT_EQ(CurOption.Account, "");
    EXPECT_FALSE(timer1.Enabled());
    EXPECT_TRUE(CurOption.UseAnimation);

    boxes.clear();
    Store({{"usealarm", "true"}, {"sound", "custom"}, {"customsoundfile", "c:\\a|b.wav"}});
    Open();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Invalid file name - c:\\a|b.wav.");
}

// A load that stopped early leaves the later boxes at their design values. OK then stores
// what was loaded and what the user changed, never those design values over stored ones.
TEST_F(OptionsDialogTest, OkAfterALoadThatStoppedEarlyStoresOnlyWhatWasLoadedOrTyped)
{
    Store({{"interval", "20"},
           {"sound", "custom"},
           {"customsoundfile", "c:\\a|b.wav"},
           {"usealarm", "true"},
           {"account", "kim"},
           {"password", "pw"},
           {"pop", "mail.example.com"}});
    auto before = Stored();
    TformOption* f = Open();
    ASSERT_EQ(boxes.size(), 1u);
    Type(f->editPop, "x");
    Click(f->Button1);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(f->ModalResult(), mrOk);
    auto after = Stored();
    before["pop"].bytes = std::string("x", 2);
    EXPECT_EQ(after.size(), before.size());
    for (const auto& [name, value] : before) {
        EXPECT_EQ(after[name].bytes, value.bytes) << name;
        EXPECT_EQ(after[name].type, value.type) << name;
    }
    EXPECT_EQ(CurOption.PopServer, "x");
    EXPECT_EQ(CurOption.Account, "");
}

TEST_F(OptionsDialogTest, IntervalBoxTakesDigitsAndBackspaceOnly)
{
    TformOption* f = Open();
    SetWindowTextA(f->editInterval, "");
    Type(f->editInterval, "a-x 5");
    EXPECT_EQ(WindowText(f->editInterval), "5");
    Type(f->editInterval, "\b7");
    EXPECT_EQ(WindowText(f->editInterval), "7");
    // A Korean character typed arrives as two bytes; neither passes.
    Type(f->editInterval, "\xc7\xd1");
    EXPECT_EQ(WindowText(f->editInterval), "7");
}

TEST_F(OptionsDialogTest, OkValidatesTheIntervalBeforeSaving)
{
    struct Case {
        std::string text;
        std::string box;
        std::string soundFile;  // typed with the custom sound chosen, when not empty
    };
    const std::vector<Case> cases = {
        {"abc", "'abc' is not a valid integer value.", ""},
        {"", "'' is not a valid integer value.", ""},
        {"00", kZeroInterval, ""},
        {" 1 2 ", "'1 2' is not a valid integer value.", ""},
        // A name the file-name box would refuse at the next load is refused now.
        {"10", "Invalid file name - c:\\a|b.wav.", "c:\\a|b.wav"},
        {"10", "Invalid file name - c:\\\tbell.wav.", "c:\\\tbell.wav"},
    };
    TformOption* f = Open();
    for (const Case& c : cases) {
        boxes.clear();
        SetWindowTextA(f->editInterval, c.text.c_str());
        if (!c.soundFile.empty()) {
            Click(f->rdoCustomSound);
            SetWindowTextA(f->editFName, c.soundFile.c_str());
        }
        Click(f->Button1);
        ASSERT_EQ(boxes.size(), 1u) << c.text;
        EXPECT_EQ(boxes[0], c.box);
        EXPECT_EQ(f->ModalResult(), mrNone);
        EXPECT_EQ(WindowText(f->editInterval), c.text);
        EXPECT_TRUE(Stored().empty());
    }
}

TEST_F(OptionsDialogTest, OkSavesTrimmedTextsAndTheSoundChoice)
{
    TformOption* f = Open();
    SetWindowTextA(f->editInterval, "");
    SendMessageA(f->editInterval, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(" 15 "));
    SetWindowTextA(f->editAccount, " kim ");
    SetWindowTextA(f->editPassword, "pw");
    SetWindowTextA(f->editPop, "mail.example.com ");
    Click(f->rdoCustomSound);
    EXPECT_TRUE(IsWindowEnabled(f->editFName));
    SetWindowTextA(f->editFName, "c:\\snd\\bell.mp3");
    Click(f->chkUseAlarm);
    Click(f->Button1);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(f->ModalResult(), mrOk);
    auto stored = Stored();
    EXPECT_EQ(stored["interval"].bytes, std::string("15", 3));
    EXPECT_EQ(stored["interval"].type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored["sound"].bytes, std::string("default", 8));
    EXPECT_EQ(stored.count("customsoundfile"), 0u);
    EXPECT_EQ(stored["account"].bytes, std::string("kim", 4));
    EXPECT_EQ(stored["pop"].bytes, std::string("mail.example.com", 17));
    EXPECT_EQ(stored["usealarm"].bytes, std::string("false", 6));
    EXPECT_EQ(stored["useanimation"].bytes, std::string("true", 5));
    EXPECT_EQ(CurOption.CheckInterval, " 15 ");
    EXPECT_EQ(CurOption.Account, " kim ");
    EXPECT_EQ(CurOption.SoundMode, "default");
    EXPECT_FALSE(timerAlarm.Enabled());
    // The save leaves the check timer alone.
    EXPECT_FALSE(timer1.Enabled());

    f = Open();
    Click(f->rdoCustomSound);
    SetWindowTextA(f->editFName, "c:\\snd\\BELL.WAV");
    Click(f->Button1);
    stored = Stored();
    EXPECT_EQ(stored["sound"].bytes, std::string("custom", 7));
    EXPECT_EQ(stored["customsoundfile"].bytes, std::string("c:\\snd\\BELL.WAV", 16));
    EXPECT_EQ(CurOption.CustomSoundFile, "c:\\snd\\BELL.WAV");
}

TEST_F(OptionsDialogTest, SecurityAndPortLoadFollowTheChoiceAndSave)
{
    auto choose = [](TformOption* f, ConnectionSecurity security) {
        SendMessageA(f->cmbSecurity, CB_SETCURSEL, static_cast<WPARAM>(security), 0);
        SendMessageA(f->Handle(), WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(f->cmbSecurity), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(f->cmbSecurity));
    };
    TformOption* f = Open();
    EXPECT_EQ(SendMessageA(f->cmbSecurity, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(WindowText(f->editPort), "110");
    char entry[32] = "";
    SendMessageA(f->cmbSecurity, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, "SSL/TLS");
    choose(f, ConnectionSecurity::Ssl);
    EXPECT_EQ(WindowText(f->editPort), "995");
    choose(f, ConnectionSecurity::StartTls);
    EXPECT_EQ(WindowText(f->editPort), "110");
    SetWindowTextA(f->editPort, "2110");
    choose(f, ConnectionSecurity::Ssl);
    EXPECT_EQ(WindowText(f->editPort), "2110") << "the user's own port stays";
    Click(f->Button1);
    auto stored = Stored();
    EXPECT_EQ(stored["security"].bytes, std::string("ssl", 4));
    EXPECT_EQ(stored["port"].bytes, std::string("2110", 5));
    EXPECT_EQ(stored["port"].type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(CurOption.Security, ConnectionSecurity::Ssl);
    EXPECT_EQ(CurOption.Port, 2110);

    // Values of other forms load as the standard: an unknown protection is none, a port that
    // is no port is the protection's standard one.
    Store({{"security", "starttls"}, {"port", "none"}});
    f = Open();
    EXPECT_EQ(SendMessageA(f->cmbSecurity, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(WindowText(f->editPort), "110");
    Store({{"security", "SSL"}, {"port", "995"}});
    f = Open();
    EXPECT_EQ(CurOption.Security, ConnectionSecurity::None);
    EXPECT_EQ(CurOption.Port, 995);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(OptionsDialogTest, OtherSoundChoicesDisableTheFileBoxAndSaveNoFile)
{
    Store({{"sound", "custom"}, {"customsoundfile", "c:\\old.wav"}});
    TformOption* f = Open();
    for (HWND radio : {f->rdoNoSound, f->rdoUseDefault}) {
        Click(f->rdoCustomSound);
        EXPECT_TRUE(IsWindowEnabled(f->editFName));
        SetWindowTextA(f->editFName, "c:\\new.wav");
        Click(radio);
        EXPECT_FALSE(IsWindowEnabled(f->editFName));
        EXPECT_EQ(WindowText(f->editFName), "c:\\new.wav");
    }
    Click(f->rdoNoSound);
    Click(f->Button1);
    EXPECT_EQ(Stored()["sound"].bytes, std::string("nosound", 8));
    EXPECT_EQ(Stored()["customsoundfile"].bytes, std::string("c:\\old.wav", 11));
}

TEST_F(OptionsDialogTest, CancelLeavesRegistryAndRecordUnchanged)
{
    Store({{"interval", "20"}, {"account", "kim"}});
    TformOption* f = Open();
    TJOption before = CurOption;
    auto storedBefore = Stored();
    SetWindowTextA(f->editInterval, "30");
    SetWindowTextA(f->editAccount, "lee");
    Click(f->rdoNoSound);
    Click(f->Button2);
    EXPECT_EQ(f->ModalResult(), mrCancel);
    EXPECT_EQ(CurOption.CheckInterval, before.CheckInterval);
    EXPECT_EQ(CurOption.Account, before.Account);
    EXPECT_EQ(CurOption.SoundMode, before.SoundMode);
    auto storedAfter = Stored();
    EXPECT_EQ(storedAfter.size(), storedBefore.size());
    EXPECT_EQ(storedAfter["interval"].bytes, storedBefore["interval"].bytes);
    EXPECT_EQ(storedAfter["account"].bytes, storedBefore["account"].bytes);
}

TEST_F(OptionsDialogTest, ModalDialogLooksRightAndAnswersKeys)
{
    form = std::make_unique<TformOption>(TOptionTimers{&timer1, &timerAlarm});
    HWND dialog = form->Handle();
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, 448);
    EXPECT_EQ(client.bottom, 284);
    EXPECT_EQ(WindowText(dialog), kOptionCaption);
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(form->editInterval, WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, kFontGulim);
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_EQ(font.lfCharSet, HANGEUL_CHARSET);
    EXPECT_EQ(WindowText(form->Button1), kButtonOk);
    EXPECT_FALSE(IsWindowVisible(Application().Handle()));

    // Inside the modal loop: the taskbar entry is there, the interval box has the focus; Esc
    // ends the dialog with Cancel. A second run: Enter in the box means OK.
    bool entryShown = false;
    HWND focus = nullptr;
    TWindowTimer driver;
    driver.SetInterval(200);
    WPARAM key = VK_ESCAPE;
    driver.SetOnTimer([&](TWindowTimer& sender) {
        sender.SetEnabled(false);
        entryShown = IsWindowVisible(Application().Handle()) != FALSE;
        focus = GetFocus();
        PostMessageA(form->editInterval, WM_KEYDOWN, key, 0);
    });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_TRUE(entryShown);
    EXPECT_EQ(focus, form->editInterval);
    EXPECT_FALSE(IsWindowVisible(Application().Handle()));
    EXPECT_TRUE(Stored().empty());

    key = VK_RETURN;
    driver.SetEnabled(true);
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(Stored()["interval"].bytes, std::string("10", 3));
}

}  // namespace
