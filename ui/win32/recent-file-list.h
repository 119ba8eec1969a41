// The program's list of recent files: read from session.ini when first asked for, written
// back after every change.
#pragma once

#include <string>

class RecentFiles;

RecentFiles& recentFiles();
// A file the user opened or saved goes first on the list.
void rememberRecentFile(const std::string& path);
// A file no longer there leaves the list.
void forgetRecentFile(const std::string& path);
