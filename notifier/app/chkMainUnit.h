// TformMain: the hidden main window of larkbell. It owns the tray icon, its menu, the three
// timers and the image list of tray pictures; it runs the mail check and the alarm scan.
#pragma once

#include "CheckRules.h"
#include "Component.h"
#include "ImageList.h"
#include "PopupMenu.h"
#include "TrayIcon.h"
#include "MainTimer.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

// The single-instance marker: the main window's class.
constexpr char kMainWindowClass[] = "tessalymail!";
// Sent by a summary window to the main window when its OK button is pressed.
constexpr UINT kCheckFinishFlashMessage = WM_USER + 101;  // 1125
// The resource library beside the program, and its tray pictures.
constexpr char kResourceLibrary[] = "Glyphpack.dll";
constexpr int kTrayPictureCount = 11;
// One check ends as a whole within this time, however slowly a server answers.
constexpr DWORD kCheckDeadlineMs = 60000;

// What the main window asks of the system, replaceable for tests and diagnostics.
struct TformMainSeams {
    // Shell_NotifyIconA when empty.
    TTrayIcon::TShellNotify shell;
    // PlaySoundA when empty.
    std::function<BOOL(const char* sound, HMODULE module, DWORD flags)> playSound;
    // The POP3 port of the checks (TformMain::PopPort); 0: the port of the settings.
    int32_t popPort = 0;
    DWORD checkDeadlineMs = kCheckDeadlineMs;
};

class TformMain : public TComponentOwner {
public:
    // Creates the window (class "tessalymail!", never shown) and runs FormCreate; a failure
    // inside FormCreate is shown in the standard error box and the window still exists.
    explicit TformMain(TformMainSeams seams = {});
    ~TformMain() override;

    HWND Handle() const { return window; }

    // Components (the menu before the tray icon that references it).
    TPopupMenu pop1;
    TMenuItem* popCheckNow = nullptr;
    TMenuItem* N3 = nullptr;
    TMenuItem* O1 = nullptr;
    TMenuItem* popEnabled = nullptr;
    TMenuItem* N2 = nullptr;
    TMenuItem* popExit = nullptr;
    std::unique_ptr<TTrayIcon> tray1;
    TMainTimer Timer1;
    TImageList imagelist1;
    TMainTimer timerAlarm;
    TMainTimer timerForFlash;

    // The positive count of the last new-mail sound decision.
    int32_t LastMailCount = 0;
    // The port the checks connect to when demonstrations or tests say so; 0: the settings'.
    int32_t PopPort = 0;

    void FormCreate();
    bool LoadIcons();
    // One mail check; skipped when a check is already running (a tick or a menu command
    // dispatched while the first one waits for the network).
    void Timer1Timer();
    // A check the user asked for (the menu's check command, OK in the options dialog): when
    // a check is running it follows that one instead of being skipped.
    void RequestCheck();
    void SetAnimation(AnimationKind kind);
    void CheckAlarms();

    void popCheckNowClick();
    void O1Click();
    void popEnabledClick();
    void popExitClick();
    // The end of the Windows session: the program ends as through popExitClick, and what
    // must not outlive it goes at once (see chkMainUnit.cpp).
    void EndSession();
    void timerAlarmTimer();
    void timerForFlashTimer();
    void wmCheckFinishFlashTime();
    // Summary windows among the owned components.
    int SummaryWindowCount() const;

    bool CheckRunning() const { return checkRunning; }

private:
    static LRESULT CALLBACK WindowRoutine(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void CreateWindowHandle();
    void CreateMenu();
    void CheckOnce();
    int32_t CountMessages();
    void PlayNewMailSound();
    void PlayAlarmSound();
    // CheckAlarms with its failure in the error box, at most one such box at a time.
    void RunAlarmScan();
    BOOL PlayWave(const char* sound, HMODULE module, DWORD flags);

    TformMainSeams seams;
    HWND window = nullptr;
    bool checkRunning = false;
    bool checkRequested = false;
    bool alarmErrorShown = false;
};
