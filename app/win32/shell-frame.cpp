#include <windows.h>

#include "app/win32/shell.h"
#include "core/frame-clock.h"
#include "ui/win32/key-commands.h"
#include "ui/win32/recovery.h"
#include "ui/win32/status-bar.h"
#include "ui/win32/tool-window-keys.h"

void Shell::startFrameClock() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    lastCounter = counter.QuadPart;
    counterFrequency = frequency.QuadPart;
}

void Shell::runMessageLoop() {
    MSG msg = {};
    do {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            noteKeyPress(msg, editor.mode);
            // While a rotate or translate drag is under way, X, Y and Z choose its axis and
            // Ctrl snaps it: Ctrl+Z and Ctrl+Y are keys of the drag then, not undo and redo.
            const bool axisKey = (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) &&
                                 (msg.wParam == 'Y' || msg.wParam == 'Z') && editor.transformDrag &&
                                 (GetKeyState(VK_LBUTTON) & 0x8000);
            if (!axisKey && !isTextBoxEditingKey(msg) &&
                runAcceleratorKeyDuringCapture(msg, editor.mode))
                continue;
            if (!axisKey && !isTextBoxEditingKey(msg) && shortcuts && mainHandles.window &&
                TranslateAcceleratorA(mainHandles.window, shortcuts, &msg))
                continue;
            // Tab and Shift+Tab between the shape window's controls; the main window's keys
            // are not the shape window's and go on as before.
            if (handleShapeWindowKeys(shapeHandles.window, msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            frameTick();
        }
    } while (msg.message != WM_QUIT);
}

void Shell::frameTick() {
    inputTiming.report();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const float dt = frameSeconds(now.QuadPart, lastCounter, counterFrequency);
    lastCounter = now.QuadPart;
    autosaveTick(static_cast<double>(now.QuadPart) / static_cast<double>(counterFrequency));

    const bool flying = editor.mode == Mode::Flight;
    followStatusMode();
    // The editing keys move the camera's target only while editing; in flight the keyboard
    // flies the ship.
    if (!flying) camera.moveByKeys(dt, main.heldKeys());
    flight.readController();
    frameRender();
    if (shownTiming.pending()) {
        renderer->waitForPresented();
        shownTiming.report();
    }
    if (flying) {
        flight.step(dt);
        // Speed, altitude above the planet's surface and throttle, every frame of a flight.
        const auto readouts = flight.readouts();
        for (int part = 0; part < FlightSession::kReadoutCount; ++part)
            setStatusText(static_cast<StatusPart>(part), readouts[static_cast<size_t>(part)]);
    }
    ship.drift(dt);
}

void Shell::frameRender() {
    scene.render();
}
