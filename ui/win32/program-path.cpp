#include "ui/win32/program-path.h"

#include <windows.h>

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

std::string programPath(const std::wstring& wide) {
    if (wide.empty()) return "";
    std::string name = ansiName(wide);
    if (!name.empty()) return name;
    // A name such as "модель.obj" on a western system: its short form is plain ASCII.
    const DWORD length = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (length == 0) return ansiName(wide); // no such file: said as missing by the caller
    std::vector<wchar_t> shortName(length);
    GetShortPathNameW(wide.c_str(), shortName.data(), length);
    name = ansiName(shortName.data());
    return name.empty() ? "?" : name;
}

std::string fullPathOf(const std::string& path) {
    char full[MAX_PATH];
    const DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH ? std::string(full, n) : path;
}
