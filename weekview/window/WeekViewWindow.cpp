// The week view's child window class.
#include "WeekViewWindow.h"

#include <windowsx.h>

#include "GdiObjects.h"

namespace weekview {
namespace {

// Button and shift masks as the stock mouse events report them.
constexpr int16_t kLeftButton = 1;
constexpr int16_t kRightButton = 2;
constexpr int16_t kMiddleButton = 4;

int16_t ButtonsOf(WPARAM keys)
{
    int16_t buttons = 0;
    if (keys & MK_LBUTTON)
        buttons |= kLeftButton;
    if (keys & MK_RBUTTON)
        buttons |= kRightButton;
    if (keys & MK_MBUTTON)
        buttons |= kMiddleButton;
    return buttons;
}

int16_t ShiftOf(WPARAM keys)
{
    int16_t shift = 0;
    if (keys & MK_SHIFT)
        shift |= 1;
    if (keys & MK_CONTROL)
        shift |= 2;
    if (GetKeyState(VK_MENU) < 0)
        shift |= 4;
    return shift;
}

// The module this code is linked into, not the host program.
HINSTANCE OwnModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCSTR>(&OwnModule), &module);
    return module;
}

bool RegisterOnce(HINSTANCE instance, WNDPROC proc)
{
    WNDCLASSA existing;
    if (GetClassInfoA(instance, WeekViewWindow::kClassName, &existing))
        return true;
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = WeekViewWindow::kClassName;
    return RegisterClassA(&wc) != 0;
}

// A disabled control takes no mouse input, like a disabled window.
bool IsMouseButtonMessage(UINT message)
{
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_MOUSEMOVE:
            return true;
        default:
            return false;
    }
}

}  // namespace

WeekViewWindow::WeekViewWindow(WeekViewEvents& listener)
    : listener_(listener),
      control_(*this, listener),
      font_(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)))
{
}

WeekViewWindow::~WeekViewWindow()
{
    if (hwnd_ != nullptr) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool WeekViewWindow::Create(HWND parent, const WeekViewWindowOptions& options)
{
    return Create(parent, options, WS_VISIBLE | WS_VSCROLL | WS_TABSTOP);
}

bool WeekViewWindow::Create(HWND parent, const WeekViewWindowOptions& options, DWORD style)
{
    const HINSTANCE instance = OwnModule();
    if (!RegisterOnce(instance, WindowProc))
        return false;
    runMode_ = options.runMode;
    const RECT& b = options.bounds;
    hwnd_ = CreateWindowExA(
        0, kClassName, "", WS_CHILD | style, b.left, b.top, b.right - b.left, b.bottom - b.top,
        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(options.id)), instance, this);
    return hwnd_ != nullptr;
}

bool WeekViewWindow::UnregisterWindowClass()
{
    return UnregisterClassA(kClassName, OwnModule()) != 0;
}

// A container's draw is a whole picture of the given bounds. While the window
// exists the picture is painted for someone else: a selection repaint pending for
// the window stays for the window's own paint, and the window's rows, scroll bar
// and hit-test layout stay as they are.
bool WeekViewWindow::Draw(HDC dc, const RECT& bounds)
{
    if (hwnd_ == nullptr)
        return PaintPicture(control_, dc, bounds, Context());
    WeekViewControl::PictureScope picture(control_);
    return PaintPicture(control_, dc, bounds, Context());
}

void WeekViewWindow::SetFont(HFONT font)
{
    ShowFonts(font, hourFont_);
    SetModified();
}

void WeekViewWindow::SetHourFont(HFONT font)
{
    ShowFonts(font_, font);
    SetModified();
}

void WeekViewWindow::ShowFonts(HFONT font, HFONT hourFont)
{
    font_ = font != nullptr ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    hourFont_ = hourFont;
    InvalidateControl();
}

void WeekViewWindow::SetRunMode(bool runMode)
{
    runMode_ = runMode;
    InvalidateControl();
}

LRESULT CALLBACK WeekViewWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* self = static_cast<WeekViewWindow*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<WeekViewWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    try {
        return self->Handle(message, wParam, lParam);
    } catch (...) {
        // Nothing escapes into the system's message dispatch; the paint or click is lost.
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

LRESULT WeekViewWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    if (!control_.Properties().Enabled && IsMouseButtonMessage(message))
        return DefWindowProcA(hwnd_, message, wParam, lParam);
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
            OnLeftButtonDown(wParam, x, y);
            return 0;
        case WM_LBUTTONDBLCLK:
            OnLeftButtonDown(wParam, x, y);
            listener_.DblClick();
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(wParam, x, y);
            return 0;
        case WM_LBUTTONUP:
            OnLeftButtonUp(wParam, x, y);
            return 0;
        case WM_RBUTTONDOWN:
            OnRightButtonDown(wParam, x, y);
            return 0;
        case WM_RBUTTONUP:
            listener_.MouseUp(kRightButton, ShiftOf(wParam), x, y);
            return 0;
        case WM_VSCROLL:
            OnVScroll(wParam);
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_SIZE:
            InvalidateControl();
            break;
        case WM_NCDESTROY: {
            const HWND hwnd = hwnd_;
            hwnd_ = nullptr;
            return DefWindowProcA(hwnd, message, wParam, lParam);
        }
        default:
            break;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

Rect WeekViewWindow::ClientRect() const
{
    RECT r{};
    GetClientRect(hwnd_, &r);
    return Rect{r.left, r.top, r.right, r.bottom};
}

PaintContext WeekViewWindow::Context() const
{
    PaintContext pc;
    pc.font = font_;
    pc.hourFont = hourFont_;
    pc.runMode = runMode_;
    pc.hasFocus = hwnd_ != nullptr && GetFocus() == hwnd_;
    return pc;
}

void WeekViewWindow::OnPaint()
{
    const WindowPaint paint(hwnd_);
    // A full repaint that was asked for before a selection change must not be lost
    // to the selection repaint; the full paint shows the selection anyway.
    if (fullPaintPending_ && control_.TakeSelectionRepaint())
        control_.SelectionRepainted();
    fullPaintPending_ = false;
    RECT client{};
    GetClientRect(hwnd_, &client);
    DrawWeekView(control_, paint.Get(), client, Context());
}

void WeekViewWindow::OnLeftButtonDown(WPARAM keys, int x, int y)
{
    SetCapture(hwnd_);
    if (GetFocus() != hwnd_)
        SetFocus(hwnd_);
    control_.Press(x, y, ClientRect());
    listener_.MouseDown(kLeftButton, ShiftOf(keys), x, y);
}

void WeekViewWindow::OnMouseMove(WPARAM keys, int x, int y)
{
    if (GetCapture() == hwnd_ && (keys & MK_LBUTTON))
        control_.Drag(x, y, ClientRect());
    listener_.MouseMove(ButtonsOf(keys), ShiftOf(keys), x, y);
}

void WeekViewWindow::OnLeftButtonUp(WPARAM keys, int x, int y)
{
    const bool captured = GetCapture() == hwnd_;
    ReleaseCapture();
    listener_.MouseUp(kLeftButton, ShiftOf(keys), x, y);
    const Rect client = ClientRect();
    if (captured && x >= client.left && x < client.right && y >= client.top && y < client.bottom)
        listener_.Click();
}

void WeekViewWindow::OnRightButtonDown(WPARAM keys, int x, int y)
{
    control_.RightClickAt(x, y, ClientRect());
    listener_.MouseDown(kRightButton, ShiftOf(keys), x, y);
}

void WeekViewWindow::OnVScroll(WPARAM wParam)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS | SIF_TRACKPOS;
    GetScrollInfo(hwnd_, SB_VERT, &info);
    ScrollRequest request = ScrollRequest::Other;
    int position = info.nPos;
    switch (LOWORD(wParam)) {
        case SB_LINEUP:
            request = ScrollRequest::LineUp;
            break;
        case SB_LINEDOWN:
            request = ScrollRequest::LineDown;
            break;
        case SB_PAGEUP:
            request = ScrollRequest::PageUp;
            break;
        case SB_PAGEDOWN:
            request = ScrollRequest::PageDown;
            break;
        case SB_THUMBPOSITION:
            request = ScrollRequest::ThumbPosition;
            position = info.nTrackPos;
            break;
        case SB_THUMBTRACK:
            request = ScrollRequest::ThumbTrack;
            position = info.nTrackPos;
            break;
        default:
            break;
    }
    control_.Scroll(request, info.nPos, position);
}

// Many changes in a row (thousands of adds) invalidate the window once. Without a
// window the host hears of each change.
void WeekViewWindow::InvalidateControl()
{
    if (hwnd_ == nullptr) {
        listener_.PictureChanged();
        return;
    }
    if (fullPaintPending_)
        return;
    fullPaintPending_ = true;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void WeekViewWindow::SetScrollRange(int maximum)
{
    ::SetScrollRange(hwnd_, SB_VERT, 0, maximum, TRUE);
}

void WeekViewWindow::SetScrollThumb(int position)
{
    ::SetScrollPos(hwnd_, SB_VERT, position, TRUE);
}

void WeekViewWindow::RepaintNow(const Rect& region)
{
    // A hidden window paints nothing now; its next paint must then be a full one.
    if (!IsWindowVisible(hwnd_)) {
        if (control_.TakeSelectionRepaint())
            control_.SelectionRepainted();
        InvalidateControl();
        return;
    }
    const RECT r{region.left, region.top, region.right, region.bottom};
    InvalidateRect(hwnd_, &r, FALSE);
    UpdateWindow(hwnd_);
}

HBITMAP WeekViewWindow::Snapshot()
{
    RECT client{};
    GetClientRect(hwnd_, &client);
    HDC screen = GetDC(hwnd_);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    if (bitmap != nullptr) {
        MemoryDc memory(screen);
        SelectedObject selected(memory.Get(), bitmap);
        PaintContext pc = Context();
        pc.runMode = true;
        PaintThroughBitmap(control_, memory.Get(), client, pc);
    }
    ReleaseDC(hwnd_, screen);
    return bitmap;
}

}  // namespace weekview
