#include "app/win32/application.h"
#include "app/win32/shell-windows.h"
#include "editor/edit-xform.h"
#include "editor/selection.h"
#include "ui/win32/shell-command-host.h"
#include "ui/win32/status-bar.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <iterator>

#include "core/frame-clock.h"
#include "core/selection-text.h"
#include "core/session-keys.h"
#include "core/session-limits.h"
#include "core/win32/fatal-error.h"
#include "core/win32/input-timing.h"
#include "editor/curvature-scale.h"
#include "flight/flight-model.h"
#include "graphics/d3d11/renderer.h"
#include "graphics/planet-geometry.h"
#include "graphics/zebra-stripes.h"
#include "model/obj-format.h"
#include "model/tree-item-param.h"
#include "resources/resource-ids.h"
#include "ui/win32/commands.h"
#include "ui/win32/document-commands.h"
#include "ui/win32/document-views.h"
#include "ui/win32/key-commands.h"
#include "ui/win32/menu-bar.h"
#include "ui/win32/mouse-handler.h"
#include "ui/win32/palette.h"
#include "ui/win32/recovery.h"
#include "ui/win32/reference-view.h"
#include "ui/win32/settle-frame-on-window-change.h"
#include "ui/win32/shape-window.h"
#include "ui/win32/tool-overlays.h"
#include "ui/win32/tool-window-keys.h"
#include "ui/win32/window-layout.h"
#include "ui/win32/window-places.h"

int viewCount() {
    return shellWindows().layout.viewCount();
}

ShellWindows::ShellWindows()
    : layout({application.main, application.renderer, editorState}),
      views({orbitCamera, editorState, application.ship, layout, application.main,
             application.flight}),
      palette({application.palette, application.session, application.shape, orbitCamera,
               application.ship, application.main, layout, views}),
      mouse({application.session, orbitCamera, application.ship, application.pickAccelerator,
             application.shipCopy, application.inputTiming, application.renderer, application.main,
             layout, application.palette, palette, application.shape}),
      shape(application.shape, application.session, palette),
      overlays({editorState, orbitCamera, application.ship, application.ship, application.shipCopy,
                application.renderer, application.palette, application.shape}),
      reference({application.renderer, editorState, orbitCamera}),
      scene({application.renderer, application.main, editorState, orbitCamera, application.ship,
             application.shipCopy, overlays, palette, reference, layout}),
      main({application.main, application.renderer, application.session, editorState, orbitCamera,
            application.flight, application.shape, shape, palette, mouse, scene, layout,
            application.document, application.files}) {}

ShellWindows& shellWindows() {
    static ShellWindows windows;
    return windows;
}

namespace {

bool registerWindowClasses() {
    struct ClassInfo {
        const char* name;
        WNDPROC procedure;
    };
    const ClassInfo classes[3] = {{"main-view", MainWindow::windowProc},
                                  {"palette", Palette::windowProc},
                                  {"shape-wnd", ShapeWindow::windowProc}};
    HINSTANCE instance = GetModuleHandleA(nullptr);
    bool allRegistered = true;
    for (const ClassInfo& info : classes) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = info.procedure;
        wc.hInstance = instance;
        wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_TAVREL));
        // What no control covers is painted as the dialogs' face (the views are children
        // the main window clips, so their frames are not painted over).
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.lpszClassName = info.name;
        if (!RegisterClassA(&wc)) {
            char line[96];
            std::snprintf(line, sizeof line,
                          "Error: registering class \"%s\" failed with error %lu\n", info.name,
                          GetLastError());
            OutputDebugStringA(line);
            allRegistered = false;
        }
    }
    return allRegistered;
}

// The main window's outer rectangle. The stored geometry is the client area's as the window
// last had it; it is widened by the frame so that the window comes back where it was instead
// of shrinking and creeping at every start. Missing keys, sizes out of range and a place
// off every screen take the outer defaults.
RECT startupWindowRect() {
    const SettingsFile& s = sessionSettings();
    const int storedH = s.readInt(session::kSession, "h", 800);
    const int storedW = s.readInt(session::kSession, "w", 1200);
    const int storedY = s.readInt(session::kSession, "y", session::kUseDefaultPosition);
    const int storedX = s.readInt(session::kSession, "x", session::kUseDefaultPosition);
    const bool hasSize = s.contains(session::kSession, "w") && s.contains(session::kSession, "h") &&
                         session::validWindowSize(storedW, -1) == storedW &&
                         session::validWindowSize(storedH, -1) == storedH;
    const int w = hasSize ? storedW : 1200, h = hasSize ? storedH : 800;
    const session::ScreenArea screen = {
        GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
        GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
        GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    const bool hasPosition = s.contains(session::kSession, "x") &&
                             s.contains(session::kSession, "y") &&
                             session::windowReachable(storedX, storedY, w, h, screen);
    const int x = hasPosition ? storedX : session::kUseDefaultPosition;
    const int y = hasPosition ? storedY : session::kUseDefaultPosition;
    RECT frame = {0, 0, 0, 0}, frameWithoutMenu = {0, 0, 0, 0};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, TRUE); // with its menu bar
    AdjustWindowRect(&frameWithoutMenu, WS_OVERLAPPEDWINDOW, FALSE);
    // The default size grows by the menu bar, so the client area stays what it was.
    const int menuHeight =
        (frame.bottom - frame.top) - (frameWithoutMenu.bottom - frameWithoutMenu.top);
    RECT r;
    r.left = hasPosition ? x + frame.left : x;
    r.top = hasPosition ? y + frame.top : y;
    r.right = hasSize ? w + (frame.right - frame.left) : w;               // width
    r.bottom = hasSize ? h + (frame.bottom - frame.top) : h + menuHeight; // height
    return r;
}

void restoreSelection() {
    Model& model = editedModel();
    const std::string text = sessionSettings().readString(session::kTool, "SelectedPatches", "",
                                                          session::kSelectedPatchesBuffer);
    for (int index :
         parseSelectedPatches(text, model.patches.size(), session::kSelectedPatchesBuffer))
        model.patches[static_cast<size_t>(index)].selected = true;
}

// The shape window's top level, a group's patches in braces: "group_0{patch 1,patch 3}|patch 0".
std::string treeSummary() {
    const ModelTree& tree = shellWindows().shape.tree();
    auto trimmed = [&](TreeItemHandle item) {
        std::string text = tree.itemText(item);
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        return text;
    };
    std::string summary;
    int shown = 0;
    for (TreeItemHandle item = tree.firstChildOf(nullptr); item; item = tree.nextSiblingOf(item)) {
        if (++shown > 64) return summary + "|...";
        if (!summary.empty()) summary += '|';
        summary += trimmed(item);
        const std::optional<uint32_t> param = tree.itemParam(item);
        if (!param || decodeTreeItemParam(*param).kind != TreeItemKind::Group) continue;
        std::string members;
        for (TreeItemHandle child = tree.firstChildOf(item); child;
             child = tree.nextSiblingOf(child))
            members += (members.empty() ? "" : ",") + trimmed(child);
        if (members.size() > 1000) members = members.substr(0, 1000) + "...";
        summary += "{" + members + "}";
    }
    return summary;
}

// One line on the debugger output with what start-up took from the settings and the model.
void reportStartup() {
    const Model& model = editedModel();
    std::vector<int> selected;
    for (size_t i = 0; i < model.patches.size(); ++i)
        if (model.patches[i].selected) selected.push_back(static_cast<int>(i));
    const std::string tree = treeSummary();
    std::vector<char> line(1024 + tree.size());
    std::snprintf(line.data(), line.size(),
                  "Tavrel start-up: CurrentView=%d Tool=%d grid=%d loc=%d distance=%d "
                  "offset=%f,%f,%f theta=%f gamma=%f points=%zu patches=%zu selected=%s "
                  "tree=<%s> LoadedFile=<%s>\n",
                  static_cast<int>(editorState.currentView), static_cast<int>(editorState.tool),
                  editorState.grid ? 1 : 0, editorState.loc ? 1 : 0, orbitCamera.distance,
                  static_cast<double>(orbitCamera.offset.x),
                  static_cast<double>(orbitCamera.offset.y),
                  static_cast<double>(orbitCamera.offset.z), static_cast<double>(orbitCamera.theta),
                  static_cast<double>(orbitCamera.gamma), model.points.size(), model.patches.size(),
                  formatSelectedPatches(selected).c_str(), tree.c_str(), document().path().c_str());
    OutputDebugStringA(line.data());
}

} // namespace

namespace {

// A crash keeps what the user made: the recovery copy is written before the process goes.
LONG WINAPI onUnhandledException(EXCEPTION_POINTERS*) {
    writeRecoveryCopyNow();
    return EXCEPTION_CONTINUE_SEARCH;
}

} // namespace

namespace {

// The process-wide set-up every window needs: the crash handlers, the shortcuts, COM (the
// image decoder is a COM object) and the common controls.
void prepareProcess() {
    SetUnhandledExceptionFilter(onUnhandledException);
    setBeforeFatalExit(writeRecoveryCopyNow);
    claimRecoveryCopy(); // this editor's own copy, locked while it runs
    application.shortcuts = createCommandAccelerators();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls = {sizeof(INITCOMMONCONTROLSEX), 0xFF};
    InitCommonControlsEx(&controls);
    registerWindowClasses();
    settleFrameOnWindowChange([] {
        if (application.renderer && application.renderer->device())
            application.renderer->waitUntilIdle();
    });
}

// The main window (its creation makes the renderer and the tool windows); fatal when it
// cannot be made. Returns whether its place was remembered.
bool createMainWindow(HINSTANCE instance) {
    const RECT r = startupWindowRect();
    editorState.makeTitle(editorState.startupFile, false);
    shellWindows().main.create(instance, r, editorState.title.c_str(), createMenuBar());
    return r.left != session::kUseDefaultPosition;
}

void startFrameClock() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    application.lastCounter = counter.QuadPart;
    application.counterFrequency = frequency.QuadPart;
}

} // namespace

bool startUp(HINSTANCE instance, int showCommand, const std::string& givenFile,
             const std::vector<std::string>& othersGiven) {
    const Stopwatch started;
    readStartupSettings();
    prepareProcess();
    convertRememberedPlacesToMonitorDpi();
    placeWindowsAtStart(createMainWindow(instance));
    ShellWindows& windows = shellWindows(); // made with the main window

    application.entities.push_back(&application.ship);
    editorState.currentEntity = application.entities.back();

    application.shipCopy.setFactory(application.renderer->bufferFactory());
    const double windowsMs = started.milliseconds();
    application.documentViews = makeDocumentViews(
        application.document, {editorState, application.main, application.shipCopy,
                               application.shownTiming, windows.shape, windows.palette});
    application.selectionView =
        makeSelectionView(application.session, windows.shape, windows.palette);
    setCommandWindows({windows.mouse, windows.palette, windows.layout, windows.reference,
                       windows.scene.display(), windows.views});
    application.files.showWholeWith([&windows] { windows.views.frameModel(); });
    // The model is shown before the shape window lists it: on a model of a hundred thousand
    // patches the list takes longer than the picture.
    windows.shape.holdListing(true);
    const bool given = !givenFile.empty();
    openStartupDocument(application.files, application.prompts,
                        given ? givenFile : editorState.startupFile, given);
    windows.shape.holdListing(false);
    const double modelMs = started.milliseconds() - windowsMs;
    windows.scene.loadPictures();

    windows.palette.initialDisplayCheck();
    application.flight.connectController(instance);
    windows.main.releaseKeys();
    ShowWindow(application.main.window, showCommand);
    UpdateWindow(application.main.window);
    startFrameClock();

    if (!given) restoreSelection(); // the session's selection belongs to its own file
    const double beforeFrameMs = started.milliseconds();
    frameRender();
    application.renderer->waitForPresented();
    const double frameMs = started.milliseconds() - beforeFrameMs;
    char shown[120];
    std::snprintf(shown, sizeof shown, "Tavrel first frame shown: %.0f ms after start\n",
                  started.milliseconds());
    OutputDebugStringA(shown);

    const double beforeShapeMs = started.milliseconds();
    windows.shape.rebuild();
    const double shapeMs = started.milliseconds() - beforeShapeMs;
    windows.palette.initialButtonUpdate();
    reportStartup();
    char timing[240];
    std::snprintf(timing, sizeof timing,
                  "Tavrel start-up time: %.0f ms (windows and device %.0f, model file and "
                  "buffers %.0f, first frame %.0f, shape window %.0f)\n",
                  started.milliseconds(), windowsMs, modelMs, frameMs, shapeMs);
    OutputDebugStringA(timing);
    if (given) showStatusMessage(application.files.takeOutcome());
    if (!othersGiven.empty()) {
        std::string others;
        for (const std::string& file : othersGiven)
            others += "\n" + file;
        application.prompts.tell("Tavrel opens one model at a time: only \"" + givenFile +
                                 "\" was opened; the " + std::to_string(othersGiven.size()) +
                                 " other file" +
                                 (othersGiven.size() > 1 ? "s given with it were left as they are:"
                                                         : " given with it was left as it is:") +
                                 others);
    }
    offerRecoveryCopy(application.files, application.prompts);
    return true;
}

void runMessageLoop() {
    MSG msg = {};
    do {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            noteKeyPress(msg);
            // While a rotate or translate drag is under way, X, Y and Z choose its axis and
            // Ctrl snaps it: Ctrl+Z and Ctrl+Y are keys of the drag then, not undo and redo.
            const bool axisKey = (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) &&
                                 (msg.wParam == 'Y' || msg.wParam == 'Z') &&
                                 editorState.transformDrag && (GetKeyState(VK_LBUTTON) & 0x8000);
            if (!axisKey && !isTextBoxEditingKey(msg) && runAcceleratorKeyDuringCapture(msg))
                continue;
            if (!axisKey && !isTextBoxEditingKey(msg) && application.shortcuts &&
                application.main.window &&
                TranslateAcceleratorA(application.main.window, application.shortcuts, &msg))
                continue;
            // Tab and Shift+Tab between the shape window's controls; the main window's keys
            // are not the shape window's and go on as before.
            if (handleShapeWindowKeys(msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            frameTick();
        }
    } while (msg.message != WM_QUIT);
}

void frameTick() {
    application.inputTiming.report();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const float dt =
        frameSeconds(now.QuadPart, application.lastCounter, application.counterFrequency);
    application.lastCounter = now.QuadPart;
    autosaveTick(static_cast<double>(now.QuadPart) /
                 static_cast<double>(application.counterFrequency));

    const bool flying = editorState.mode == Mode::Flight;
    followStatusMode();
    // The editing keys move the camera's target only while editing; in flight the keyboard
    // flies the ship.
    if (!flying) orbitCamera.moveByKeys(dt, shellWindows().main.heldKeys());
    application.flight.readController();
    frameRender();
    if (application.shownTiming.pending()) {
        application.renderer->waitForPresented();
        application.shownTiming.report();
    }
    if (flying) {
        application.flight.step(dt);
        // Speed, altitude above the planet's surface and throttle, every frame of a flight.
        const auto readouts = application.flight.readouts();
        for (int part = 0; part < FlightSession::kReadoutCount; ++part)
            setStatusText(static_cast<StatusPart>(part), readouts[static_cast<size_t>(part)]);
    }
    application.ship.drift(dt);
}

void frameRender() {
    shellWindows().scene.render();
}
