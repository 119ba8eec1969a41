#include "app/win32/command-line.h"

#include <windows.h>

#include <shellapi.h>

#include "ui/win32/program-path.h"

std::string fileGivenOnCommandLine() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments) return "";
    const std::wstring given = count > 1 ? arguments[1] : L"";
    LocalFree(arguments);
    return programPath(given);
}
