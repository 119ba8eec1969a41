// Narrow names are in the ANSI code page, as GetOpenFileNameA and the profile functions give
// them; std::filesystem would read them byte by byte as Latin-1 instead.
#include "core/native-path.h"

#include <windows.h>

std::filesystem::path nativePath(const std::string& name) {
    if (name.empty()) return {};
    const int size =
        MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), wide.data(), size);
    return std::filesystem::path(wide);
}

std::FILE* openFile(const std::filesystem::path& path, const char* mode) {
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(path.c_str(), wideMode.c_str());
}
