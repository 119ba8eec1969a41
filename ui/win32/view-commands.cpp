#include "ui/win32/view-commands.h"
#include "ui/win32/status-bar.h"

#include <windows.h>

#include <commctrl.h>

#include "editor/editor-state.h"
#include "editor/selection.h"
#include "flight/vaisseau.h"
#include "flight/win32/flight-session.h"
#include "ui/win32/main-window-handles.h"
#include "ui/win32/session-settings.h"
#include "ui/win32/window-layout.h"
#include "view/framing.h"
#include "view/orbit-camera.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

void ViewCommands::switchView() {
    if (const auto next = p_.camera.switchView(p_.editor.currentView, sessionSettings()))
        p_.layout.switchTo(*next);
}

void ViewCommands::switchProjection() {
    p_.camera.orthographic = !p_.camera.orthographic;
    setStatusText(StatusPart::Message, p_.camera.orthographic
                                           ? "Orthographic view (O: perspective)"
                                           : "Perspective view (O: orthographic)");
}

void ViewCommands::centerView() {
    p_.camera.offset = {0, 0, 0, 0};
    setStatusText(StatusPart::Message, "View centred on the origin");
}

void ViewCommands::frameModel() {
    if (!p_.editor.modelReady) return;
    vm::Vec4 min, max;
    if (!frameBounds(p_.ship, min, max)) return;
    // The model is drawn where the ship is (a flight may have taken it anywhere, turned).
    vm::Mat4 world;
    p_.ship.worldMatrix(world);
    vm::Vec4 low{INFINITY, INFINITY, INFINITY, 0}, high{-INFINITY, -INFINITY, -INFINITY, 0};
    for (int k = 0; k < 8; ++k) {
        const vm::Vec4 corner = vm::transform(
            {k & 1 ? max.x : min.x, k & 2 ? max.y : min.y, k & 4 ? max.z : min.z, 1}, world);
        low = {std::min(low.x, corner.x), std::min(low.y, corner.y), std::min(low.z, corner.z), 0};
        high = {std::max(high.x, corner.x), std::max(high.y, corner.y), std::max(high.z, corner.z),
                0};
    }
    RECT client = {0, 0, 4, 3};
    if (p_.main.view) GetClientRect(p_.main.view, &client);
    const float aspect = client.bottom > 0 ? static_cast<float>(client.right) / client.bottom : 1;
    const Framing framing = framingOf(p_.camera, low, high, aspect);
    p_.camera.frameAt(framing.target, framing.radius, sessionSettings());
    const vm::Vec4 centre = framing.target, size = high - low;
    char text[160];
    std::snprintf(text, sizeof text, "framed: centre %g %g %g, size %g",
                  static_cast<double>(centre.x), static_cast<double>(centre.y),
                  static_cast<double>(centre.z), static_cast<double>(vm::length3(size)));
    setStatusText(StatusPart::Message, "F" + std::string(text + 1));
    OutputDebugStringA((std::string("Tavrel ") + text + "\n").c_str());
}

void ViewCommands::centerOnSelection() {
    vm::Vec4 min, max;
    if (!selectionBounds(p_.ship, min, max)) return;
    p_.camera.offset = min + (max - min) * 0.5f;
    p_.camera.offset.w = 0;
    p_.camera.saveOffset(sessionSettings());
}

void ViewCommands::returnHome() {
    p_.flight.returnHome();
    OutputDebugStringA("Tavrel: the ship is back at its start\n");
}
