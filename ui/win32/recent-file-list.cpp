#include "ui/win32/recent-file-list.h"

#include "editor/recent-files.h"
#include "ui/win32/program-path.h"
#include "ui/win32/session-settings.h"

RecentFiles& recentFiles() {
    static RecentFiles files = [] {
        RecentFiles read;
        read.load(sessionSettings());
        return read;
    }();
    return files;
}

void rememberRecentFile(const std::string& path) {
    // A name given relative to the starting folder (the command line) is the file a dialog
    // names by its full path: listed once, and right wherever the program starts.
    recentFiles().add(fullPathOf(path));
    recentFiles().save(sessionSettings());
}

void forgetRecentFile(const std::string& path) {
    if (recentFiles().forget(path)) recentFiles().save(sessionSettings());
}
