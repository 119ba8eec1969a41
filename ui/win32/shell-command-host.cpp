#include "ui/win32/shell-command-host.h"

#include <windows.h>

#include <cstdio>
#include <optional>

#include "core/key-flags.h"
#include "core/session-keys.h"
#include "editor/command-status.h"
#include "editor/command-table.h"
#include "editor/pending-points.h"
#include "editor/recent-files.h"
#include "ui/palette-buttons.h"
#include "ui/win32/about-box.h"
#include "ui/win32/clipboard-text.h"
#include "ui/win32/commands.h"
#include "ui/win32/document-commands.h"
#include "ui/win32/gesture-ends.h"
#include "ui/win32/mouse-handler.h"
#include "ui/win32/palette.h"
#include "ui/win32/recent-file-list.h"
#include "ui/win32/records.h"
#include "ui/win32/reference-view.h"
#include "ui/win32/shape-window.h"
#include "ui/win32/shortcut-sheet-window.h"
#include "ui/win32/status-bar.h"
#include "ui/win32/view-commands.h"
#include "ui/win32/window-layout.h"

// The windows the commands act on, given by the shell at start-up.
static std::optional<CommandWindows> commandWindows;

namespace {

using C = CommandId;

// The shortcut sheet, one for the program (F1 again brings it forward).
ShortcutSheetWindow& shortcutSheet() {
    static ShortcutSheetWindow sheet;
    return sheet;
}

void showToolWindow(HWND window) {
    if (!window) return;
    ShowWindow(window, SW_SHOWNORMAL);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool windowShown(HWND window) {
    return window && IsWindowVisible(window);
}

void reportDisplayFlags() {
    char line[96];
    std::snprintf(line, sizeof line, "Tavrel display: planet=%d sphere=%d wire=%d\n",
                  commandWindows->display.planetVisible, commandWindows->display.sphereMeshVisible,
                  commandWindows->display.wireSphereVisible);
    OutputDebugStringA(line);
}

// The view modes follow each other as the palette's first button steps through them: the
// steps up to the one chosen, then its layout.
void chooseView(ViewMode view) {
    if (editorState.currentView == view) return;
    for (int step = 0; step < kViewModeCount && editorState.currentView != view; ++step)
        orbitCamera.switchView(editorState.currentView, sessionSettings());
    if ((view == ViewMode::Quad) != commandWindows->layout.quad())
        commandWindows->layout.switchTo(view == ViewMode::Quad ? Layout::Quad : Layout::Single);
}

std::optional<int> paletteButtonOf(CommandId id) {
    return palette::buttonPressedBy(id);
}

std::optional<PictureChange> pictureChangeOf(CommandId id) {
    switch (id) {
    case C::PictureLeft:
        return PictureChange::Left;
    case C::PictureRight:
        return PictureChange::Right;
    case C::PictureUp:
        return PictureChange::Up;
    case C::PictureDown:
        return PictureChange::Down;
    case C::PictureLarger:
        return PictureChange::Larger;
    case C::PictureSmaller:
        return PictureChange::Smaller;
    case C::PictureMoreOpaque:
        return PictureChange::MoreOpaque;
    case C::PictureLessOpaque:
        return PictureChange::LessOpaque;
    default:
        return std::nullopt;
    }
}

void switchDisplayFlag(bool& flag) {
    flag = !flag;
    reportDisplayFlags();
}

// What the file command did, or why not ("" when the user gave it up).
std::string runFileCommand(CommandId id) {
    documentFiles().takeOutcome(); // what an earlier one (a recent file, a drop) left
    switch (id) {
    case C::New:
        documentFiles().newDocument();
        break;
    case C::Open:
        documentFiles().open();
        break;
    case C::Save:
        documentFiles().save();
        break;
    case C::SaveAs:
        documentFiles().saveAs();
        break;
    case C::Import:
        // The shape window is remade after the buffers, with the title and the buttons.
        if (documentFiles().import())
            application.shownTiming.phase("shape window");
        else
            application.shownTiming.cancel();
        break;
    case C::Export:
        documentFiles().exportSurfaces();
        break;
    case C::Exit:
        PostMessageA(application.main.window, WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
    return documentFiles().takeOutcome();
}

void runViewCommand(CommandId id) {
    switch (id) {
    case C::Orthographic:
        commandWindows->views.switchProjection();
        break;
    case C::OrbitView:
        chooseView(ViewMode::Orbit);
        break;
    case C::FrontView:
        chooseView(ViewMode::Front);
        break;
    case C::SideView:
        chooseView(ViewMode::Side);
        break;
    case C::TopView:
        chooseView(ViewMode::Top);
        break;
    case C::QuadLayout:
        chooseView(ViewMode::Quad);
        break;
    case C::NextView:
        commandWindows->views.switchView();
        break;
    case C::Planet:
        switchDisplayFlag(commandWindows->display.planetVisible);
        break;
    case C::Sphere:
        switchDisplayFlag(commandWindows->display.sphereMeshVisible);
        break;
    case C::WireSphere:
        switchDisplayFlag(commandWindows->display.wireSphereVisible);
        break;
    case C::FrameSelection:
        commandWindows->views.frameModel();
        break;
    case C::CentreView:
        commandWindows->views.centerView();
        break;
    case C::CentreOnSelection:
        commandWindows->views.centerOnSelection();
        break;
    case C::ChoosePicture:
        commandWindows->reference.choosePicture();
        break;
    case C::RemovePicture:
        commandWindows->reference.removePicture();
        break;
    case C::ShowPalette:
        showToolWindow(application.palette.window);
        break;
    case C::ShowShapeWindow:
        showToolWindow(application.shape.window);
        break;
    default:
        break;
    }
}

class ShellCommandHost final : public CommandHost {
  public:
    CommandOutcome run(CommandId id) override {
        if (const auto button = paletteButtonOf(id)) {
            commandWindows->palette.pressButton(*button);
        } else if (const auto change = pictureChangeOf(id)) {
            commandWindows->reference.changePicture(*change);
        } else if (id == C::TakeBackPoint) {
            removeLastPendingPoint(editorState.pendingPoints, application.shape.treeView);
            updateTakeBackButton(application.main.toolbar, editorState);
        } else if (id == C::Home) {
            commandWindows->views.returnHome();
            commandWindows->palette.updateStopButton();
        } else if (id == C::KeyboardShortcuts) {
            shortcutSheet().show(application.main.window);
        } else if (id == C::About) {
            showAboutBox(application.main.window);
        } else if (command(id).menu == Menu::File) {
            return {true, runFileCommand(id)};
        } else {
            runViewCommand(id);
        }
        return {true, ""};
    }

    bool canRun(CommandId id) const override {
        if (pictureChangeOf(id) || id == C::RemovePicture)
            return commandWindows->reference.hasPicture();
        if (id == C::Stop) return editorState.mode == Mode::Flight || !application.ship.atHome();
        if (id == C::OpenRecent) return false; // its entries are the files
        return true;
    }

    bool checked(CommandId id) const override {
        switch (id) {
        case C::Orthographic:
            return orbitCamera.orthographic;
        case C::Wireframe:
            return commandWindows->palette.wireframeChecked();
        case C::Planet:
            return commandWindows->display.planetVisible;
        case C::Sphere:
            return commandWindows->display.sphereMeshVisible;
        case C::WireSphere:
            return commandWindows->display.wireSphereVisible;
        case C::ShowPalette:
            return windowShown(application.palette.window);
        case C::ShowShapeWindow:
            return windowShown(application.shape.window);
        case C::Dissociate:
            return commandWindows->palette.buttonChecked(palette::Dissociate);
        case C::Joint:
            return commandWindows->palette.buttonChecked(palette::Joint);
        default:
            return false;
        }
    }

    void finishGestures() override { ::finishGestures(application.session); }

    void selectionChanged(const char* why, bool remember) override {
        application.session.selectionChanged(why, remember);
    }

    void rememberSetting(const char* key, int value) override {
        sessionSettings().writeInt(session::kSession, key, value);
    }

    bool putOnClipboard(const std::string& text) override { return putTextOnClipboard(text); }
    std::optional<std::string> clipboardText() override { return ::clipboardText(); }

    std::optional<PointerSpot> patchUnderPointer() const override {
        const std::optional<PatchSpot> spot =
            commandWindows ? commandWindows->mouse.patchUnderPointer() : std::nullopt;
        if (!spot) return std::nullopt;
        return PointerSpot{spot->patch, spot->u, spot->v};
    }
};

// What a command said, in the status bar and for the debugger (the end-to-end tests read
// the surface edits' reports there). A command that wrote the message part itself (a view
// switch saying its key, a frame) keeps its line; every other says one made for it.
void report(CommandId id, const CommandOutcome& outcome, unsigned messagesBefore) {
    if (outcome.warn) MessageBeep(MB_ICONWARNING);
    if (!outcome.text.empty() || statusMessageWrites() == messagesBefore)
        showStatusMessage(statusLine(command(id), outcome, shellCommandContext()));
    if (outcome.text.empty()) return;
    const Menu menu = command(id).menu;
    const char* const kind = menu == Menu::Edit || menu == Menu::Surface || id == C::JoinsDisplay
                                 ? "surface edit"
                                 : "command";
    OutputDebugStringA(("Tavrel " + std::string(kind) + ": " + outcome.text + "\n").c_str());
}

// How long these take to show is measured (the timings' names are the debugger's).
const char* timedName(CommandId id) {
    switch (id) {
    case C::Undo:
        return "undo";
    case C::Redo:
        return "redo";
    case C::Delete:
        return "delete";
    default:
        return nullptr;
    }
}

} // namespace

void setCommandWindows(const CommandWindows& given) {
    commandWindows.emplace(given);
}

CommandContext& shellCommandContext() {
    static ShellCommandHost host;
    static CommandContext context{document(), editorState, host};
    return context;
}

std::optional<CommandId>& lastRun() {
    static std::optional<CommandId> id;
    return id;
}

std::optional<CommandId> lastShellCommand() {
    return lastRun();
}

void runShellCommand(CommandId id) {
    lastRun() = id;
    // Before start-up has made the model there is nothing to run a command on.
    if (!editorState.currentEntity) return;
    const char* timed = timedName(id);
    if (timed && canRun(command(id), shellCommandContext())) application.inputTiming.start(timed);
    const unsigned messagesBefore = statusMessageWrites();
    const CommandOutcome outcome = runCommand(id, shellCommandContext());
    if (timed && outcome.ran && id != C::Delete) application.inputTiming.report();
    report(id, outcome, messagesBefore);
}

void openRecentFile(size_t index) {
    const std::vector<std::string>& files = recentFiles().files();
    if (index >= files.size()) return;
    const std::string path = files[index];
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        forgetRecentFile(path);
        const std::string gone = "Tavrel cannot find \"" + path +
                                 "\": it is no longer there and leaves the recent files.";
        documentPrompts().tell(gone);
        showStatusMessage(gone);
        return;
    }
    openNamedFile(path, false);
}
