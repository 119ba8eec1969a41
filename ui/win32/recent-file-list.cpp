#include "ui/win32/recent-file-list.h"

#include <windows.h>

#include "editor/recent-files.h"
#include "ui/win32/session-settings.h"

namespace {

// A name given relative to the folder the program started in (on the command line) is the
// file a dialog names by its full path: listed once, and right wherever the program starts.
std::string fullPathOf(const std::string& path) {
    char full[MAX_PATH];
    const DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH ? std::string(full, n) : path;
}

} // namespace

RecentFiles& recentFiles() {
    static RecentFiles files = [] {
        RecentFiles read;
        read.load(sessionSettings());
        return read;
    }();
    return files;
}

void rememberRecentFile(const std::string& path) {
    recentFiles().add(fullPathOf(path));
    recentFiles().save(sessionSettings());
}

void forgetRecentFile(const std::string& path) {
    if (recentFiles().forget(path)) recentFiles().save(sessionSettings());
}
