// The week view's child window: paints the control, scrolls its rows and turns mouse
// messages into selection, right clicks and events for a listener.
#pragma once

#include <windows.h>

#include "WeekViewControl.h"
#include "WeekViewPainter.h"

namespace weekview {

struct WeekViewWindowOptions {
    RECT bounds{0, 0, 640, 480};  // in the parent's client coordinates
    int id = 0;
    bool runMode = true;  // run time (off-screen painting, `TopTime` settable)
};

class WeekViewWindow : private ControlSite {
public:
    static constexpr const char* kClassName = "WeekViewWindow";

    // The listener receives every event and must outlive the window.
    explicit WeekViewWindow(WeekViewEvents& listener);
    ~WeekViewWindow() override;
    WeekViewWindow(const WeekViewWindow&) = delete;
    WeekViewWindow& operator=(const WeekViewWindow&) = delete;

    bool Create(HWND parent, const WeekViewWindowOptions& options);
    // The window class belongs to the module holding this code (a program or the
    // control's DLL); a DLL unregisters it when it is unloaded, so a later load
    // never finds a class pointing at freed code. False while windows still use it.
    static bool UnregisterWindowClass();
    // Creates the window with the given style bits added to WS_CHILD.
    bool Create(HWND parent, const WeekViewWindowOptions& options, DWORD style);
    // Paints the whole control on any device context (the draw entry of the
    // control): through an off-screen bitmap at run time, directly at design time;
    // false when the picture could not be made. While the window exists this is a
    // picture for someone else, and the window's rows and scroll bar stay as they are.
    bool Draw(HDC dc, const RECT& bounds);
    HWND Handle() const { return hwnd_; }
    WeekViewControl& Control() { return control_; }

    // Fonts stay owned by the caller and must outlive their use; null means the
    // default GUI font. Like every other property, a font change marks the control
    // modified and repaints it.
    void SetFont(HFONT font);
    void SetHourFont(HFONT font);
    // Paints with these fonts from now on without counting as a change: the host
    // hands over the handles of fonts it already holds (a window just created, a
    // font object that made a new handle for the same font).
    void ShowFonts(HFONT font, HFONT hourFont);
    HFONT Font() const { return font_; }

    bool RunMode() const { return runMode_; }
    void SetRunMode(bool runMode);
    // Persistent properties changed since the host last saved them.
    bool Modified() const { return modified_; }
    void ClearModified() { modified_ = false; }

    // Paints the control as at run time into a bitmap of the client area's size.
    HBITMAP Snapshot();

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnLeftButtonDown(WPARAM keys, int x, int y);
    void OnMouseMove(WPARAM keys, int x, int y);
    void OnLeftButtonUp(WPARAM keys, int x, int y);
    void OnRightButtonDown(WPARAM keys, int x, int y);
    void OnVScroll(WPARAM wParam);
    Rect ClientRect() const;
    PaintContext Context() const;

    // ControlSite
    void InvalidateControl() override;
    void SetModified() override { modified_ = true; }
    bool IsRunMode() const override { return runMode_; }
    void SetScrollRange(int maximum) override;
    void SetScrollThumb(int position) override;
    void RepaintNow(const Rect& region) override;

    WeekViewEvents& listener_;
    WeekViewControl control_;
    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    HFONT hourFont_ = nullptr;
    bool runMode_ = true;
    bool modified_ = false;
    bool fullPaintPending_ = false;  // the whole window is invalid, not yet painted
};

}  // namespace weekview
