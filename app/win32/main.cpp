// Entry point of tavrel.exe.
#include <windows.h>

#include "app/win32/application.h"
#include "app/win32/command-line.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    const std::vector<std::string> given = filesGivenOnCommandLine();
    if (!startUp(instance, showCommand, given.empty() ? "" : given.front(),
                 given.size() > 1 ? std::vector<std::string>(given.begin() + 1, given.end())
                                  : std::vector<std::string>{}))
        return 1;
    runMessageLoop();
    return 0;
}
