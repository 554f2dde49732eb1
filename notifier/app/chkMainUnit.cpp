// The main window: creation, tray pictures, the tray menu's commands, flashing and the message
// of the summary windows.
#include "chkMainUnit.h"

#include "Application.h"
#include "FormWindow.h"
#include "KoreanTexts.h"
#include "Options.h"
#include "chkOptionUnit.h"

#include <string>

namespace {

constexpr UINT kFlashPeriodMs = 1000;
constexpr UINT kAlarmPeriodMs = 60000;
constexpr UINT kAlarmDesignPeriodMs = 3000;
constexpr UINT kCheckDesignPeriodMs = 1000;
constexpr std::uint16_t kTrayFramePeriodMs = 800;

}  // namespace

TformMain::TformMain(TformMainSeams mainSeams)
    : tray1(std::make_unique<TTrayIcon>(mainSeams.shell)),
      PopPort(mainSeams.popPort),
      seams(std::move(mainSeams))
{
    auto showError = [](const std::exception& error) { Application().ShowException(error); };
    Timer1.SetEnabled(false);
    Timer1.SetInterval(kCheckDesignPeriodMs);
    Timer1.SetOnTimer([this](TWindowTimer&) { Timer1Timer(); });
    timerAlarm.SetEnabled(false);
    timerAlarm.SetInterval(kAlarmDesignPeriodMs);
    timerAlarm.SetOnTimer([this](TWindowTimer&) { timerAlarmTimer(); });
    timerForFlash.SetEnabled(false);
    timerForFlash.SetInterval(kFlashPeriodMs);
    timerForFlash.SetOnTimer([this](TWindowTimer&) { timerForFlashTimer(); });
    for (TWindowTimer* timer : {&Timer1, &timerAlarm, &timerForFlash})
        timer->OnError = showError;
    CreateMenu();
    pop1.OnError = showError;
    tray1->SetHint(kHintNoMail);
    tray1->SetInterval(kTrayFramePeriodMs);
    tray1->SetPopupMenu(&pop1);
    tray1->OnError = showError;
    CreateWindowHandle();
    tray1->MainForm = window;
    RunHandler([this] { FormCreate(); });
}

TformMain::~TformMain()
{
    // Summary windows and other owned windows go before the tray icon and the main window.
    DestroyComponents();
    tray1.reset();
    if (window) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
}

void TformMain::CreateMenu()
{
    popCheckNow =
        &pop1.Add("popCheckNow", kMenuCheckNow, [this](TMenuItem&) { popCheckNowClick(); });
    N3 = &pop1.Add("N3", "-");
    O1 = &pop1.Add("O1", kMenuOptions, [this](TMenuItem&) { O1Click(); });
    popEnabled = &pop1.Add("popEnabled", kMenuEnabled, [this](TMenuItem&) { popEnabledClick(); });
    popEnabled->Checked = true;
    N2 = &pop1.Add("N2", "-");
    popExit = &pop1.Add("popExit", kMenuExit, [this](TMenuItem&) { popExitClick(); });
}

void TformMain::CreateWindowHandle()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA existing{};
    if (!GetClassInfoA(instance, kMainWindowClass, &existing)) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &TformMain::WindowRoutine;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kMainWindowClass;
        RegisterClassA(&windowClass);
    }
    window = CreateWindowExA(0, kMainWindowClass, "formMain", WS_POPUP, 0, 0, 0, 0,
                             Application().Handle(), nullptr, instance, this);
}

void TformMain::FormCreate()
{
    timerAlarm.SetInterval(kAlarmPeriodMs);
    ShortDateFormat = "yyyy/mm/dd";
    LoadIcons();
    {
        // Its creation loads the settings and arms the timers.
        TformOption options(TOptionTimers{&Timer1, &timerAlarm});
    }
    if (CurOption.Configured)
        Timer1Timer();
    RunAlarmScan();
}

bool TformMain::LoadIcons()
{
    HMODULE library = LoadLibraryA((ExeDir + kResourceLibrary).c_str());
    TIcon scratch;
    for (int n = 0; n < kTrayPictureCount; ++n) {
        std::string name = "IL1_ICON" + std::to_string(n);
        HICON shared = library ? LoadIconA(library, name.c_str()) : nullptr;
        // The list keeps its own copy; the library's icon dies with the library.
        scratch.SetHandle(shared ? CopyIcon(shared) : nullptr);
        imagelist1.AddIcon(scratch);
    }
    scratch.SetHandle(nullptr);
    if (library)
        FreeLibrary(library);
    imagelist1.GetIcon(0, tray1->Icon());
    return true;
}

void TformMain::popCheckNowClick()
{
    RequestCheck();
}

void TformMain::O1Click()
{
    TformOption options(TOptionTimers{&Timer1, &timerAlarm});
    if (options.ShowModal() == mrOk)
        RequestCheck();
}

void TformMain::popEnabledClick()
{
    popEnabled->Checked = !popEnabled->Checked;
    Timer1.SetEnabled(popEnabled->Checked);
}

void TformMain::popExitClick()
{
    Application().Terminate();
}

void TformMain::EndSession()
{
    popExitClick();
    // The system may end the process as soon as this message returns, before the message loop
    // comes back: no scan may start rewriting the alarm file any more, and the icon leaves the
    // notification area now rather than staying there without a program behind it. Windows
    // are freed when the loop ends, or with the process.
    for (TMainTimer* timer : {&Timer1, &timerAlarm, &timerForFlash})
        timer->SetEnabled(false);
    tray1->SetActive(false);
}

void TformMain::timerAlarmTimer()
{
    RunAlarmScan();
}

void TformMain::timerForFlashTimer()
{
    Application().Flash();
}

int TformMain::SummaryWindowCount() const
{
    return CountComponentsOf("TformSummary");
}

void TformMain::wmCheckFinishFlashTime()
{
    // The summary window that sends the message is still open and counted.
    if (SummaryWindowCount() <= 1)
        timerForFlash.SetEnabled(false);
}

LRESULT CALLBACK TformMain::WindowRoutine(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* form = FormOfWindow<TformMain>(window, message, lParam);
    if (!form)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case kCheckFinishFlashMessage:
            RunHandler([form] { form->wmCheckFinishFlashTime(); });
            return 0;
        case WM_CLOSE:
            // Whoever closes the main window (an installer, a task list) ends the program as
            // the tray menu's exit command does; the window goes with the program, not before.
            RunHandler([form] { form->popExitClick(); });
            return 0;
        case WM_ENDSESSION:
            if (wParam)
                RunHandler([form] { form->EndSession(); });
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
