// The mail check of the main window against scripted POP3 servers: tool-tips, animation frames,
// new-mail sounds (recorded in place of PlaySoundA), LastMailCount over sequences of counts,
// failures, re-entry, the overall deadline; and the main window's tray menu, close and options.
#include "Application.h"
#include "KoreanTexts.h"
#include "OptionRules.h"
#include "Options.h"
#include "Pumping.h"
#include "ScriptedServer.h"
#include "SettingsKey.h"
#include "SettingsRegistry.h"
#include "chkMainUnit.h"
#include "chkOptionUnit.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct ShellCall {
    DWORD message;
    std::string tip;
    bool hasIcon;
};

struct SoundCall {
    std::string sound;
    bool module;
    DWORD flags;
    std::string hintMeanwhile;
};

// Ends a program that should have ended by itself.
VOID CALLBACK EndStillRunning(HWND, UINT, UINT_PTR, DWORD)
{
    ExitProcess(7);
}

std::vector<ScriptStep> Mailbox(int32_t count, const std::string& quitReply = "+OK bye\r\n")
{
    if (count < 0)
        return {SendBytes("-ERR not today\r\n"), CloseConnection()};
    return Join({{SendBytes("+OK ready\r\n")},
                 Answer("+OK\r\n"),
                 Answer("+OK\r\n"),
                 Answer("+OK " + std::to_string(count) + " 4096\r\n"),
                 Answer(quitReply)});
}

class MailCheckTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application().Initialize();
        Application().MessageBoxFunction = [this](HWND, const std::string& text, const std::string&,
                                                  UINT) {
            boxes.push_back(text);
            return IDOK;
        };
        char path[MAX_PATH];
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        ExeDir = DirectoryOf(path);  // Glyphpack.dll lies beside the tests
        HKEY key;
        if (clearServer &&
            RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_ALL_ACCESS, &key) == 0) {
            for (const char* name : {"account", "password", "pop"})
                RegDeleteValueA(key, name);
            RegCloseKey(key);
        }
        CurOption = TJOption{};
        TformMainSeams seams;
        seams.shell = [this](DWORD message, TTrayNotifyData& data) {
            shell.push_back({message, data.szTip, data.hIcon != nullptr});
            if (message == NIM_MODIFY && std::string(data.szTip) == kHintChecking && main &&
                framesWhileChecking < 0)
                framesWhileChecking = main->tray1->Icons().Count();
            return TRUE;
        };
        seams.playSound = [this](const char* sound, HMODULE module, DWORD flags) -> BOOL {
            sounds.push_back({sound ? sound : "", module != nullptr, flags, main->tray1->Hint()});
            if (soundFails)
                throw std::runtime_error("no sound device");
            return TRUE;
        };
        seams.checkDeadlineMs = deadlineMs;
        seams.popPort = startPort;
        main = std::make_unique<TformMain>(seams);
        CurOption.PopServer = "127.0.0.1";
        CurOption.Account = "u";
        CurOption.Password = "p";
        CurOption.SoundMode = "default";
        CurOption.UseAnimation = true;
    }
    void TearDown() override
    {
        main.reset();
        Application().MessageBoxFunction = nullptr;
        // What the options dialog saved goes with the test.
        ClearSettingsKey();
    }
    void Check(const std::vector<ScriptStep>& script)
    {
        ScriptedServer server(script);
        main->PopPort = server.Port();
        main->Timer1Timer();
    }
    // How often the tool-tip changed to hint (frame steps repeat the tip unchanged).
    int HintsShown(const std::string& hint) const
    {
        int shown = 0;
        std::string previous;
        for (const ShellCall& call : shell) {
            shown += call.tip == hint && previous != hint;
            previous = call.tip;
        }
        return shown;
    }

    DWORD deadlineMs = kCheckDeadlineMs;
    int32_t startPort = 110;
    bool clearServer = true;  // no check at start-up
    bool soundFails = false;
    std::unique_ptr<TformMain> main;
    std::vector<ShellCall> shell;
    std::vector<SoundCall> sounds;
    std::vector<std::string> boxes;
    int framesWhileChecking = -1;
};

TEST_F(MailCheckTest, StartShowsTheStillIconWithItsHint)
{
    EXPECT_EQ(main->imagelist1.Count(), 11);
    ASSERT_FALSE(shell.empty());
    EXPECT_EQ(shell.back().message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(shell.back().tip, kHintNoMail);
    EXPECT_TRUE(shell.back().hasIcon);
    // Empty settings: no check at start, the check timer stays off; the menu item is ticked.
    EXPECT_FALSE(main->Timer1.Enabled());
    EXPECT_TRUE(main->popEnabled->Checked);
    EXPECT_EQ(main->Timer1.Interval(), 1000u);
    EXPECT_EQ(main->timerAlarm.Interval(), 60000u);
    EXPECT_EQ(ShortDateFormat, "yyyy/mm/dd");
    EXPECT_EQ(FindWindowA(kMainWindowClass, nullptr), main->Handle());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MailCheckTest, CountSequencesSoundOnlyOnChange)
{
    struct Case {
        std::vector<int32_t> counts;
        int sounds;
        int32_t last;
    };
    const std::vector<Case> cases = {
        {{3, 3}, 1, 3}, {{3, 0, 3}, 1, 3}, {{3, -1, 3}, 1, 3}, {{3, 5}, 2, 5}, {{5, 2}, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.counts));
        main->LastMailCount = 0;
        sounds.clear();
        for (int32_t count : c.counts) {
            framesWhileChecking = -1;
            Check(Mailbox(count));
            EXPECT_EQ(framesWhileChecking, 8);
            std::string hint = count < 0    ? std::string(kHintServerError)
                               : count == 0 ? std::string(kHintNoMail)
                                            : std::to_string(count) + kHintMailSuffix;
            EXPECT_EQ(main->tray1->Hint(), hint);
            EXPECT_EQ(main->tray1->Animated(), count > 0);
            if (count > 0) {
                EXPECT_EQ(main->tray1->Icons().Count(), 2);
            }
        }
        EXPECT_EQ(static_cast<int>(sounds.size()), c.sounds);
        EXPECT_EQ(main->LastMailCount, c.last);
    }
    // The resource sound, played while the tool-tip still says the check runs.
    ASSERT_FALSE(sounds.empty());
    EXPECT_EQ(sounds[0].sound, "WAV_WAVE4");
    EXPECT_TRUE(sounds[0].module);
    EXPECT_EQ(sounds[0].flags, 0x40004u);
    EXPECT_EQ(sounds[0].hintMeanwhile, kHintChecking);
}

TEST_F(MailCheckTest, SoundModesChooseTheirBranch)
{
    struct Case {
        std::string mode;
        std::vector<std::string> played;
        DWORD flags;
    };
    CurOption.CustomSoundFile = "c:\\snd\\ding.wav";
    const std::vector<Case> cases = {
        {"default", {"WAV_WAVE4"}, 0x40004},         {"nosound", {}, 0},
        {"custom", {"c:\\snd\\ding.wav"}, 0x20000},  {"", {"c:\\snd\\ding.wav"}, 0x20000},
        {"Default", {"c:\\snd\\ding.wav"}, 0x20000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        CurOption.SoundMode = c.mode;
        main->LastMailCount = 0;
        sounds.clear();
        Check(Mailbox(4));
        ASSERT_EQ(sounds.size(), c.played.size());
        if (!c.played.empty()) {
            EXPECT_EQ(sounds[0].sound, c.played[0]);
            EXPECT_EQ(sounds[0].flags, c.flags);
        }
        EXPECT_EQ(main->tray1->Hint(), std::string("4") + kHintMailSuffix);
    }
}

TEST_F(MailCheckTest, FailuresGiveTheirErrorAndKeepTheTimer)
{
    main->Timer1.SetEnabled(true);
    const std::vector<std::vector<ScriptStep>> failing = {
        Mailbox(3, "-ERR cannot quit\r\n"),  // a failing Disconnect after a good count
        Join({{SendBytes("+OK\r\n")},
              Answer("+OK\r\n"),
              Answer("-ERR wrong password\r\n"),
              Answer("+OK\r\n")}),
        {CloseConnection()},
    };
    for (const auto& script : failing) {
        Check(script);
        EXPECT_EQ(main->tray1->Hint(), kHintServerError);
        EXPECT_FALSE(main->tray1->Animated());
    }
    // A failure of the connection's protection says so: STLS refused, no TLS where it is due.
    const std::pair<ConnectionSecurity, std::vector<ScriptStep>> unprotected[] = {
        {ConnectionSecurity::StartTls,
         Join({{SendBytes("+OK\r\n")}, Answer("-ERR no TLS\r\n"), Answer("+OK\r\n")})},
        {ConnectionSecurity::Ssl, {SendBytes("+OK\r\n"), Pause(500)}},
    };
    for (const auto& [security, script] : unprotected) {
        CurOption.Security = security;
        Check(script);
        EXPECT_EQ(main->tray1->Hint(), kHintSecurityError);
    }
    CurOption.Security = ConnectionSecurity::None;
    CurOption.PopServer = "";
    main->Timer1Timer();
    EXPECT_EQ(main->tray1->Hint(), kHintServerError);
    EXPECT_TRUE(sounds.empty());
    EXPECT_EQ(main->LastMailCount, 0);
    EXPECT_TRUE(main->Timer1.Enabled());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MailCheckTest, WithoutAnimationTheTrayNeverAnimates)
{
    CurOption.UseAnimation = false;
    framesWhileChecking = -1;
    Check(Mailbox(2));
    EXPECT_FALSE(main->tray1->Animated());
    EXPECT_EQ(main->tray1->Icons().Count(), 0);
    EXPECT_EQ(main->tray1->Hint(), std::string("2") + kHintMailSuffix);
    EXPECT_EQ(sounds.size(), 1u);
}

TEST_F(MailCheckTest, CheckStartedInsideARunningCheckIsSkippedOrFollowsIt)
{
    // The server takes its time with STAT; ticks, and then the menu's check command, arrive
    // meanwhile. Ticks are skipped; the user's command runs once the first check has ended.
    for (bool userAsks : {false, true}) {
        SCOPED_TRACE(userAsks ? "menu command inside" : "ticks inside");
        ScriptedServer slow(Join({{SendBytes("+OK\r\n")},
                                  Answer("+OK\r\n"),
                                  Answer("+OK\r\n"),
                                  {ReadLine(), Pause(600), SendBytes("+OK 1 10\r\n")},
                                  Answer("+OK\r\n")}));
        ScriptedServer next(Mailbox(2));
        shell.clear();
        sounds.clear();
        main->LastMailCount = 0;
        main->PopPort = slow.Port();
        int nestedCalls = 0;
        bool runningInside = false;
        TWindowTimer intruder;
        intruder.SetInterval(150);
        intruder.SetOnTimer([&](TWindowTimer& sender) {
            runningInside = main->CheckRunning();
            if (++nestedCalls < 2) {
                main->Timer1Timer();
                return;
            }
            sender.SetEnabled(false);
            if (userAsks) {
                main->PopPort = next.Port();
                main->popCheckNowClick();
            } else {
                main->Timer1Timer();
            }
        });
        main->Timer1Timer();
        intruder.SetEnabled(false);
        EXPECT_EQ(nestedCalls, 2);
        EXPECT_TRUE(runningInside);
        EXPECT_FALSE(main->CheckRunning());
        EXPECT_EQ(HintsShown(kHintChecking), userAsks ? 2 : 1);
        EXPECT_EQ(HintsShown(kHintServerError), 0);
        EXPECT_EQ(main->tray1->Hint(), std::string(userAsks ? "2" : "1") + kHintMailSuffix);
        EXPECT_EQ(sounds.size(), userAsks ? 2u : 1u);
    }
}

TEST_F(MailCheckTest, TricklingServerEndsAtTheOverallDeadline)
{
    main.reset();
    deadlineMs = 800;
    SetUp();
    std::vector<ScriptStep> trickle;
    for (int i = 0; i < 40; ++i) {
        trickle.push_back(SendBytes("+"));
        trickle.push_back(Pause(200));
    }
    DWORD start = GetTickCount();
    Check(trickle);
    DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(main->tray1->Hint(), kHintServerError);
    EXPECT_GE(elapsed, 700u);
    EXPECT_LT(elapsed, 5000u);
}

TEST_F(MailCheckTest, FailureOutsideTheMailPathStopsTheTimerSilently)
{
    main->Timer1.SetEnabled(true);
    soundFails = true;
    Check(Mailbox(3));
    EXPECT_FALSE(main->Timer1.Enabled());
    EXPECT_TRUE(main->popEnabled->Checked);
    EXPECT_EQ(main->tray1->Hint(), kHintChecking);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MailCheckTest, MenuSwitchTurnsTheCheckTimerOffAndOn)
{
    main->popEnabledClick();
    EXPECT_FALSE(main->popEnabled->Checked);
    EXPECT_FALSE(main->Timer1.Enabled());
    main->popEnabledClick();
    EXPECT_TRUE(main->Timer1.Enabled());
    EXPECT_EQ(main->Timer1.Interval(), 1000u);
}

// The program ends as the tray menu's exit command ends it, whoever asks: the menu, WM_CLOSE
// to the main window (an installer), or the end of the session, after which the system may
// end the process before the message loop comes back. Each case runs in a process of its own
// and reports the last call to the notification area and the timers still running.
TEST_F(MailCheckTest, CloseAndEndOfSessionEndTheProgramLikeTheExitCommand)
{
    struct Case {
        const char* name;
        UINT message;  // 0: the menu's command
        WPARAM wParam;
        bool killedAtOnce;  // the process ends when the message returns
    };
    const Case cases[] = {
        {"exit command", 0, 0, false},
        {"WM_CLOSE", WM_CLOSE, 0, false},
        {"WM_ENDSESSION", WM_ENDSESSION, TRUE, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto end = [&] {
            main->timerAlarm.SetEnabled(true);
            main->timerForFlash.SetEnabled(true);
            if (c.message == 0)
                main->popExit->Click();
            else
                SendMessageA(main->Handle(), c.message, c.wParam, 0);
            if (!c.killedAtOnce) {
                // A program that goes on running is ended by force after five seconds.
                SetTimer(nullptr, 0, 5000, &EndStillRunning);
                Application().Run();
                main.reset();
            }
            int running = main ? main->timerAlarm.Enabled() + main->timerForFlash.Enabled() : 0;
            std::fprintf(stderr, "tray %lu, timers %d\n",
                         static_cast<unsigned long>(shell.back().message), running);
            std::fflush(stderr);
            ExitProcess(0);
        };
        EXPECT_EXIT(end(), ::testing::ExitedWithCode(0), "tray 2, timers 0");
    }
}

TEST_F(MailCheckTest, CompleteSettingsCheckAtStartAndArmTheTimer)
{
    ScriptedServer server(Mailbox(3));
    for (auto [name, value] : {std::pair{"account", "u"},
                               {"password", "p"},
                               {"pop", "127.0.0.1"},
                               {"interval", "15"},
                               {"sound", "nosound"}})
        RegWriteString(kSettingsKey, name, value);
    main.reset();
    shell.clear();
    startPort = server.Port();
    clearServer = false;
    SetUp();
    EXPECT_EQ(main->tray1->Hint(), std::string("3") + kHintMailSuffix);
    EXPECT_EQ(HintsShown(kHintChecking), 1);
    EXPECT_TRUE(main->Timer1.Enabled());
    EXPECT_EQ(main->Timer1.Interval(), 15u * 60000u);
    EXPECT_TRUE(sounds.empty());
    EXPECT_EQ(main->LastMailCount, 3);
}

TEST_F(MailCheckTest, OptionsDialogChecksOnlyAfterOk)
{
    // Inside the dialog's modal loop: Esc the first time, Enter the second. The key is sent
    // again while the dialog stays open (another program may hold the focus for a moment);
    // a dialog that never answers is closed, so the test fails instead of waiting for ever.
    TWindowTimer driver;
    driver.SetInterval(300);
    WPARAM key = VK_ESCAPE;
    int sent = 0;
    driver.SetOnTimer([&](TWindowTimer&) {
        HWND dialog = FindWindowA("TformOption", nullptr);
        if (dialog == nullptr)
            return;
        if (++sent > 20) {
            PostMessageA(dialog, WM_CLOSE, 0, 0);
            return;
        }
        PostMessageA(GetFocus() ? GetFocus() : dialog, WM_KEYDOWN, key, 0);
    });
    ScriptedServer server(Mailbox(2));
    main->PopPort = server.Port();
    main->O1Click();
    EXPECT_LE(sent, 20) << "the dialog did not take Esc";
    EXPECT_EQ(HintsShown(kHintChecking), 0);
    EXPECT_EQ(main->tray1->Hint(), kHintNoMail);
    // OK saves the dialog's settings (loaded from the empty key), then one check runs.
    key = VK_RETURN;
    sent = 0;
    main->O1Click();
    driver.SetEnabled(false);
    EXPECT_EQ(HintsShown(kHintChecking), 1);
    EXPECT_EQ(main->tray1->Hint(), kHintServerError);  // the saved settings name no server
    EXPECT_TRUE(boxes.empty());
}

// Opening the options dialog loads the settings and OK saves them; neither may move the next
// tick of a timer that already runs as they want it (a reminder kept for the next scan would
// otherwise expire unseen). The tick that fell due before the dialog is still due after it.
TEST_F(MailCheckTest, OptionsDialogKeepsTheAlarmTimersNextTick)
{
    auto tickDue = [] {
        MSG message;
        return PeekMessageA(&message, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE) != FALSE;
    };
    main->timerAlarm.SetOnTimer([](TWindowTimer&) {});
    main->timerAlarm.SetInterval(300);
    main->timerAlarm.SetEnabled(true);
    for (bool ok : {false, true}) {
        SCOPED_TRACE(ok ? "opened and OK" : "opened and cancelled");
        Sleep(400);
        ASSERT_TRUE(tickDue());
        {
            TformOption options(TOptionTimers{&main->Timer1, &main->timerAlarm});
            ok ? options.Button1Click() : options.Button2Click();
        }
        EXPECT_TRUE(main->timerAlarm.Enabled());
        EXPECT_TRUE(tickDue());
    }
    main->timerAlarm.SetEnabled(false);
}

TEST_F(MailCheckTest, FailureEscapingATimerGoesToTheErrorBoxAndTheProgramGoesOn)
{
    int ticks = 0;
    main->timerForFlash.SetOnTimer([&](TWindowTimer&) {
        if (++ticks <= 2)
            throw std::runtime_error("Disk full");
    });
    main->timerForFlash.SetInterval(30);
    main->timerForFlash.SetEnabled(true);
    PumpUntil([&] { return ticks >= 3; }, 3000);
    main->timerForFlash.SetEnabled(false);
    EXPECT_GE(ticks, 3);
    EXPECT_EQ(boxes, (std::vector<std::string>{"Disk full.", "Disk full."}));
}

}  // namespace
