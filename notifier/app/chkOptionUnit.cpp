// The options dialog's window: its controls on two pages, its handlers and its modal loop.
#include "chkOptionUnit.h"

#include "Application.h"
#include "Exceptions.h"
#include "FormWindow.h"
#include "KoreanTexts.h"
#include "MessagePump.h"
#include "OptionRules.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace {

constexpr char kOptionClass[] = "TformOption";
constexpr int kClientWidth = 448;
constexpr int kClientHeight = 284;
constexpr int kFontHeight = 12;

enum ControlId {
    kIdNoSound = 101,
    kIdUseDefault,
    kIdCustomSound,
    kIdBrowse,
    kIdPages,
    kIdSecurity,
};

constexpr char kPageClass[] = "TTabSheet";

// The page's own background, under its labels, radio buttons, check boxes and frames too.
HBRUSH PageBrush()
{
    return GetSysColorBrush(COLOR_BTNFACE);
}

// A page of the page control: it paints the page area in the dialog's face colour, gives its
// controls that same background (labels, radio buttons and check boxes would otherwise stand
// on boxes of their own) and hands its controls' notifications to the dialog.
LRESULT CALLBACK PageRoutine(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
            return SendMessageA(GetParent(window), message, wParam, lParam);
        case WM_ERASEBKGND: {
            RECT area;
            GetClientRect(window, &area);
            FillRect(reinterpret_cast<HDC>(wParam), &area, PageBrush());
            return 1;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            // The system's colours for the control's text, on the page's background.
            DefWindowProcA(window, message, wParam, lParam);
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(PageBrush());
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterOptionClass(WNDPROC routine)
{
    RegisterFormClass(kOptionClass, routine);
    RegisterFormClass(kPageClass, &PageRoutine);
}

}  // namespace

std::string WindowText(HWND window)
{
    int length = GetWindowTextLengthA(window);
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(window, text.data(), length + 1);
    return std::string(text.data());
}

bool IsTicked(HWND button)
{
    return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetTicked(HWND button, bool ticked)
{
    SendMessageA(button, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

TformOption::TformOption(TOptionTimers optionTimers) : timers(optionTimers)
{
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TAB_CLASSES};
    InitCommonControlsEx(&classes);
    RegisterOptionClass(&TformOption::WindowRoutine);
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT frame = CentredFrame(kClientWidth, kClientHeight, style, exStyle);
    window = CreateWindowExA(exStyle, kOptionClass, kOptionCaption, style, frame.left, frame.top,
                             frame.right - frame.left, frame.bottom - frame.top,
                             Application().Handle(), nullptr, GetModuleHandleA(nullptr), this);
    if (!window)
        throw Exception("Error creating window");
    controlParent = window;
    font = CreateFontA(-kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, HANGEUL_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, kFontGulim);
    CreateControls();
    RunHandler([this] { FormCreate(); });
}

TformOption::~TformOption()
{
    if (window) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
        Application().UpdateTaskbarEntry();
    }
    if (font)
        DeleteObject(font);
}

HWND TformOption::AddControl(const char* windowClass, const char* text, DWORD style, int x, int y,
                             int w, int h, int id, DWORD exStyle)
{
    HWND control =
        CreateWindowExA(exStyle, windowClass, text, WS_CHILD | style, x - origin.x, y - origin.y, w,
                        h, controlParent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

void TformOption::CreateControls()
{
    // The page control paints below the controls of its pages, which are its siblings.
    pc1 = AddControl(WC_TABCONTROLA, "", WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 8, 8, 432, 236,
                     kIdPages);
    TCITEMA page{};
    page.mask = TCIF_TEXT;
    page.pszText = const_cast<char*>(kPageGeneral);
    SendMessageA(pc1, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&page));
    page.pszText = const_cast<char*>(kPageServer);
    SendMessageA(pc1, TCM_INSERTITEMA, 1, reinterpret_cast<LPARAM>(&page));
    // The pages cover the page control's display area; their controls are placed in dialog
    // coordinates.
    RECT area;
    GetClientRect(pc1, &area);
    SendMessageA(pc1, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    MapWindowPoints(pc1, window, reinterpret_cast<POINT*>(&area), 2);
    for (HWND* page : {&tsGeneral, &tsServer}) {
        *page = AddControl(kPageClass, "", 0, area.left, area.top, area.right - area.left,
                           area.bottom - area.top, 0, WS_EX_CONTROLPARENT);
        SetWindowPos(*page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    origin = {area.left, area.top};
    controlParent = tsGeneral;
    CreateGeneralPage();
    controlParent = tsServer;
    CreateServerPage();
    controlParent = window;
    origin = {0, 0};
    Button1 = AddControl("BUTTON", kButtonOk, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 282, 252,
                         75, 25, IDOK);
    Button2 = AddControl("BUTTON", kButtonCancel, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 365, 252,
                         75, 25, IDCANCEL);
    SelectPage(0);
}

void TformOption::CreateGeneralPage()
{
    GroupBox1 = AddControl("BUTTON", kGroupPeriod, WS_VISIBLE | BS_GROUPBOX, 20, 38, 408, 50);
    editInterval = AddControl("EDIT", "10", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 36, 58, 56,
                              20, 0, WS_EX_CLIENTEDGE);
    Label1 = AddControl("STATIC", kLabelEveryMinutes, WS_VISIBLE, 100, 61, 200, 16);
    GroupBox2 = AddControl("BUTTON", kGroupEffects, WS_VISIBLE | BS_GROUPBOX, 20, 94, 408, 100);
    rdoNoSound =
        AddControl("BUTTON", kRadioNoSound, WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON,
                   36, 112, 180, 18, kIdNoSound);
    rdoUseDefault = AddControl("BUTTON", kRadioDefaultSound, WS_VISIBLE | BS_AUTORADIOBUTTON, 36,
                               132, 180, 18, kIdUseDefault);
    rdoCustomSound = AddControl("BUTTON", kRadioCustomSound, WS_VISIBLE | BS_AUTORADIOBUTTON, 36,
                                152, 180, 18, kIdCustomSound);
    editFName =
        AddControl("EDIT", "", WS_VISIBLE | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL | WS_DISABLED,
                   52, 170, 336, 20, 0, WS_EX_CLIENTEDGE);
    btnBrowse = AddControl("BUTTON", "...", WS_VISIBLE | WS_TABSTOP | WS_DISABLED, 390, 170, 24, 20,
                           kIdBrowse);
    chkUseAnim = AddControl("BUTTON", kCheckAnimation, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                            240, 112, 170, 18);
    GroupBox3 = AddControl("BUTTON", kGroupAlarm, WS_VISIBLE | BS_GROUPBOX, 20, 198, 408, 40);
    chkUseAlarm = AddControl("BUTTON", kCheckAlarm, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 36,
                             214, 170, 18);
    // The frames lie below the controls they hold, so painting a frame never covers them.
    for (HWND frame : {GroupBox1, GroupBox2, GroupBox3})
        SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetTicked(rdoUseDefault, true);
    SetTicked(chkUseAnim, true);
    // The box stays a Unicode window (as the system made it), so it keeps its own painting;
    // typed characters reach the filter as UTF-16 units.
    intervalDefault = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        editInterval, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TformOption::IntervalRoutine)));
    SetWindowLongPtrA(editInterval, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TformOption::CreateServerPage()
{
    Label2 = AddControl("STATIC", kLabelAccount, WS_VISIBLE, 36, 48, 150, 16);
    editAccount = AddControl("EDIT", "", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 190, 45, 220, 20,
                             0, WS_EX_CLIENTEDGE);
    Label3 = AddControl("STATIC", kLabelPassword, WS_VISIBLE, 36, 76, 150, 16);
    editPassword = AddControl("EDIT", "", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_PASSWORD,
                              190, 73, 220, 20, 0, WS_EX_CLIENTEDGE);
    SendMessageA(editPassword, EM_SETPASSWORDCHAR, '*', 0);
    Label5 = AddControl("STATIC", kLabelServer, WS_VISIBLE, 36, 104, 150, 16);
    editPop = AddControl("EDIT", "", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 190, 101, 220, 20, 0,
                         WS_EX_CLIENTEDGE);
    // The protection and the port share a row below the server; the note moved down for it.
    Label6 = AddControl("STATIC", kLabelSecurity, WS_VISIBLE, 36, 132, 150, 16);
    cmbSecurity =
        AddControl("COMBOBOX", "", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 190,
                   128, 110, 100, kIdSecurity);
    for (const char* entry : {kSecurityOff, "SSL/TLS", "STARTTLS"})
        SendMessageA(cmbSecurity, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    SendMessageA(cmbSecurity, CB_SETCURSEL, 0, 0);
    Label7 = AddControl("STATIC", kLabelPort, WS_VISIBLE, 312, 132, 36, 16);
    editPort = AddControl("EDIT", "110", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_NUMBER, 350,
                          129, 60, 20, 0, WS_EX_CLIENTEDGE);
    SendMessageA(editPort, EM_LIMITTEXT, 5, 0);
    Bevel1 = AddControl("STATIC", "", WS_VISIBLE | SS_ETCHEDHORZ, 28, 162, 392, 2);
    std::string note = std::string(kNoteLine1) + "\r\n" + kNoteLine2 + "\r\n\r\n" + kNoteLine4 +
                       "\r\n" + kNoteLine5;
    Label4 = AddControl("STATIC", note.c_str(), WS_VISIBLE, 28, 170, 400, 70);
}

ConnectionSecurity TformOption::ChosenSecurity() const
{
    LRESULT chosen = SendMessageA(cmbSecurity, CB_GETCURSEL, 0, 0);
    if (chosen == static_cast<LRESULT>(ConnectionSecurity::Ssl))
        return ConnectionSecurity::Ssl;
    if (chosen == static_cast<LRESULT>(ConnectionSecurity::StartTls))
        return ConnectionSecurity::StartTls;
    return ConnectionSecurity::None;
}

void TformOption::cmbSecurityChange()
{
    if (!loading)
        NoteChange(cmbSecurity);
    std::string port = PortTextAfterChoice(WindowText(editPort), ChosenSecurity());
    if (port != WindowText(editPort))
        SetWindowTextA(editPort, port.c_str());
}

void TformOption::SelectPage(int page)
{
    activePage = page;
    SendMessageA(pc1, TCM_SETCURSEL, page, 0);
    ShowWindow(tsGeneral, page == 0 ? SW_SHOW : SW_HIDE);
    ShowWindow(tsServer, page == 1 ? SW_SHOW : SW_HIDE);
}

std::string TformOption::FileName() const
{
    return WindowText(editFName);
}

void TformOption::SetFileName(const std::string& name)
{
    if (!IsAcceptableFileName(name))
        throw Exception(InvalidFileNameMessage(name));
    SetWindowTextA(editFName, name.c_str());
}

int TformOption::ShowModal()
{
    modalResult = mrNone;
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    Application().UpdateTaskbarEntry();
    SetFocus(editInterval);
    while (modalResult == mrNone) {
        if (!DispatchNextMessage(window)) {
            // The program is ending: the quit request is left for the main loop.
            modalResult = mrCancel;
            break;
        }
    }
    ShowWindow(window, SW_HIDE);
    Application().UpdateTaskbarEntry();
    return modalResult;
}

void TformOption::FormCreate()
{
    struct LoadOver {
        bool& loading;
        ~LoadOver() { loading = false; }
    } over{loading};
    SelectPage(0);
    LoadSettings();
}

bool TformOption::editIntervalKeyPress(char key)
{
    return (key >= '0' && key <= '9') || key == '\b';
}

void TformOption::rdoCustomSoundClick()
{
    bool custom = IsTicked(rdoCustomSound);
    EnableWindow(editFName, custom);
    EnableWindow(btnBrowse, custom);
}

void TformOption::Button1Click()
{
    std::string text = TrimText(WindowText(editInterval));
    switch (JudgeInterval(text)) {
        case IntervalVerdict::NotANumber:
            throw Exception(NotAnIntegerMessage(text));
        case IntervalVerdict::Zero:
            Application().ShowMessage(kZeroInterval);
            return;
        case IntervalVerdict::Valid:
            break;
    }
    // The file-name box refuses such a name when a load puts it there: storing it would make
    // every later load stop at the sound.
    if (IsTicked(rdoCustomSound) && !IsAcceptableFileName(FileName()))
        throw Exception(InvalidFileNameMessage(FileName()));
    SaveSettings();
    modalResult = mrOk;
}

void TformOption::Button2Click()
{
    modalResult = mrCancel;
}

void TformOption::BrowseSoundFile()
{
    std::string filter = kSoundFilter;
    for (char& c : filter)
        if (c == '|')
            c = '\0';
    filter.push_back('\0');
    char path[MAX_PATH] = {};
    std::string current = FileName();
    if (current.size() < sizeof path)
        current.copy(path, current.size());
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = kSoundFilterIndex;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    if (GetOpenFileNameA(&dialog))
        SetFileName(path);
}

void TformOption::NoteChange(HWND control)
{
    std::array<HWND, 4> sound = SoundControls();
    if (std::find(sound.begin(), sound.end(), control) == sound.end()) {
        Settle(control);
        return;
    }
    for (HWND soundControl : sound)
        Settle(soundControl);
}

void TformOption::OnCommand(int id, int code, HWND control)
{
    if (!loading && control && (code == EN_CHANGE || code == BN_CLICKED))
        NoteChange(control);
    switch (id) {
        case IDOK:
            Button1Click();
            break;
        case IDCANCEL:
            Button2Click();
            break;
        case kIdNoSound:
        case kIdUseDefault:
        case kIdCustomSound:
            if (code == BN_CLICKED)
                rdoCustomSoundClick();
            break;
        case kIdBrowse:
            if (code == BN_CLICKED)
                BrowseSoundFile();
            break;
        case kIdSecurity:
            if (code == CBN_SELCHANGE)
                cmbSecurityChange();
            break;
    }
}

LRESULT TformOption::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        case WM_COMMAND:
            RunHandler(
                [&] { OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)); });
            return 0;
        case WM_NOTIFY:
            if (reinterpret_cast<NMHDR*>(lParam)->code == TCN_SELCHANGE)
                SelectPage(static_cast<int>(SendMessageA(pc1, TCM_GETCURSEL, 0, 0)));
            return 0;
        case WM_CLOSE:
            modalResult = mrCancel;
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK TformOption::WindowRoutine(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* form = FormOfWindow<TformOption>(window, message, lParam);
    if (!form || !form->window)
        return DefWindowProcA(window, message, wParam, lParam);
    return form->HandleMessage(message, wParam, lParam);
}

LRESULT CALLBACK TformOption::IntervalRoutine(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam)
{
    auto* form = reinterpret_cast<TformOption*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!form)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_CHAR &&
        (wParam > 0x7F || !form->editIntervalKeyPress(static_cast<char>(wParam))))
        return 0;
    return CallWindowProcW(form->intervalDefault, window, message, wParam, lParam);
}
