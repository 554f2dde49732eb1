// Shows a tray icon with a tool-tip, a menu and an animation for a few seconds, for looking at
// the component under a real notification area: TrayShow [seconds] [hint]. Prints whether the
// shell took the icon, and the frame shown at the end.
#include "TrayIcon.h"
#include "TestIcons.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const DWORD seconds = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 10;
    TPopupMenu menu;
    menu.Add("popCheckNow", "Check now");
    menu.Add("N3", "-");
    menu.Add("popEnabled", "Enabled").Checked = true;
    menu.Add("popExit", "Exit", [](TMenuItem&) { PostQuitMessage(0); });
    TTrayIcon tray;
    tray.SetHint(argc > 2 ? argv[2] : "TrayShow|details");
    tray.SetPopupMenu(&menu);
    tray.SetInterval(300);
    TIcon picture;
    Paint(picture, 0x2060C0);
    tray.SetIcon(picture);
    const std::uint32_t colours[] = {0xE03030, 0x30C030, 0x3030E0};
    for (std::uint32_t colour : colours) {
        Paint(picture, colour);
        tray.Icons().Add(picture);
    }
    tray.SetAnimated(true);
    // The notification area may not be up yet when Wine has just started: try again for a while.
    for (int i = 0; i < 50 && !tray.Added(); ++i) {
        Sleep(200);
        tray.SetActive(false);
        tray.SetActive(true);
    }
    std::printf("added: %d\n", tray.Added() ? 1 : 0);
    std::fflush(stdout);
    SetTimer(nullptr, 0, seconds * 1000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr)
            break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    std::printf("frame: %d\n", tray.FrameIndex());
    return 0;
}
