#include "ui/win32/records.h"

EditorState editorState;
OrbitCamera orbitCamera;
Application application;

void readStartupSettings() {
    openSessionSettings();
    editorState.loadSession(sessionSettings());
    orbitCamera.load(sessionSettings());
    // The single view's axis views are drawn orthographically, the orbit view is not.
    const ViewMode view = editorState.currentView;
    orbitCamera.orthographic =
        view == ViewMode::Top || view == ViewMode::Side || view == ViewMode::Front;
}
