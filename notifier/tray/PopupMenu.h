// TPopupMenu: a pop-up menu of our own with items, check marks and a default item.
#pragma once

#include "HiddenWindow.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TMenuItem {
public:
    using TNotifyEvent = std::function<void(TMenuItem& Sender)>;

    std::string Name;
    std::string Caption;  // ANSI text, "&" marks the access key; "-" makes a separator
    bool Checked = false;
    bool Enabled = true;
    bool Default = false;  // shown bold; a double click on the tray icon runs it
    bool Visible = true;
    TNotifyEvent OnClick;

    bool IsSeparator() const { return Caption == "-"; }
    // Runs OnClick when attached and the item is enabled.
    void Click();

private:
    friend class TPopupMenu;
    UINT command = 0;
};

class TPopupMenu {
public:
    using TErrorEvent = std::function<void(const std::exception& error)>;
    // Shows the menu and returns the command chosen (0 for none); the system's menu loop by
    // default, replaceable for tests.
    using TTrackFunction = std::function<UINT(HMENU menu, int x, int y, HWND owner)>;

    TPopupMenu();
    ~TPopupMenu();
    TPopupMenu(const TPopupMenu&) = delete;
    TPopupMenu& operator=(const TPopupMenu&) = delete;

    // Appends an item; the reference stays valid as long as the menu.
    TMenuItem& Add(const std::string& name, const std::string& caption,
                   TMenuItem::TNotifyEvent onClick = {});
    int Count() const { return static_cast<int>(items.size()); }
    TMenuItem& Items(int index) const;
    // The item of that name, or null.
    TMenuItem* Find(const std::string& name) const;

    // Shows the menu at the screen point and waits until it closes. The chosen item's click
    // is posted to the menu's window and runs from the message loop, after the caller of
    // Popup has finished with its own window message.
    void Popup(int x, int y);

    // Pop up on a right click of the component that references this menu.
    bool AutoPopup = true;
    // The component that last popped the menu up.
    void* PopupComponent = nullptr;
    // Receives what escapes an item's OnClick; unattached, the failure is dropped.
    TErrorEvent OnError;
    TTrackFunction Track;

    // Tells client when the menu is destroyed (a component clears its reference then).
    void FreeNotification(void* client, std::function<void()> notify);
    void RemoveFreeNotification(void* client);

    HWND Window() const { return window.Get(); }

private:
    static LRESULT CALLBACK WindowRoutine(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HMENU BuildMenu() const;
    void RunCommand(UINT command);

    std::vector<std::unique_ptr<TMenuItem>> items;
    std::vector<std::pair<void*, std::function<void()>>> freeNotifies;
    HiddenWindowHandle window;
    UINT nextCommand = 1;
};
