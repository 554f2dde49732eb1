// A small helper of the end-to-end tests: looks at and pokes the windows of a running program
// on the same desktop.
//   WindowProbe box TITLE MS         wait for a window titled TITLE, print its text, press OK
//   WindowProbe exists CLASS MS      wait for a window of CLASS (exit 1 when none came)
//   WindowProbe post CLASS MSG W L   post a message to the window of CLASS
//   WindowProbe click X Y            a left click at the screen point
//   WindowProbe type KEYS            keys typed (letters and digits)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

template <typename Find>
HWND WaitFor(Find find, DWORD ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = find())
            return window;
        if (GetTickCount() - start >= ms)
            return nullptr;
        Sleep(50);
    }
}

int Box(const char* title, DWORD ms)
{
    HWND box = WaitFor(
        [&] {
            HWND found = FindWindowA(nullptr, title);
            return found && IsWindowVisible(found) ? found : nullptr;
        },
        ms);
    if (!box)
        return 1;
    char text[1024] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    std::fwrite(text, 1, strlen(text), stdout);
    std::fputc('\n', stdout);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "box" && argc == 4)
        return Box(argv[2], std::strtoul(argv[3], nullptr, 10));
    if (command == "exists" && argc == 4)
        return WaitFor([&] { return FindWindowA(argv[2], nullptr); },
                       std::strtoul(argv[3], nullptr, 10))
                   ? 0
                   : 1;
    if (command == "post" && argc == 6) {
        HWND window = FindWindowA(argv[2], nullptr);
        if (!window)
            return 1;
        PostMessageA(window, std::strtoul(argv[3], nullptr, 0), std::strtoull(argv[4], nullptr, 0),
                     std::strtoll(argv[5], nullptr, 0));
        return 0;
    }
    if (command == "click" && argc == 4) {
        SetCursorPos(std::atoi(argv[2]), std::atoi(argv[3]));
        mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        return 0;
    }
    if (command == "type" && argc == 3) {
        for (const char* c = argv[2]; *c; ++c) {
            SHORT key = VkKeyScanA(*c);
            keybd_event(LOBYTE(key), 0, 0, 0);
            keybd_event(LOBYTE(key), 0, KEYEVENTF_KEYUP, 0);
        }
        return 0;
    }
    std::fprintf(stderr,
                 "usage: WindowProbe box TITLE MS | exists CLASS MS | post CLASS MSG W L | click X "
                 "Y | type KEYS\n");
    return 2;
}
