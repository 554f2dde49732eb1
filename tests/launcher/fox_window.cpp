// Test helper: opens top-level windows of given classes and titles (titles as hex
// bytes, so code page 949 text survives the command line), writes their handles
// to a file, one per line, and keeps them alive until it is ended.
//
// usage: fox_window HANDLE_FILE CLASS:HEXTITLE [CLASS:HEXTITLE...]
// Each window is shown without activation and put on top of the previous one,
// so the last one given lies highest in the Z order.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string FromHex(const std::string& hex)
{
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16));
    return bytes;
}

void RegisterOnce(const std::string& className)
{
    WNDCLASSA wc{};
    if (GetClassInfoA(GetModuleHandleA(nullptr), className.c_str(), &wc))
        return;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className.c_str();
    RegisterClassA(&wc);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr)
        return 2;
    for (int i = 2; i < argc; ++i) {
        std::string request = argv[i];
        size_t colon = request.find(':');
        std::string className = request.substr(0, colon);
        std::string title = colon == std::string::npos ? "" : FromHex(request.substr(colon + 1));
        RegisterOnce(className);
        HWND window =
            CreateWindowExA(0, className.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, 40 * i,
                            40 * i, 300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ShowWindow(window, SW_SHOWNOACTIVATE);
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        std::fprintf(out, "%lu\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)));
    }
    std::fclose(out);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
