// larkbell's entry: one instance per desktop, the resource library beside the program, then
// the hidden main window and the message loop.
#include "Application.h"
#include "KoreanTexts.h"
#include "Options.h"
#include "OptionRules.h"
#include "chkMainUnit.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr char kApplicationTitle[] = "tessaly mail checker";
constexpr char kLibraryProbeName[] = "glyphpack.dll";

std::string ProgramPath()
{
    char path[MAX_PATH * 2] = {};
    GetModuleFileNameA(nullptr, path, sizeof path - 1);
    return path;
}

bool FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Demonstrations and tests point the checks at a private server on another port, and keep a
// record of what the program hands to the notification area.
void ApplyEnvironment(TformMainSeams& seams)
{
    if (const char* port = std::getenv("LARKBELL_POP3_PORT")) {
        std::optional<int32_t> number = ParseWholeNumber(port);
        if (number && *number > 0 && *number < 65536)
            seams.popPort = *number;
    }
    if (const char* record = std::getenv("LARKBELL_TRAY_RECORD")) {
        // Open for the whole run (an animation makes a call per frame), each line written
        // through at once for readers of the running program.
        std::shared_ptr<FILE> file(std::fopen(record, "ab"), [](FILE* f) {
            if (f)
                std::fclose(f);
        });
        seams.shell = [file](DWORD message, TTrayNotifyData& data) {
            if (file) {
                std::fprintf(file.get(), "%lu %s\n", static_cast<unsigned long>(message),
                             data.szTip);
                std::fflush(file.get());
            }
            return Shell_NotifyIconA(message, reinterpret_cast<NOTIFYICONDATAA*>(&data));
        };
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (FindWindowA(kMainWindowClass, nullptr))
        return 0;
    ExeDir = DirectoryOf(ProgramPath());
    if (!FileExists(ExeDir + kLibraryProbeName)) {
        MessageBoxA(nullptr, kGlyphpackMissing, "larkbell", MB_OK);
        return 0;
    }
    Application().Initialize();
    Application().SetTitle(kApplicationTitle);
    TformMainSeams seams;
    ApplyEnvironment(seams);
    TformMain formMain(seams);
    return Application().Run();
}
