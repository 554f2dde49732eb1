// TTrayIcon: the notification-area icon, its tool-tip, mouse events, menu and animation.
#include "TrayIcon.h"

#include "MessagePump.h"

#include <cstring>

namespace {

// Posted by the pacing thread: the next frame is due. Handled on the user-interface thread, so
// the frame index, the record and the shell call are only ever touched there.
constexpr UINT kAnimateMessage = WM_USER + 1;
// How many waiting messages run before the menu loop, while the foreground change settles.
constexpr int kSettleMessages = 100;

const TIcon& NoIcon()
{
    static const TIcon empty;
    return empty;
}

TShiftState KeysDown()
{
    TShiftState keys = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        keys |= ssShift;
    if (GetKeyState(VK_MENU) < 0)
        keys |= ssAlt;
    if (GetKeyState(VK_CONTROL) < 0)
        keys |= ssCtrl;
    return keys;
}

BOOL SystemShell(DWORD message, TTrayNotifyData& data)
{
    return Shell_NotifyIconA(message, reinterpret_cast<NOTIFYICONDATAA*>(&data));
}

}  // namespace

TTrayIcon::TTrayIcon(TShellNotify shellCall)
    : shell(shellCall ? std::move(shellCall) : TShellNotify(SystemShell)),
      window(CreateHiddenWindow("TTrayIconWindow", &TTrayIcon::WindowRoutine, this))
{
    icon.OnChange = [this](TIcon&) { UpdateIcon(); };
    icons.OnChange = [this](TIconList&) { UpdateIcon(); };
}

TTrayIcon::~TTrayIcon()
{
    closing = true;
    icon.OnChange = nullptr;
    icons.OnChange = nullptr;
    SetPopupMenu(nullptr);
    StopThread();
    animated = false;
    RemoveIcon();
}

void TTrayIcon::SetActive(bool value)
{
    if (value == active)
        return;
    active = value;
    if (active)
        AddIcon();
    else
        RemoveIcon();
}

void TTrayIcon::SetHint(const std::string& value)
{
    if (value == hint)
        return;
    hint = value;
    UpdateIcon();
}

void TTrayIcon::SetIcon(const TIcon& value)
{
    icon.Assign(value);
}

void TTrayIcon::SetIcons(const TIconList& value)
{
    icons.Assign(&value);
}

void TTrayIcon::SetAnimated(bool value)
{
    const bool effective = value && icons.Count() > 0;
    if (effective == animated)
        return;
    if (effective) {
        thread = TTimerThread::Start([this] { PostAnimationStep(); }, interval, !added);
        animated = true;
    } else {
        animated = false;
        StopThread();
    }
    frameIndex = 0;
    UpdateIcon();
}

void TTrayIcon::SetInterval(std::uint16_t value)
{
    interval = value;
    if (thread)
        thread->SetInterval(value);
}

void TTrayIcon::SetPopupMenu(TPopupMenu* value)
{
    if (value == popupMenu)
        return;
    if (popupMenu)
        popupMenu->RemoveFreeNotification(this);
    popupMenu = value;
    if (popupMenu)
        popupMenu->FreeNotification(this, [this] { popupMenu = nullptr; });
}

const TIcon& TTrayIcon::CurrentIcon() const
{
    if (icons.Count() > 0 && animated) {
        const TIcon* frame = icons.Items(ClampFrame(frameIndex, icons.Count()));
        return frame ? *frame : NoIcon();
    }
    return icon;
}

void TTrayIcon::UpdateNotifyData()
{
    notifyData = TTrayNotifyData{};
    notifyData.cbSize = sizeof(TTrayNotifyData);
    notifyData.hWnd = window.Get();
    notifyData.uID = 0;
    notifyData.uFlags = kTrayNotifyFlags;
    notifyData.uCallbackMessage = kTrayCallbackMessage;
    notifyData.hIcon = CurrentIcon().Handle();
    const std::string tip = ShortHint(hint, [](unsigned char c) { return IsDBCSLeadByte(c) != 0; });
    std::memcpy(notifyData.szTip, tip.c_str(), tip.size() + 1);
}

BOOL TTrayIcon::Shell(DWORD message)
{
    return shell(message, notifyData);
}

void TTrayIcon::AddIcon()
{
    RemoveIcon();
    if (CurrentIcon().Empty())
        return;
    leftPressed = false;
    rightPressed = false;
    UpdateNotifyData();
    added = Shell(NIM_ADD) != FALSE;
    if (animated && thread)
        thread->Resume();
}

void TTrayIcon::RemoveIcon()
{
    // The record still names the window and identifier the entry was added with.
    notifyData.cbSize = sizeof(TTrayNotifyData);
    notifyData.hWnd = window.Get();
    notifyData.uID = 0;
    Shell(NIM_DELETE);
    added = false;
    leftPressed = false;
    rightPressed = false;
    if (animated && thread)
        thread->Suspend();
}

void TTrayIcon::UpdateIcon()
{
    if (icons.Count() == 0 && animated)
        SetAnimated(false);  // runs UpdateIcon again, with the still icon
    else if (added) {
        if (CurrentIcon().Empty()) {
            RemoveIcon();
        } else {
            UpdateNotifyData();
            Shell(NIM_MODIFY);
        }
    } else if (active) {
        AddIcon();
    }
}

void TTrayIcon::Animate()
{
    if (closing || !animated)
        return;
    frameIndex = NextFrame(frameIndex, icons.Count());
    UpdateIcon();
}

void TTrayIcon::Loaded()
{
    if (active)
        AddIcon();
}

bool TTrayIcon::AnimationPaused() const
{
    return thread && thread->Suspended();
}

void TTrayIcon::StopThread()
{
    if (!thread)
        return;
    // Terminate waits for a step in progress (a post) and lets a paused thread go; the thread
    // then ends on its own and frees itself.
    thread->Terminate();
    thread = nullptr;
    stepPending = false;
}

void TTrayIcon::PostAnimationStep()
{
    // At most one step waits in the queue: a user-interface thread held up (a sound playing,
    // a modal dialog) does not return to a pile of frames.
    if (!stepPending.exchange(true))
        PostMessageA(window.Get(), kAnimateMessage, 0, 0);
}

void TTrayIcon::AnimationStep()
{
    stepPending = false;
    if (thread)
        Animate();
}

bool TTrayIcon::PopupAt(int x, int y)
{
    if (!active || !popupMenu || !popupMenu->AutoPopup)
        return false;
    popupMenu->PopupComponent = this;
    if (!closing) {
        HWND form = GetActiveWindow();
        if (!form)
            form = MainForm;
        if (form)
            SendMessageA(form, WM_CANCELMODE, 0, 0);
    }
    HWND own = window.Get();
    if (IsWindowEnabled(own))
        SetForegroundWindow(own);
    // Let the foreground change settle before the menu loop starts; a quit request met here
    // is put back for the message loop.
    DispatchWaitingMessages(kSettleMessages);
    struct ForegroundAgain {
        HWND window;
        ~ForegroundAgain() { SetForegroundWindow(window); }
    } again{own};
    popupMenu->Popup(x, y);
    return true;
}

bool TTrayIcon::ClickDefaultItem()
{
    if (!active || !popupMenu)
        return false;
    for (int i = 0; i < popupMenu->Count(); ++i) {
        TMenuItem& item = popupMenu->Items(i);
        if (item.Default && item.Enabled) {
            item.Click();
            return true;
        }
    }
    return false;
}

void TTrayIcon::Click(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == TMouseButton::mbRight && PopupAt(x, y))
        return;
    if (OnClick)
        OnClick(*this, button, shift, x, y);
}

void TTrayIcon::DoubleClick()
{
    if (ClickDefaultItem())
        return;
    if (OnDblClick)
        OnDblClick(*this);
}

void TTrayIcon::HandleCallback(UINT mouseMessage)
{
    const TTrayMouseAction action = TrayMouseAction(mouseMessage);
    POINT at{};
    GetCursorPos(&at);
    const TShiftState shift = KeysDown() | action.buttonState;
    bool* pressed = action.button == TMouseButton::mbLeft    ? &leftPressed
                    : action.button == TMouseButton::mbRight ? &rightPressed
                                                             : nullptr;
    switch (action.kind) {
        case TTrayMouseKind::Move:
            if (OnMouseMove)
                OnMouseMove(*this, shift, at.x, at.y);
            break;
        case TTrayMouseKind::Down:
            if (OnMouseDown)
                OnMouseDown(*this, action.button, shift, at.x, at.y);
            if (pressed)
                *pressed = true;
            break;
        case TTrayMouseKind::Up:
            if (pressed && *pressed) {
                *pressed = false;
                Click(action.button, shift, at.x, at.y);
            }
            if (OnMouseUp)
                OnMouseUp(*this, action.button, shift, at.x, at.y);
            break;
        case TTrayMouseKind::DoubleClick:
            if (action.button == TMouseButton::mbLeft)
                DoubleClick();
            if (OnMouseDown)
                OnMouseDown(*this, action.button, shift, at.x, at.y);
            break;
        case TTrayMouseKind::None:
            break;
    }
}

void TTrayIcon::ReportError(const std::exception& error) noexcept
{
    try {
        if (OnError)
            OnError(error);
    } catch (...) {
    }
}

LRESULT CALLBACK TTrayIcon::WindowRoutine(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* tray = static_cast<TTrayIcon*>(HiddenWindowOwner(window));
    if (tray && (message == kTrayCallbackMessage || message == kAnimateMessage)) {
        try {
            if (message == kAnimateMessage)
                tray->AnimationStep();
            else
                tray->HandleCallback(static_cast<UINT>(lParam));
        } catch (const std::exception& error) {
            tray->ReportError(error);
        } catch (...) {
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
