#include "app/win32/command-line.h"

#include <windows.h>

#include <shellapi.h>

#include <vector>

namespace {

// The name in the ANSI code page, or "" when some character has no place in it.
std::string ansiName(const std::wstring& wide) {
    const int size = static_cast<int>(wide.size());
    BOOL lost = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0,
                                      nullptr, &lost);
    if (n <= 0 || lost) return "";
    std::string narrow(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, narrow.data(), n, nullptr,
                        nullptr);
    return narrow;
}

} // namespace

std::string fileGivenOnCommandLine() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments) return "";
    const std::wstring given = count > 1 ? arguments[1] : L"";
    LocalFree(arguments);
    if (given.empty()) return "";
    std::string name = ansiName(given);
    if (!name.empty()) return name;
    // A name such as "модель.obj" on a western system: its short form is plain ASCII.
    const DWORD length = GetShortPathNameW(given.c_str(), nullptr, 0);
    if (length == 0) return ansiName(given); // no such file: said as missing below
    std::vector<wchar_t> shortName(length);
    GetShortPathNameW(given.c_str(), shortName.data(), length);
    name = ansiName(shortName.data());
    return name.empty() ? "?" : name;
}
