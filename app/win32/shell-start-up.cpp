#include <windows.h>

#include <commctrl.h>

#include <cstdio>

#include "app/win32/shell.h"
#include "core/frame-clock.h"
#include "core/selection-text.h"
#include "core/session-keys.h"
#include "core/session-limits.h"
#include "core/win32/fatal-error.h"
#include "model/tree-item-param.h"
#include "resources/resource-ids.h"
#include "ui/win32/document-commands.h"
#include "ui/win32/document-views.h"
#include "ui/win32/key-commands.h"
#include "ui/win32/menu-bar.h"
#include "ui/win32/recovery.h"
#include "ui/win32/session-settings.h"
#include "ui/win32/settle-frame-on-window-change.h"
#include "ui/win32/shell-command-host.h"
#include "ui/win32/status-bar.h"
#include "ui/win32/window-places.h"

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

} // namespace

void Shell::restoreSelection() {
    Model& model = document.model();
    const std::string text = sessionSettings().readString(session::kTool, "SelectedPatches", "",
                                                          session::kSelectedPatchesBuffer);
    for (int index :
         parseSelectedPatches(text, model.patches.size(), session::kSelectedPatchesBuffer))
        model.patches[static_cast<size_t>(index)].selected = true;
}

// The shape window's top level, a group's patches in braces: "group_0{patch 1,patch 3}|patch 0".
std::string Shell::treeSummary() {
    const ModelTree& tree = shape.tree();
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
void Shell::reportStartup() {
    const Model& model = document.model();
    std::vector<int> selected;
    for (size_t i = 0; i < model.patches.size(); ++i)
        if (model.patches[i].selected) selected.push_back(static_cast<int>(i));
    const std::string tree = treeSummary();
    std::vector<char> line(1024 + tree.size());
    std::snprintf(line.data(), line.size(),
                  "Tavrel start-up: CurrentView=%d Tool=%d grid=%d loc=%d distance=%d "
                  "offset=%f,%f,%f theta=%f gamma=%f points=%zu patches=%zu selected=%s "
                  "tree=<%s> LoadedFile=<%s>\n",
                  static_cast<int>(editor.currentView), static_cast<int>(editor.tool),
                  editor.grid ? 1 : 0, editor.loc ? 1 : 0, camera.distance,
                  static_cast<double>(camera.offset.x), static_cast<double>(camera.offset.y),
                  static_cast<double>(camera.offset.z), static_cast<double>(camera.theta),
                  static_cast<double>(camera.gamma), model.points.size(), model.patches.size(),
                  formatSelectedPatches(selected).c_str(), tree.c_str(), document.path().c_str());
    OutputDebugStringA(line.data());
}

namespace {

// A crash keeps what the user made: the recovery copy is written before the process goes.
LONG WINAPI onUnhandledException(EXCEPTION_POINTERS*) {
    writeRecoveryCopyNow();
    return EXCEPTION_CONTINUE_SEARCH;
}

} // namespace

// The process-wide set-up every window needs: the crash handlers, the shortcuts, COM (the
// image decoder is a COM object) and the common controls.
void Shell::prepareProcess() {
    SetUnhandledExceptionFilter(onUnhandledException);
    setBeforeFatalExit(writeRecoveryCopyNow);
    claimRecoveryCopy(); // this editor's own copy, locked while it runs
    shortcuts = createCommandAccelerators();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls = {sizeof(INITCOMMONCONTROLSEX), 0xFF};
    InitCommonControlsEx(&controls);
    registerWindowClasses();
    settleFrameOnWindowChange([this] {
        if (renderer && renderer->device()) renderer->waitUntilIdle();
    });
}

// The main window (its creation makes the renderer and the tool windows); fatal when it
// cannot be made. Returns whether its place was remembered.
bool Shell::createMainWindow(HINSTANCE instance) {
    const RECT r = startupWindowRect();
    editor.makeTitle(editor.startupFile, false);
    main.create(instance, r, editor.title.c_str(), createMenuBar());
    return r.left != session::kUseDefaultPosition;
}

bool Shell::startUp(HINSTANCE instance, int showCommand, const std::string& givenFile,
                    const std::vector<std::string>& othersGiven) {
    const Stopwatch started;
    readStartupSettings();
    prepareProcess();
    convertRememberedPlacesToMonitorDpi();
    placeWindowsAtStart(createMainWindow(instance));

    entities.push_back(&ship);
    editor.modelReady = true;

    shipCopy.setFactory(renderer->bufferFactory());
    const double windowsMs = started.milliseconds();
    documentViews =
        makeDocumentViews(document, {editor, mainHandles, shipCopy, shownTiming, shape, palette});
    selectionView = makeSelectionView(session, shape, palette);
    files.showWholeWith([this] { views.frameModel(); });
    // The model is shown before the shape window lists it: on a model of a hundred thousand
    // patches the list takes longer than the picture.
    shape.holdListing(true);
    const bool given = !givenFile.empty();
    openStartupDocument(files, prompts, given ? givenFile : editor.startupFile, given);
    shape.holdListing(false);
    const double modelMs = started.milliseconds() - windowsMs;
    scene.loadPictures();

    palette.initialDisplayCheck();
    flight.connectController(instance);
    main.releaseKeys();
    ShowWindow(mainHandles.window, showCommand);
    UpdateWindow(mainHandles.window);
    startFrameClock();

    if (!given) restoreSelection(); // the session's selection belongs to its own file
    const double beforeFrameMs = started.milliseconds();
    frameRender();
    renderer->waitForPresented();
    const double frameMs = started.milliseconds() - beforeFrameMs;
    char shown[120];
    std::snprintf(shown, sizeof shown, "Tavrel first frame shown: %.0f ms after start\n",
                  started.milliseconds());
    OutputDebugStringA(shown);

    const double beforeShapeMs = started.milliseconds();
    shape.rebuild();
    const double shapeMs = started.milliseconds() - beforeShapeMs;
    palette.initialButtonUpdate();
    reportStartup();
    char timing[240];
    std::snprintf(timing, sizeof timing,
                  "Tavrel start-up time: %.0f ms (windows and device %.0f, model file and "
                  "buffers %.0f, first frame %.0f, shape window %.0f)\n",
                  started.milliseconds(), windowsMs, modelMs, frameMs, shapeMs);
    OutputDebugStringA(timing);
    if (given) showStatusMessage(files.takeOutcome());
    if (!othersGiven.empty()) {
        std::string others;
        for (const std::string& file : othersGiven)
            others += "\n" + file;
        prompts.tell("Tavrel opens one model at a time: only \"" + givenFile +
                     "\" was opened; the " + std::to_string(othersGiven.size()) + " other file" +
                     (othersGiven.size() > 1 ? "s given with it were left as they are:"
                                             : " given with it was left as it is:") +
                     others);
    }
    offerRecoveryCopy(files, prompts);
    return true;
}
