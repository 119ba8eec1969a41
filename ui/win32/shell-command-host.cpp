#include "ui/win32/shell-command-host.h"

#include <windows.h>

#include <cstdio>
#include <optional>

#include "core/key-flags.h"
#include "core/session-keys.h"
#include "core/win32/input-timing.h"
#include "editor/command-status.h"
#include "editor/command-table.h"
#include "editor/edit-session.h"
#include "editor/pending-points.h"
#include "editor/recent-files.h"
#include "flight/vaisseau.h"
#include "ui/palette-buttons.h"
#include "ui/win32/about-box.h"
#include "ui/win32/clipboard-text.h"
#include "ui/win32/commands.h"
#include "ui/win32/document-commands.h"
#include "ui/win32/gesture-ends.h"
#include "ui/win32/main-window-handles.h"
#include "ui/win32/mouse-handler.h"
#include "ui/win32/palette-handles.h"
#include "ui/win32/palette.h"
#include "ui/win32/recent-file-list.h"
#include "ui/win32/reference-view.h"
#include "ui/win32/session-settings.h"
#include "ui/win32/shape-window-handles.h"
#include "ui/win32/shape-window.h"
#include "ui/win32/shortcut-sheet-window.h"
#include "ui/win32/status-bar.h"
#include "ui/win32/view-commands.h"
#include "ui/win32/window-layout.h"
#include "view/orbit-camera.h"

// What the commands act on, given by the shell.
static std::optional<ShellCommandParts> parts;

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
                  parts->display.planetVisible, parts->display.sphereMeshVisible,
                  parts->display.wireSphereVisible);
    OutputDebugStringA(line);
}

// The view modes follow each other as the palette's first button steps through them: the
// steps up to the one chosen, then its layout.
void chooseView(ViewMode view) {
    EditorState& editor = parts->session.state();
    if (editor.currentView == view) return;
    for (int step = 0; step < kViewModeCount && editor.currentView != view; ++step)
        parts->camera.switchView(editor.currentView, sessionSettings());
    if ((view == ViewMode::Quad) != parts->layout.quad())
        parts->layout.switchTo(view == ViewMode::Quad ? Layout::Quad : Layout::Single);
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
            parts->shownTiming.phase("shape window");
        else
            parts->shownTiming.cancel();
        break;
    case C::Export:
        documentFiles().exportSurfaces();
        break;
    case C::Exit:
        PostMessageA(parts->main.window, WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
    return documentFiles().takeOutcome();
}

void runViewCommand(CommandId id) {
    switch (id) {
    case C::Orthographic:
        parts->views.switchProjection();
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
        parts->views.switchView();
        break;
    case C::Planet:
        switchDisplayFlag(parts->display.planetVisible);
        break;
    case C::Sphere:
        switchDisplayFlag(parts->display.sphereMeshVisible);
        break;
    case C::WireSphere:
        switchDisplayFlag(parts->display.wireSphereVisible);
        break;
    case C::FrameSelection:
        parts->views.frameModel();
        break;
    case C::CentreView:
        parts->views.centerView();
        break;
    case C::CentreOnSelection:
        parts->views.centerOnSelection();
        break;
    case C::ChoosePicture:
        parts->reference.choosePicture();
        break;
    case C::RemovePicture:
        parts->reference.removePicture();
        break;
    case C::ShowPalette:
        showToolWindow(parts->paletteHandles.window);
        break;
    case C::ShowShapeWindow:
        showToolWindow(parts->shape.window);
        break;
    default:
        break;
    }
}

class ShellCommandHost final : public CommandHost {
  public:
    CommandOutcome run(CommandId id) override {
        if (const auto button = paletteButtonOf(id)) {
            parts->palette.pressButton(*button);
        } else if (const auto change = pictureChangeOf(id)) {
            parts->reference.changePicture(*change);
        } else if (id == C::TakeBackPoint) {
            EditorState& editor = parts->session.state();
            removeLastPendingPoint(editor.pendingPoints, parts->shape.treeView);
            updateTakeBackButton(parts->main.toolbar, editor);
        } else if (id == C::Home) {
            parts->views.returnHome();
            parts->palette.updateStopButton();
        } else if (id == C::KeyboardShortcuts) {
            shortcutSheet().show(parts->main.window);
        } else if (id == C::About) {
            showAboutBox(parts->main.window);
        } else if (command(id).menu == Menu::File) {
            return {true, runFileCommand(id)};
        } else {
            runViewCommand(id);
        }
        return {true, ""};
    }

    bool canRun(CommandId id) const override {
        if (pictureChangeOf(id) || id == C::RemovePicture) return parts->reference.hasPicture();
        if (id == C::Stop)
            return parts->session.state().mode == Mode::Flight || !parts->ship.atHome();
        if (id == C::OpenRecent) return false; // its entries are the files
        return true;
    }

    bool checked(CommandId id) const override {
        switch (id) {
        case C::Orthographic:
            return parts->camera.orthographic;
        case C::Wireframe:
            return parts->palette.wireframeChecked();
        case C::Planet:
            return parts->display.planetVisible;
        case C::Sphere:
            return parts->display.sphereMeshVisible;
        case C::WireSphere:
            return parts->display.wireSphereVisible;
        case C::ShowPalette:
            return windowShown(parts->paletteHandles.window);
        case C::ShowShapeWindow:
            return windowShown(parts->shape.window);
        case C::Dissociate:
            return parts->palette.buttonChecked(palette::Dissociate);
        case C::Joint:
            return parts->palette.buttonChecked(palette::Joint);
        default:
            return false;
        }
    }

    void finishGestures() override { ::finishGestures(parts->session); }

    void selectionChanged(const char* why, bool remember) override {
        parts->session.selectionChanged(why, remember);
    }

    void rememberSetting(const char* key, int value) override {
        sessionSettings().writeInt(session::kSession, key, value);
    }

    bool putOnClipboard(const std::string& text) override {
        return putTextOnClipboard(parts->main.window, text);
    }
    std::optional<std::string> clipboardText() override {
        return ::clipboardText(parts->main.window);
    }

    std::optional<PointerSpot> patchUnderPointer() const override {
        const std::optional<PatchSpot> spot =
            parts ? parts->mouse.patchUnderPointer() : std::nullopt;
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

namespace {

ShellCommandHost host;
std::optional<CommandContext> context;

} // namespace

void connectShellCommands(const ShellCommandParts& given) {
    parts.emplace(given);
    context.emplace(CommandContext{given.document, given.session.state(), host});
}

CommandContext& shellCommandContext() {
    return *context;
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
    if (!context || !context->editor.modelReady) return;
    const char* timed = timedName(id);
    if (timed && canRun(command(id), shellCommandContext())) parts->inputTiming.start(timed);
    const unsigned messagesBefore = statusMessageWrites();
    const CommandOutcome outcome = runCommand(id, shellCommandContext());
    if (timed && outcome.ran && id != C::Delete) parts->inputTiming.report();
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
