// weekview-demo's frame window and the steps it runs against the week view.
#include "DemoHost.h"

#include <cstdarg>
#include <cstdio>

#include "BmpFile.h"
#include "GdiObjects.h"
#include "PropertyByName.h"

namespace weekview_demo {
namespace {

constexpr const char* kFrameClass = "WeekViewDemoFrame";
constexpr int kViewId = 100;
constexpr LONG kLargestTrackSize = 32767;

}  // namespace

std::string EscapeKey(const std::string& key)
{
    // One event per line: control characters, and the backslash that starts an
    // escape, are written as \xNN so a key can never break or fake a line.
    std::string shown;
    for (const char c : key) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || byte == '\\') {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        } else {
            shown += c;
        }
    }
    return shown;
}

void PrintingEvents::Print(const char* format, ...)
{
    if (!enabled_)
        return;
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::putchar('\n');
    std::fflush(stdout);
}

void PrintingEvents::TimeSelect(int32_t ds, int16_t ts, int32_t de, int16_t te)
{
    Print("TimeSelect %ld %d %ld %d", static_cast<long>(ds), ts, static_cast<long>(de), te);
}

void PrintingEvents::RightClick(int16_t st, int32_t sd, int16_t et, int32_t ed, int16_t index,
                                const std::string& key)
{
    Print("RightClick %d %ld %d %ld %d %s", st, static_cast<long>(sd), et, static_cast<long>(ed),
          index, EscapeKey(key).c_str());
}

void PrintingEvents::Error(int16_t code, int16_t index)
{
    Print("Error %d %d", code, index);
}

void PrintingEvents::MouseDown(int16_t button, int16_t shift, int x, int y)
{
    Print("MouseDown %d %d %d %d", button, shift, x, y);
}

void PrintingEvents::MouseMove(int16_t button, int16_t shift, int x, int y)
{
    Print("MouseMove %d %d %d %d", button, shift, x, y);
}

void PrintingEvents::MouseUp(int16_t button, int16_t shift, int x, int y)
{
    Print("MouseUp %d %d %d %d", button, shift, x, y);
}

void PrintingEvents::Click()
{
    Print("Click");
}

void PrintingEvents::DblClick()
{
    Print("DblClick");
}

DemoHost::DemoHost(const DemoOptions& options)
    : options_(options), events_(options.events), view_(events_)
{
}

DemoHost::~DemoHost()
{
    // The frame goes with the process: destroying a shown top-level window first makes
    // the X11 driver wait up to two seconds for the unmap when no window manager runs.
    for (HFONT font : fonts_) {
        if (font != nullptr)
            DeleteObject(font);
    }
}

LRESULT CALLBACK DemoHost::FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        case WM_SIZE:
            if (HWND view = GetDlgItem(hwnd, kViewId))
                MoveWindow(view, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_GETMINMAXINFO: {
            // The view keeps the size asked for even where the screen is smaller.
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize = POINT{0, 0};
            limits->ptMaxTrackSize = POINT{kLargestTrackSize, kLargestTrackSize};
            limits->ptMaxSize = limits->ptMaxTrackSize;
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

bool DemoHost::Create(std::string& error)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kFrameClass;
    RegisterClassA(&wc);
    RECT outer{0, 0, options_.width, options_.height};
    const DWORD style = WS_OVERLAPPEDWINDOW;
    AdjustWindowRect(&outer, style, FALSE);
    frame_ =
        CreateWindowExA(0, kFrameClass, "Week view demo", style, 0, 0, outer.right - outer.left,
                        outer.bottom - outer.top, nullptr, nullptr, wc.hInstance, nullptr);
    if (frame_ == nullptr) {
        error = "cannot create the demo window";
        return false;
    }
    weekview::WeekViewWindowOptions viewOptions;
    viewOptions.bounds = RECT{0, 0, options_.width, options_.height};
    viewOptions.id = kViewId;
    if (!view_.Create(frame_, viewOptions)) {
        error = "cannot create the week view window";
        return false;
    }
    ShowWindow(frame_, SW_SHOWNORMAL);
    UpdateWindow(frame_);
    Pump();
    FitView();
    return true;
}

void DemoHost::FitView()
{
    // The view's client area is the size asked for; a scroll bar, when shown, comes
    // beside it, so mouse steps and the snapshot use the same geometry.
    RECT client{};
    GetClientRect(view_.Handle(), &client);
    const int growX = options_.width - client.right;
    const int growY = options_.height - client.bottom;
    if (growX == 0 && growY == 0)
        return;
    RECT view{};
    GetWindowRect(view_.Handle(), &view);
    RECT outer{0, 0, view.right - view.left + growX, view.bottom - view.top + growY};
    AdjustWindowRect(&outer, static_cast<DWORD>(GetWindowLongA(frame_, GWL_STYLE)), FALSE);
    SetWindowPos(frame_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
}

bool DemoHost::CheckSize(std::string& error)
{
    RECT client{};
    GetClientRect(view_.Handle(), &client);
    if (client.right == options_.width && client.bottom == options_.height)
        return true;
    error = "cannot make the view " + std::to_string(options_.width) + "x" +
            std::to_string(options_.height) + " pixels (it is " + std::to_string(client.right) +
            "x" + std::to_string(client.bottom) + ")";
    return false;
}

void DemoHost::Pump()
{
    UpdateWindow(view_.Handle());
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void DemoHost::SendMouse(UINT message, WPARAM keys, int x, int y)
{
    SendMessageA(view_.Handle(), message, keys,
                 MAKELPARAM(static_cast<WORD>(static_cast<int16_t>(x)),
                            static_cast<WORD>(static_cast<int16_t>(y))));
    lastX_ = x;
    lastY_ = y;
}

void DemoHost::ReleaseButton()
{
    if (!buttonDown_)
        return;
    buttonDown_ = false;
    SendMouse(WM_LBUTTONUP, 0, lastX_, lastY_);
}

bool DemoHost::SetFontProperty(const std::string& name, const std::string& value,
                               std::string& error)
{
    // "Face,points[,bold]"
    const size_t comma = value.find(',');
    long long points = 0;
    const std::string face = value.substr(0, comma);
    std::string rest = comma == std::string::npos ? "" : value.substr(comma + 1);
    const bool bold = rest.size() > 5 && rest.compare(rest.size() - 5, 5, ",bold") == 0;
    if (bold)
        rest.resize(rest.size() - 5);
    if (face.empty() || face.size() >= LF_FACESIZE ||
        !weekview::ParseInteger(rest, 1, 200, points)) {
        error = name + " needs Face,points[,bold]: " + value;
        return false;
    }
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(static_cast<int>(points), GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    HFONT font = CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET,
                             0, 0, 0, 0, face.c_str());
    if (font == nullptr) {
        error = "cannot create the font " + value;
        return false;
    }
    const int slot = name == "Font" ? 0 : 1;
    if (slot == 0)
        view_.SetFont(font);
    else
        view_.SetHourFont(font);
    if (fonts_[slot] != nullptr)
        DeleteObject(fonts_[slot]);
    fonts_[slot] = font;
    return true;
}

bool DemoHost::Apply(const Step& step, std::string& error)
{
    weekview::WeekViewControl& control = view_.Control();
    switch (step.kind) {
        case Step::Set:
            if (step.name == "Font" || step.name == "HourFont")
                return SetFontProperty(step.name, step.value, error);
            return weekview::SetPropertyByName(control, step.name, step.value, error);
        case Step::Add:
            if (step.hasKey)
                control.AddKeyAppointment(step.startTime, step.startDate, step.endTime,
                                          step.endDate, step.value);
            else
                control.AddAppointment(step.startTime, step.startDate, step.endTime, step.endDate);
            return true;
        case Step::Press:
            buttonDown_ = true;
            SendMouse(WM_LBUTTONDOWN, MK_LBUTTON, step.x, step.y);
            return true;
        case Step::Drag:
            SendMouse(WM_MOUSEMOVE, buttonDown_ ? MK_LBUTTON : 0, step.x, step.y);
            return true;
        case Step::RightClick:
            SendMouse(WM_RBUTTONDOWN, MK_RBUTTON, step.x, step.y);
            SendMouse(WM_RBUTTONUP, 0, step.x, step.y);
            return true;
        case Step::Scroll:
            for (int i = 0; i < (step.x < 0 ? -step.x : step.x); ++i) {
                SendMessageA(view_.Handle(), WM_VSCROLL, step.x < 0 ? SB_LINEUP : SB_LINEDOWN, 0);
                Pump();
            }
            return true;
    }
    return true;
}

bool DemoHost::RunSteps(std::string& error)
{
    for (size_t i = 0; i < options_.steps.size(); ++i) {
        const Step& step = options_.steps[i];
        // The left button goes up when a press or drag run ends.
        if (step.kind != Step::Drag)
            ReleaseButton();
        if (!Apply(step, error))
            return false;
        Pump();
        FitView();
    }
    ReleaseButton();
    Pump();
    FitView();
    return CheckSize(error);
}

bool DemoHost::WriteSnapshot(const std::string& path, std::string& error)
{
    // Painted through the draw entry into a picture of exactly the requested size;
    // nothing is written when the picture cannot be made or painted.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = options_.width;
    info.bmiHeader.biHeight = options_.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    weekview::GdiObject<HBITMAP> bitmap(
        CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    weekview::MemoryDc memory(nullptr);
    if (bitmap.Get() == nullptr || memory.Get() == nullptr) {
        error = "cannot make a picture of " + std::to_string(options_.width) + "x" +
                std::to_string(options_.height) + " pixels";
        return false;
    }
    if (!PaintInto(memory.Get(), bitmap.Get())) {
        error = "cannot paint the snapshot";
        return false;
    }
    return WriteBmp24(bitmap.Get(), path, error);
}

bool DemoHost::PaintInto(HDC memory, HBITMAP bitmap)
{
    // The picture is deselected again when this returns, so it can be read.
    weekview::SelectedObject selected(memory, bitmap);
    weekview::PaintContext pc;
    pc.font = view_.Font();
    pc.hourFont = fonts_[1];
    pc.runMode = true;
    pc.hasFocus = GetFocus() == view_.Handle();
    const RECT bounds{0, 0, options_.width, options_.height};
    const bool painted =
        selected.Ok() && weekview::PaintThroughBitmap(view_.Control(), memory, bounds, pc);
    GdiFlush();
    return painted;
}

int DemoHost::RunInteractive()
{
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

}  // namespace weekview_demo
