// TPopupMenu: a pop-up menu of our own with items, check marks and a default item.
#include "PopupMenu.h"

#include <stdexcept>
#include <string>

namespace {

// The system's menu loop: the chosen command is returned instead of sent.
UINT TrackWithSystem(HMENU menu, int x, int y, HWND owner)
{
    return static_cast<UINT>(
        TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, x, y,
                       0, owner, nullptr));
}

struct MenuHandle {
    HMENU menu;
    ~MenuHandle() { DestroyMenu(menu); }
};

}  // namespace

void TMenuItem::Click()
{
    if (Enabled && OnClick)
        OnClick(*this);
}

TPopupMenu::TPopupMenu()
    : Track(TrackWithSystem),
      window(CreateHiddenWindow("TPopupMenuWindow", &TPopupMenu::WindowRoutine, this))
{
}

TPopupMenu::~TPopupMenu()
{
    // A client's notification may remove itself; work on a copy.
    auto clients = std::move(freeNotifies);
    for (auto& client : clients) {
        if (client.second)
            client.second();
    }
}

TMenuItem& TPopupMenu::Add(const std::string& name, const std::string& caption,
                           TMenuItem::TNotifyEvent onClick)
{
    auto item = std::make_unique<TMenuItem>();
    item->Name = name;
    item->Caption = caption;
    item->OnClick = std::move(onClick);
    item->command = nextCommand++;
    items.push_back(std::move(item));
    return *items.back();
}

TMenuItem& TPopupMenu::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("Menu index out of range (" + std::to_string(index) + ")");
    return *items[index];
}

TMenuItem* TPopupMenu::Find(const std::string& name) const
{
    for (const auto& item : items) {
        if (item->Name == name)
            return item.get();
    }
    return nullptr;
}

HMENU TPopupMenu::BuildMenu() const
{
    HMENU menu = CreatePopupMenu();
    for (const auto& item : items) {
        if (!item->Visible)
            continue;
        if (item->IsSeparator()) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING;
        flags |= item->Checked ? MF_CHECKED : MF_UNCHECKED;
        flags |= item->Enabled ? MF_ENABLED : MF_GRAYED;
        AppendMenuA(menu, flags, item->command, item->Caption.c_str());
        if (item->Default)
            SetMenuDefaultItem(menu, item->command, FALSE);
    }
    return menu;
}

void TPopupMenu::Popup(int x, int y)
{
    MenuHandle shown{BuildMenu()};
    const UINT command = Track ? Track(shown.menu, x, y, window.Get()) : 0;
    if (command != 0)
        PostMessageA(window.Get(), WM_COMMAND, command, 0);
}

void TPopupMenu::RunCommand(UINT command)
{
    for (const auto& item : items) {
        if (item->command != command)
            continue;
        try {
            item->Click();
        } catch (const std::exception& error) {
            if (OnError)
                OnError(error);
        }
        return;
    }
}

void TPopupMenu::FreeNotification(void* client, std::function<void()> notify)
{
    RemoveFreeNotification(client);
    freeNotifies.emplace_back(client, std::move(notify));
}

void TPopupMenu::RemoveFreeNotification(void* client)
{
    for (auto it = freeNotifies.begin(); it != freeNotifies.end(); ++it) {
        if (it->first == client) {
            freeNotifies.erase(it);
            return;
        }
    }
}

LRESULT CALLBACK TPopupMenu::WindowRoutine(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        if (auto* menu = static_cast<TPopupMenu*>(HiddenWindowOwner(window))) {
            try {
                menu->RunCommand(LOWORD(wParam));
            } catch (...) {
                // Nothing may cross the window routine.
            }
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
