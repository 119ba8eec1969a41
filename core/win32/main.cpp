// Entry point of tavrel.exe.
#include <windows.h>

#include "core/win32/Application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    if (!startUp(instance, showCommand)) return 1;
    runMessageLoop();
    return 0;
}
