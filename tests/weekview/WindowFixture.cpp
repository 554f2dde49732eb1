// A week view window in a frame of its own, with its painted pixels readable.
#include "WindowFixture.h"

namespace weekview {

Pixels::Pixels(HBITMAP bitmap)
{
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    width_ = info.bmWidth;
    height_ = info.bmHeight;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width_;
    header.biHeight = -height_;  // top-down
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    bgra_.resize(static_cast<size_t>(width_) * height_);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, height_, bgra_.data(), reinterpret_cast<BITMAPINFO*>(&header),
              DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
}

COLORREF Pixels::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return CLR_INVALID;
    const DWORD v = bgra_[static_cast<size_t>(y) * width_ + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

namespace {

// One shown frame for the whole test program: hiding or destroying a shown top-level
// window costs the X11 driver up to two seconds without a window manager.
HWND SharedFrame()
{
    static HWND frame = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "WeekViewTestFrame";
        RegisterClassA(&wc);
        return CreateWindowExA(0, wc.lpszClassName, "week view test", WS_POPUP | WS_VISIBLE, 0, 0,
                               1200, 1100, nullptr, nullptr, wc.hInstance, nullptr);
    }();
    return frame;
}

}  // namespace

WindowFixture::WindowFixture(int width, int height) : view_(events)
{
    frame_ = SharedFrame();
    WeekViewWindowOptions options;
    options.bounds = RECT{0, 0, width, height};
    view_.Create(frame_, options);
    WeekViewControl& c = view_.Control();
    c.SetColor(&DisplayProperties::LineColor, kLine);
    c.SetColor(&DisplayProperties::PrimeTimeColor, kPrime);
    c.SetColor(&DisplayProperties::NonPrimeColor, kNonPrime);
    c.SetColor(&DisplayProperties::SelectedColor, kSelected);
    c.SetColor(&DisplayProperties::AppBarColor, kBar);
    c.SetColor(&DisplayProperties::BackColor, kBack);
    c.SetColor(&DisplayProperties::TimeBackColor, kTimeBack);
    c.SetColor(&DisplayProperties::ForeColor, kFore);
    Pump();
    events.lines.clear();
}

WindowFixture::~WindowFixture() = default;

void WindowFixture::Pump()
{
    UpdateWindow(view_.Handle());
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

Pixels WindowFixture::Snap()
{
    Pump();
    HBITMAP bitmap = view_.Snapshot();
    Pixels pixels(bitmap);
    DeleteObject(bitmap);
    return pixels;
}

void WindowFixture::Mouse(UINT message, WPARAM keys, int x, int y)
{
    SendMessageA(view_.Handle(), message, keys,
                 MAKELPARAM(static_cast<WORD>(static_cast<int16_t>(x)),
                            static_cast<WORD>(static_cast<int16_t>(y))));
}

}  // namespace weekview
