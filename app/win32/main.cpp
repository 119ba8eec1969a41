// Entry point of tavrel.exe.
#include <windows.h>

#include "app/win32/application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    if (!startUp(instance, showCommand)) return 1;
    runMessageLoop();
    return 0;
}
