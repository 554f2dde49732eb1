// Entry point of launch-data: brings the suite's data manager forward or starts it.
#include <windows.h>

#include "LaunchOrActivate.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return launcher::LaunchOrActivate(launcher::kDataConfig);
}
