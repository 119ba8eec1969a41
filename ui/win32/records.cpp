#include "ui/win32/records.h"

#include "core/session-keys.h"

EditorState editorState;
OrbitCamera orbitCamera;
Application application;
KeyFlags keyFlags;
DisplayFlags displayFlags;

namespace {
SettingsFile& settingsStore() {
    static SettingsFile file(session::kFileName);
    return file;
}

// ".\session.ini" as a full path, taken once at start-up: the file dialogs may visit other
// folders, the settings stay beside where the program started.
std::string sessionFilePath() {
    char full[MAX_PATH];
    const DWORD n = GetFullPathNameA(session::kFileName, MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH ? std::string(full, n) : std::string(session::kFileName);
}
} // namespace

const SettingsFile& sessionSettings() {
    return settingsStore();
}

void readStartupSettings() {
    settingsStore() = SettingsFile(sessionFilePath());
    editorState.loadSession(sessionSettings());
    orbitCamera.load(sessionSettings());
    // The single view's axis views are drawn orthographically, the orbit view is not.
    const ViewMode view = editorState.currentView;
    orbitCamera.orthographic =
        view == ViewMode::Top || view == ViewMode::Side || view == ViewMode::Front;
}
