// Entry point of tavrel.exe.
#include <windows.h>

#include <memory>

#include "app/win32/command-line.h"
#include "app/win32/shell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    const std::vector<std::string> given = filesGivenOnCommandLine();
    // On the heap: the shell holds the model, its history and every window's state.
    const auto shell = std::make_unique<Shell>();
    if (!shell->startUp(instance, showCommand, given.empty() ? "" : given.front(),
                        given.size() > 1 ? std::vector<std::string>(given.begin() + 1, given.end())
                                         : std::vector<std::string>{}))
        return 1;
    shell->runMessageLoop();
    return 0;
}
