// TTrayIcon: one icon with a tool-tip in the notification area, with mouse events, a pop-up
// menu on a right click and an animation through a list of frames.
#pragma once

#include "HiddenWindow.h"
#include "IconList.h"
#include "PopupMenu.h"
#include "TimerThread.h"
#include "TrayIconRules.h"

#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>

// The shell's notification record in its first, 88-byte form (the size of a 32-bit process;
// a 64-bit process hands the same fields with its own alignment).
struct TTrayNotifyData {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    CHAR szTip[64];
};

// The record is handed to Shell_NotifyIconA in place of the system's own declaration: its
// fields must sit where the system's first form has them.
static_assert(offsetof(TTrayNotifyData, hWnd) == offsetof(NOTIFYICONDATAA, hWnd));
static_assert(offsetof(TTrayNotifyData, uCallbackMessage) ==
              offsetof(NOTIFYICONDATAA, uCallbackMessage));
static_assert(offsetof(TTrayNotifyData, hIcon) == offsetof(NOTIFYICONDATAA, hIcon));
static_assert(offsetof(TTrayNotifyData, szTip) == offsetof(NOTIFYICONDATAA, szTip));
static_assert(sizeof(TTrayNotifyData) == NOTIFYICONDATAA_V1_SIZE);
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(TTrayNotifyData) == 88, "the shell's record is 88 bytes in a 32-bit process");
#endif

// The notification area's callback message to the tray icon's window.
constexpr UINT kTrayCallbackMessage = 0xB054;  // 45140
// Message, icon and tip fields valid.
constexpr UINT kTrayNotifyFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

class TTrayIcon {
public:
    using TNotifyEvent = std::function<void(TTrayIcon& Sender)>;
    using TMouseEvent = std::function<void(TTrayIcon& Sender, TMouseButton Button,
                                           TShiftState Shift, int X, int Y)>;
    using TMouseMoveEvent = std::function<void(TTrayIcon& Sender, TShiftState Shift, int X, int Y)>;
    using TErrorEvent = std::function<void(const std::exception& error)>;
    // One call of the shell: NIM_ADD, NIM_MODIFY or NIM_DELETE with the record.
    using TShellNotify = std::function<BOOL(DWORD message, TTrayNotifyData& data)>;

    // shell replaces Shell_NotifyIconA (tests record the calls through it).
    explicit TTrayIcon(TShellNotify shell = {});
    virtual ~TTrayIcon();
    TTrayIcon(const TTrayIcon&) = delete;
    TTrayIcon& operator=(const TTrayIcon&) = delete;

    bool Active() const { return active; }
    void SetActive(bool value);
    const std::string& Hint() const { return hint; }
    void SetHint(const std::string& value);
    // The still icon; changing it through the reference refreshes the tray.
    TIcon& Icon() { return icon; }
    void SetIcon(const TIcon& value);
    // The animation frames; changing the list through the reference refreshes the tray.
    TIconList& Icons() { return icons; }
    void SetIcons(const TIconList& value);
    bool Animated() const { return animated; }
    void SetAnimated(bool value);
    std::uint16_t Interval() const { return interval; }
    void SetInterval(std::uint16_t value);
    TPopupMenu* PopupMenu() const { return popupMenu; }
    void SetPopupMenu(TPopupMenu* value);
    // A switch for form-design tools only; no effect here.
    bool ShowDesign = false;

    TMouseEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    // Receives what escapes a handler run from the tray's window (the application's standard
    // error box in the program); unattached, the failure is dropped.
    TErrorEvent OnError;
    // The program's main form: a pop-up cancels its pending mouse mode when no form of the
    // program is active.
    HWND MainForm = nullptr;

    void AddIcon();
    void RemoveIcon();
    void UpdateIcon();
    // The frame to show while animating, else the still icon (possibly empty).
    const TIcon& CurrentIcon() const;
    void Animate();
    bool PopupAt(int x, int y);
    bool ClickDefaultItem();
    // To be called once a component's saved settings have been read into it.
    void Loaded();

    // The hidden window that receives the notification area's messages.
    HWND Handle() const { return window.Get(); }
    bool Added() const { return added; }
    int FrameIndex() const { return frameIndex; }
    // Whether an animation thread exists and is held paused (for tests and diagnostics).
    bool AnimationPaused() const;
    bool AnimationRunning() const { return thread != nullptr; }

protected:
    // Fills the record handed to the shell from the current state.
    virtual void UpdateNotifyData();
    TTrayNotifyData notifyData{};

private:
    static LRESULT CALLBACK WindowRoutine(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void HandleCallback(UINT mouseMessage);
    void Click(TMouseButton button, TShiftState shift, int x, int y);
    void DoubleClick();
    void AnimationStep();
    void PostAnimationStep();
    void StopThread();
    void ReportError(const std::exception& error) noexcept;
    BOOL Shell(DWORD message);

    TShellNotify shell;
    HiddenWindowHandle window;
    bool active = true;
    std::string hint;
    TIcon icon;
    TIconList icons;
    bool animated = false;
    std::uint16_t interval = 150;
    TPopupMenu* popupMenu = nullptr;
    bool added = false;
    bool leftPressed = false;
    bool rightPressed = false;
    int frameIndex = -1;
    bool closing = false;
    TTimerThread* thread = nullptr;
    std::atomic<bool> stepPending{false};
};
