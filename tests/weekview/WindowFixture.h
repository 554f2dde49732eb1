// A week view window in a frame of its own, with its painted pixels readable.
#pragma once

#include <windows.h>

#include <vector>

#include "FakeHost.h"
#include "WeekViewWindow.h"

namespace weekview {

// Colours chosen apart from each other so every pixel tells what painted it.
constexpr OleColor kLine = RGB(255, 0, 0);
constexpr OleColor kPrime = RGB(255, 255, 255);
constexpr OleColor kNonPrime = RGB(0, 255, 255);
constexpr OleColor kSelected = RGB(0, 0, 128);
constexpr OleColor kBar = RGB(0, 0, 255);
constexpr OleColor kBack = RGB(10, 200, 10);
constexpr OleColor kTimeBack = RGB(192, 192, 192);
constexpr OleColor kFore = RGB(0, 0, 0);

class Pixels {
public:
    Pixels() = default;
    Pixels(HBITMAP bitmap);
    COLORREF At(int x, int y) const;
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<DWORD> bgra_;
};

class WindowFixture {
public:
    explicit WindowFixture(int width = 600, int height = 700);
    ~WindowFixture();
    WeekViewControl& Control() { return view_.Control(); }
    WeekViewWindow& View() { return view_; }
    HWND Handle() const { return view_.Handle(); }
    // Paints as at run time and reads the picture back.
    Pixels Snap();
    // Sends a mouse message with client coordinates.
    void Mouse(UINT message, WPARAM keys, int x, int y);
    void Pump();
    RecordingEvents events;

private:
    HWND frame_ = nullptr;
    WeekViewWindow view_;
};

}  // namespace weekview
