// TformOption: the options dialog (check period, sound, animation, alarms, POP3 account) and
// the settings store routines that pass every value through its controls.
#pragma once

#include "MainTimer.h"
#include "OptionRules.h"

#include <windows.h>

#include <array>
#include <set>
#include <string>
#include <utility>

// The main window's timers that a settings load arms and a save adjusts.
struct TOptionTimers {
    TMainTimer* Timer1 = nullptr;
    TMainTimer* timerAlarm = nullptr;
};

// The window's modal results.
constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;

class TformOption {
public:
    // Creates the window hidden and runs FormCreate; a failure of the settings load is shown
    // in the standard error box and the window is still created. The owner window is the
    // program's application window, so the dialog shares its taskbar entry.
    explicit TformOption(TOptionTimers timers);
    ~TformOption();
    TformOption(const TformOption&) = delete;
    TformOption& operator=(const TformOption&) = delete;

    // Shows the dialog modally until OK, Cancel or the close box ends it; the modal result.
    int ShowModal();
    int ModalResult() const { return modalResult; }
    HWND Handle() const { return window; }

    // The settings store (registry to controls to CurOption, and back).
    void LoadSettings();
    void SaveSettings();
    void LoadEditValue(HWND edit, const char* name);
    void SaveEditValue(HWND edit, const char* name);
    // The connection's protection and port ("security", "port"), after the server boxes.
    void LoadSecurity();
    void SaveSecurity();

    // Handlers.
    void FormCreate();
    // True when the typed character may enter the interval box.
    bool editIntervalKeyPress(char key);
    void rdoCustomSoundClick();
    void Button1Click();
    void Button2Click();
    void BrowseSoundFile();
    void cmbSecurityChange();
    ConnectionSecurity ChosenSecurity() const;

    // Controls.
    HWND pc1 = nullptr, tsGeneral = nullptr, tsServer = nullptr;
    HWND GroupBox1 = nullptr, editInterval = nullptr, Label1 = nullptr;
    HWND GroupBox2 = nullptr, rdoNoSound = nullptr, rdoUseDefault = nullptr,
         rdoCustomSound = nullptr;
    HWND editFName = nullptr, btnBrowse = nullptr, chkUseAnim = nullptr;
    HWND GroupBox3 = nullptr, chkUseAlarm = nullptr;
    HWND Label2 = nullptr, editAccount = nullptr, Label3 = nullptr, editPassword = nullptr;
    HWND Label5 = nullptr, editPop = nullptr, Bevel1 = nullptr, Label4 = nullptr;
    HWND Button1 = nullptr, Button2 = nullptr;
    // The connection's protection (entries in ConnectionSecurity's order) and the port.
    HWND Label6 = nullptr, cmbSecurity = nullptr, Label7 = nullptr, editPort = nullptr;

    // Page 0 is tsGeneral, page 1 tsServer.
    void SelectPage(int page);
    int ActivePage() const { return activePage; }

    // The file-name box: the text it gives back; setting a name no file can have raises
    // "Invalid file name - %s".
    std::string FileName() const;
    void SetFileName(const std::string& name);

    // The browse dialog's filter and its starting entry.
    static constexpr char kSoundFilter[] = "All files (*.*)|*.*|wave files (*.wav)|*.wav";
    static constexpr int kSoundFilterIndex = 2;

private:
    static LRESULT CALLBACK WindowRoutine(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK IntervalRoutine(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id, int code, HWND control);
    // A control the user changed: OK stores its value (the sound controls go as one).
    void NoteChange(HWND control);
    void Settle(HWND control) { settled.insert(control); }
    bool Settled(HWND control) const { return settled.count(control) != 0; }
    std::array<std::pair<HWND, const char*>, 3> ServerBoxes() const
    {
        return {
            {{editAccount, kValueAccount}, {editPassword, kValuePassword}, {editPop, kValuePop}}};
    }
    std::array<HWND, 4> SoundControls() const
    {
        return {rdoNoSound, rdoUseDefault, rdoCustomSound, editFName};
    }
    void CreateControls();
    void CreateGeneralPage();
    void CreateServerPage();
    HWND AddControl(const char* windowClass, const char* text, DWORD style, int x, int y, int w,
                    int h, int id = 0, DWORD exStyle = 0);

    TOptionTimers timers;
    HWND window = nullptr;
    HFONT font = nullptr;
    WNDPROC intervalDefault = nullptr;
    // Where AddControl puts the next control, and that parent's place in the dialog.
    HWND controlParent = nullptr;
    POINT origin{0, 0};
    int modalResult = mrNone;
    int activePage = 0;
    // Controls that hold what is stored or what the user entered since. A load that stopped
    // early leaves the later controls at their design values, which OK must not store over
    // the stored ones. Changes are the user's only once the window's creation is over.
    std::set<HWND> settled;
    bool loading = true;
};

// The text of a window (control), in the ANSI code page.
std::string WindowText(HWND window);
bool IsTicked(HWND button);
void SetTicked(HWND button, bool ticked);
