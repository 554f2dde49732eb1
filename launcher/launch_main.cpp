// Entry point of launch-main: brings the suite's main application forward or starts it.
#include <windows.h>

#include "LaunchOrActivate.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return launcher::LaunchOrActivate(launcher::kMainConfig);
}
