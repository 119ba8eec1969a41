#include "app/win32/command-line.h"

#include <windows.h>

#include <shellapi.h>

#include "ui/win32/program-path.h"

std::vector<std::string> filesGivenOnCommandLine() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments) return {};
    std::vector<std::string> files;
    for (int k = 1; k < count; ++k)
        files.push_back(programPath(arguments[k]));
    LocalFree(arguments);
    return files;
}
