#include "ui/win32/recent-file-list.h"

#include "editor/recent-files.h"
#include "ui/win32/records.h"

RecentFiles& recentFiles() {
    static RecentFiles files = [] {
        RecentFiles read;
        read.load(sessionSettings());
        return read;
    }();
    return files;
}

void rememberRecentFile(const std::string& path) {
    recentFiles().add(path);
    recentFiles().save(sessionSettings());
}

void forgetRecentFile(const std::string& path) {
    if (recentFiles().forget(path)) recentFiles().save(sessionSettings());
}
