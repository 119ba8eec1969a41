// Entry point of tavrel.exe.
#include <windows.h>

#include "app/win32/application.h"
#include "app/win32/command-line.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    const std::vector<std::string> given = filesGivenOnCommandLine();
    if (!startUp(instance, showCommand, given.empty() ? "" : given.front(),
                 given.empty() ? 0 : given.size() - 1))
        return 1;
    runMessageLoop();
    return 0;
}
