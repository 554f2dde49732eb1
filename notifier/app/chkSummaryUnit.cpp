// The alarm summary window.
#include "chkSummaryUnit.h"

#include <commctrl.h>

#include "Application.h"
#include "FormWindow.h"
#include "KoreanTexts.h"
#include "SystemDateTime.h"
#include "chkMainUnit.h"

namespace {

constexpr int kClientWidth = 514;
constexpr int kClientHeight = 232;
constexpr int kFontHeight = 12;
constexpr int kTimeColumnWidth = 140;
constexpr int kTextColumnWidth = 357;
constexpr RECT kImage1 = {8, 8, 40, 40};
constexpr RECT kLabel1 = {52, 18, 112, 32};
constexpr RECT kLabel2 = {114, 18, 506, 32};
// Inside its sunken edge (2 pixels a side) the list is exactly as wide as its two columns, so
// its header ends with the second column.
constexpr RECT kListView1 = {6, 48, 6 + kTimeColumnWidth + kTextColumnWidth + 4, 192};
constexpr RECT kButton1 = {220, 200, 295, 225};

const char kPreviousProcProperty[] = "TformSummary.PreviousProc";

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST;

HINSTANCE Instance()
{
    return GetModuleHandleA(nullptr);
}

// A GDI pen or brush selected into a device context for one drawing step.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), old_(SelectObject(dc, object)) {}
    ~Selected()
    {
        SelectObject(dc_, old_);
        DeleteObject(object_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ object_;
    HGDIOBJ old_;
};

}  // namespace

TformSummary* TformSummary::Create(TComponentOwner& owner, HWND ownerWindow)
{
    if (!RegisterClassOnce())
        return nullptr;
    const RECT frame = CentredFrame(kClientWidth, kClientHeight, kStyle, kExStyle);
    const HWND windowOwner = Application().Handle() ? Application().Handle() : ownerWindow;
    auto* form = new TformSummary(owner, ownerWindow);
    if (!CreateWindowExA(kExStyle, kClassName, kSummaryCaption, kStyle, frame.left, frame.top,
                         frame.right - frame.left, frame.bottom - frame.top, windowOwner, nullptr,
                         Instance(), form)) {
        delete form;  // a window that ended during its creation left the object alone
        return nullptr;
    }
    form->created_ = true;
    return form;
}

TformSummary::TformSummary(TComponentOwner& owner, HWND ownerWindow)
    : owner_(owner), ownerWindow_(ownerWindow)
{
    owner_.InsertComponent(this);
}

// Freed by its owner or by the end of its window, whichever comes first.
TformSummary::~TformSummary()
{
    owner_.RemoveComponent(this);
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
        Application().UpdateTaskbarEntry();
    }
    if (font_)
        DeleteObject(font_);
}

bool TformSummary::RegisterClassOnce()
{
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        return RegisterFormClass(kClassName, WindowProc);
    }();
    return registered;
}

LRESULT CALLBACK TformSummary::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* form = FormOfWindow<TformSummary>(hwnd, message, lParam);
    if (form && message == WM_NCCREATE)
        form->hwnd_ = hwnd;
    if (!form)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // Closing by any means frees the window; the taskbar entry goes with the last one.
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        form->hwnd_ = nullptr;
        if (form->created_)
            delete form;
        const LRESULT result = DefWindowProcA(hwnd, message, wParam, lParam);
        Application().UpdateTaskbarEntry();
        return result;
    }
    return form->HandleMessage(message, wParam, lParam);
}

LRESULT TformSummary::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        case WM_CREATE:
            CreateControls();
            FormCreate();
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        case WM_SETFOCUS:
            SetFocus(button1_);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kSummaryButton1 && HIWORD(wParam) == BN_CLICKED) {
                Button1Click();
                return 0;
            }
            break;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            const HDC dc = BeginPaint(hwnd_, &paint);
            PaintImage1(dc);
            EndPaint(hwnd_, &paint);
            return 0;
        }
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

// Enter in the list or on the button confirms, as the window's default button. The control's
// own routine is kept in a window property (comctl32's subclass helpers are not exported by
// name on every system).
LRESULT CALLBACK TformSummary::EnterKeyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto previous = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kPreviousProcProperty));
    if (message == WM_GETDLGCODE)
        return CallWindowProcA(previous, hwnd, message, wParam, lParam) | DLGC_WANTALLKEYS;
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        PostMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(kSummaryButton1, BN_CLICKED), 0);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(hwnd, kPreviousProcProperty);
    }
    return CallWindowProcA(previous, hwnd, message, wParam, lParam);
}

void TformSummary::ConfirmOnEnter(HWND control)
{
    SetPropA(control, kPreviousProcProperty,
             reinterpret_cast<HANDLE>(GetWindowLongPtrA(control, GWLP_WNDPROC)));
    SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EnterKeyProc));
}

void TformSummary::CreateControls()
{
    font_ = CreateFontA(-kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, HANGUL_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, kFontGulim);
    AddControl("STATIC", kSummaryCurrentTime, SS_LEFT, 0, kLabel1, kSummaryLabel1);
    label2_ = AddControl("STATIC", "", SS_LEFT | SS_NOPREFIX, 0, kLabel2, kSummaryLabel2);
    listView1_ = AddControl(WC_LISTVIEWA, "", LVS_REPORT | LVS_SINGLESEL | WS_TABSTOP,
                            WS_EX_CLIENTEDGE, kListView1, kSummaryListView1);
    button1_ = AddControl("BUTTON", kButtonOk, BS_DEFPUSHBUTTON | WS_TABSTOP, 0, kButton1,
                          kSummaryButton1);
    const struct {
        const char* title;
        int width;
    } columns[] = {{kSummaryTimeColumn, kTimeColumnWidth}, {kSummaryTextColumn, kTextColumnWidth}};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(columns[i].title);
        column.cx = columns[i].width;
        column.iSubItem = i;
        SendMessageA(listView1_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    ConfirmOnEnter(listView1_);
    ConfirmOnEnter(button1_);
}

HWND TformSummary::AddControl(const char* className, const char* text, DWORD style, DWORD exStyle,
                              const RECT& bounds, int id)
{
    const HWND control =
        CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, bounds.left,
                        bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, hwnd_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return control;
}

void TformSummary::FormCreate()
{
    SetWindowTextA(label2_, alarms::ShownDateTime(alarms::LocalNow()).c_str());
}

void TformSummary::AddRow(const std::string& timeText, const std::string& text)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageA(listView1_, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<char*>(timeText.c_str());
    const int row = static_cast<int>(
        SendMessageA(listView1_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    LVITEMA sub = {};
    sub.iSubItem = 1;
    sub.pszText = const_cast<char*>(text.c_str());
    SendMessageA(listView1_, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&sub));
}

void TformSummary::Show()
{
    ShowWindow(hwnd_, SW_SHOW);
    Application().UpdateTaskbarEntry();
}

void TformSummary::Free()
{
    DestroyWindow(hwnd_);
}

void TformSummary::Button1Click()
{
    // The owner counts its summary windows, this one still among them, before it closes.
    SendMessageA(ownerWindow_, kCheckFinishFlashMessage, 0, 0);
    DestroyWindow(hwnd_);
}

// Image1: an alarm clock drawn at the top left.
void TformSummary::PaintImage1(HDC dc) const
{
    const int x = kImage1.left, y = kImage1.top;
    {
        Selected pen(dc, CreatePen(PS_SOLID, 1, RGB(96, 64, 0)));
        Selected brush(dc, CreateSolidBrush(RGB(230, 170, 30)));
        Ellipse(dc, x + 1, y + 1, x + 12, y + 12);   // left bell
        Ellipse(dc, x + 20, y + 1, x + 31, y + 12);  // right bell
        MoveToEx(dc, x + 8, y + 29, nullptr);        // feet
        LineTo(dc, x + 5, y + 32);
        MoveToEx(dc, x + 23, y + 29, nullptr);
        LineTo(dc, x + 26, y + 32);
    }
    {
        Selected pen(dc, CreatePen(PS_SOLID, 2, RGB(160, 30, 30)));
        Selected brush(dc, CreateSolidBrush(RGB(255, 250, 235)));
        Ellipse(dc, x + 3, y + 4, x + 29, y + 30);  // face
    }
    Selected pen(dc, CreatePen(PS_SOLID, 2, RGB(20, 20, 20)));
    MoveToEx(dc, x + 16, y + 17, nullptr);  // hands at ten to two
    LineTo(dc, x + 16, y + 9);
    MoveToEx(dc, x + 16, y + 17, nullptr);
    LineTo(dc, x + 22, y + 20);
}
