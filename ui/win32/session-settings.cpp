#include "ui/win32/session-settings.h"

#include <windows.h>

#include <string>

#include "core/session-keys.h"

namespace {

SettingsFile& settingsStore() {
    static SettingsFile file(session::kFileName);
    return file;
}

std::string sessionFilePath() {
    char full[MAX_PATH];
    const DWORD n = GetFullPathNameA(session::kFileName, MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH ? std::string(full, n) : std::string(session::kFileName);
}

} // namespace

const SettingsFile& sessionSettings() {
    return settingsStore();
}

void openSessionSettings() {
    settingsStore() = SettingsFile(sessionFilePath());
}
