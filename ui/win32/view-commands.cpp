#include "ui/win32/view-commands.h"
#include "ui/win32/status-bar.h"

#include <windows.h>

#include <commctrl.h>

#include "editor/selection.h"
#include "ui/win32/records.h"
#include "ui/win32/window-layout.h"

#include <cmath>
#include <cstdio>
#include <string>

void switchView() {
    if (const auto layout = orbitCamera.switchView(editorState.currentView, sessionSettings()))
        switchLayout(*layout);
}

void switchProjection() {
    orbitCamera.orthographic = !orbitCamera.orthographic;
    setStatusText(StatusPart::Message, orbitCamera.orthographic
                                           ? "Orthographic view (O: perspective)"
                                           : "Perspective view (O: orthographic)");
}

void centerView() {
    orbitCamera.offset = {0, 0, 0, 0};
    setStatusText(StatusPart::Message, "");
}

void frameModel() {
    if (!editorState.currentEntity) return;
    vm::Vec4 min, max;
    if (!frameBounds(editedModel(), min, max)) return;
    // The model is drawn where the ship is (a flight may have taken it anywhere).
    vm::Mat4 world;
    editorState.currentEntity->worldMatrix(world);
    vm::Vec4 centre = (min + max) * 0.5f;
    centre.w = 1;
    centre = vm::transform(centre, world);
    const vm::Vec4 half = (max - min) * 0.5f;
    const float radius = std::sqrt(half.x * half.x + half.y * half.y + half.z * half.z);
    RECT client = {0, 0, 4, 3};
    if (application.mainViewWindow) GetClientRect(application.mainViewWindow, &client);
    const float aspect = client.bottom > 0 ? static_cast<float>(client.right) / client.bottom : 1;
    orbitCamera.frame(centre, radius, aspect, sessionSettings());
    char text[128];
    std::snprintf(text, sizeof text, "framed: centre %g %g %g, size %g",
                  static_cast<double>(centre.x), static_cast<double>(centre.y),
                  static_cast<double>(centre.z), static_cast<double>(2 * radius));
    setStatusText(StatusPart::Message, text);
    OutputDebugStringA((std::string("Tavrel ") + text + "\n").c_str());
}

void centerOnSelection() {
    vm::Vec4 min, max;
    if (!selectionBounds(editedModel(), min, max)) return;
    orbitCamera.offset = min + (max - min) * 0.5f;
    orbitCamera.offset.w = 0;
    orbitCamera.saveOffset(sessionSettings());
}

void returnHome() {
    application.ship.goHome();
    application.keyboardFlight.reset();
    OutputDebugStringA("Tavrel: the ship is back at its start\n");
}
