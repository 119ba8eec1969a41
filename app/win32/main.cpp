// Entry point of tavrel.exe.
#include <windows.h>

#include "app/win32/application.h"
#include "app/win32/command-line.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    if (!startUp(instance, showCommand, fileGivenOnCommandLine())) return 1;
    runMessageLoop();
    return 0;
}
