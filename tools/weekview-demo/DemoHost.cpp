// weekview-demo's frame window and the steps it runs against the week view.
#include "DemoHost.h"

#include <cstdarg>
#include <cstdio>

#include "BmpFile.h"
#include "PropertyByName.h"

namespace weekview_demo {
namespace {

constexpr const char* kFrameClass = "WeekViewDemoFrame";
constexpr int kViewId = 100;

}  // namespace

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
          index, key.c_str());
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
    return true;
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
    }
    ReleaseButton();
    Pump();
    return true;
}

bool DemoHost::WriteSnapshot(const std::string& path, std::string& error)
{
    HBITMAP bitmap = view_.Snapshot();
    if (bitmap == nullptr) {
        error = "cannot paint the snapshot";
        return false;
    }
    const bool written = WriteBmp24(bitmap, path, error);
    DeleteObject(bitmap);
    return written;
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
