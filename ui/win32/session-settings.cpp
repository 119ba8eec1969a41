#include "ui/win32/session-settings.h"

#include <windows.h>

#include <string>

#include "core/session-keys.h"
#include "ui/win32/program-path.h"

namespace {

SettingsFile& settingsStore() {
    static SettingsFile file(session::kFileName);
    return file;
}

} // namespace

const SettingsFile& sessionSettings() {
    return settingsStore();
}

void openSessionSettings() {
    settingsStore() = SettingsFile(fullPathOf(session::kFileName));
}
