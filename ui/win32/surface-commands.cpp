#include "ui/win32/surface-commands.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "core/session-keys.h"
#include "editor/extrude-edges.h"
#include "editor/patch-copies.h"
#include "editor/pending-points.h"
#include "editor/selection.h"
#include "editor/smooth-joins.h"
#include "editor/split-patches.h"
#include "ui/win32/commands.h"
#include "ui/win32/mouse-handler.h"
#include "ui/win32/palette.h"
#include "ui/win32/records.h"
#include "ui/win32/shape-window.h"
#include "ui/win32/status-bar.h"

namespace {

// What a command did, in the status bar and for the debugger (the end-to-end tests).
void say(const std::string& text) {
    setStatusText(StatusPart::Message, text);
    OutputDebugStringA(("Tavrel surface edit: " + text + "\n").c_str());
}

// What copy takes, as duplicate and mirror do: the selected patches that are shown.
size_t shownSelectedCount(const Model& model) {
    return static_cast<size_t>(
        std::count_if(model.patches.begin(), model.patches.end(),
                      [&](const Model::Patch& p) { return p.selected && model.isShown(p); }));
}

// After a command that selected new patches: the palette, the remembered selection, and
// (choosing points) the chosen points follow.
void selectionChanged(const char* why) {
    refreshSelectionPanel();
    reportSelection(why);
}

bool putOnClipboard(const std::string& text) {
    if (!OpenClipboard(application.mainWindow)) return false;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    bool put = false;
    if (memory) {
        if (void* at = GlobalLock(memory)) {
            std::memcpy(at, text.c_str(), text.size() + 1);
            GlobalUnlock(memory);
            put = SetClipboardData(CF_TEXT, memory) != nullptr;
        }
        if (!put) GlobalFree(memory);
    }
    CloseClipboard();
    return put;
}

std::optional<std::string> clipboardText() {
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(application.mainWindow))
        return std::nullopt;
    std::optional<std::string> text;
    if (HANDLE memory = GetClipboardData(CF_TEXT)) {
        if (const auto* at = static_cast<const char*>(GlobalLock(memory))) {
            text = std::string(at, strnlen(at, GlobalSize(memory)));
            GlobalUnlock(memory);
        }
    }
    CloseClipboard();
    return text;
}

} // namespace

void extrudeCommand() {
    if (!editorState.currentEntity) return;
    const Model& model = editedModel();
    std::vector<uint8_t> chosen(model.points.size());
    if (editorState.choosingPoints)
        for (uint32_t i : editorState.chosenPoints.indices())
            if (i < chosen.size()) chosen[i] = 1;
    ExtrudeResult result;
    editDocument("Extrude", [&](Model& edited) {
        result = extrudeEdges(edited, chosen);
        return result.edges > 0;
    });
    if (result.edges == 0) {
        say("extrude: choose the four points of a free side (P, then a band over them)");
        return;
    }
    // The new far rows are chosen, ready to be dragged.
    editorState.chosenPoints.choose(result.farPoints, {}, editedModel().points.size());
    say(extrudedText(result.edges));
    selectionChanged("extrude");
}

void splitCommand(SplitKind kind) {
    if (!editorState.currentEntity) return;
    std::vector<uint32_t> patches;
    float u = 0.5f, v = 0.5f;
    if (const std::optional<PatchSpot> spot = patchUnderPointer()) {
        patches.push_back(spot->patch);
        u = std::clamp(spot->u, 0.05f, 0.95f);
        v = std::clamp(spot->v, 0.05f, 0.95f);
    } else {
        const Model& model = editedModel();
        for (size_t p = 0; p < model.patches.size(); ++p)
            if (model.patches[p].selected && model.isShown(p))
                patches.push_back(static_cast<uint32_t>(p));
    }
    if (patches.empty()) {
        say("split: point at a patch, or select the patches to split in half");
        return;
    }
    SplitResult total;
    const std::vector<vm::Vec4> pendingAt = pendingPositions(editorState.pendingPoints);
    editDocument("Split", [&](Model& edited) {
        total = kind == SplitKind::Four
                    ? splitIntoFour(edited, patches, u, v)
                    : splitPatches(edited, patches,
                                   kind == SplitKind::AtU ? SplitDirection::U : SplitDirection::V,
                                   kind == SplitKind::AtU ? u : v);
        return total.patches > 0;
    });
    if (!total.refusal.empty()) {
        MessageBeep(MB_ICONWARNING);
        say("split refused: " + total.refusal);
        return;
    }
    followRenumbering(editorState.pendingPoints, total.renumbered, pendingAt);
    char text[160];
    std::snprintf(text, sizeof text, "split %zu patches %s", total.patches,
                  kind == SplitKind::Four  ? "in four"
                  : kind == SplitKind::AtU ? "across u"
                                           : "across v");
    say(text);
    selectionChanged("split");
}

void duplicateCommand(bool inPlace) {
    if (!editorState.currentEntity) return;
    const vm::Float3 offset = inPlace ? vm::Float3{} : duplicateOffset(editedModel());
    size_t made = 0;
    editDocument("Duplicate", [&](Model& model) {
        made = duplicateSelection(model, offset);
        return made > 0;
    });
    if (made == 0) {
        say("duplicate: select the patches to copy");
        return;
    }
    say("duplicated " + std::to_string(made) + " patches" + (inPlace ? " in place" : ""));
    selectionChanged("duplicate");
}

void copyCommand() {
    if (!editorState.currentEntity) return;
    const Model& model = editedModel();
    const std::string text = selectionText(model);
    if (text.empty()) {
        say("copy: select the patches to copy");
        return;
    }
    if (!putOnClipboard(text)) {
        say("copy: the clipboard could not be opened");
        return;
    }
    say("copied " + std::to_string(shownSelectedCount(model)) + " patches");
}

void pasteCommand() {
    if (!editorState.currentEntity) return;
    const std::optional<std::string> text = clipboardText();
    if (!text) {
        say("paste: the clipboard holds no text");
        return;
    }
    size_t added = 0;
    std::string why;
    editDocument("Paste", [&](Model& model) {
        added = pasteText(model, *text, why);
        return added > 0;
    });
    if (added == 0) {
        MessageBeep(MB_ICONWARNING);
        say("paste refused: " + why);
        return;
    }
    say("pasted " + std::to_string(added) + " patches");
    selectionChanged("paste");
}

void mirrorCopyCommand() {
    if (!editorState.currentEntity) return;
    const Axis held = heldAxis();
    const Axis axis = held == Axis::Free ? Axis::X : held;
    const vm::Vec4 pivot = editorState.chosenPivot.value_or(vm::Vec4{0, 0, 0, 1});
    size_t made = 0;
    editDocument("Mirror copy", [&](Model& model) {
        made = mirrorSelection(model, axis, pivot);
        return made > 0;
    });
    if (made == 0) {
        say("mirror copy: select the patches to mirror");
        return;
    }
    const char* names[] = {"x", "x", "y", "z"};
    say("mirrored " + std::to_string(made) + " patches across the " +
        names[static_cast<int>(axis)] + " plane");
    selectionChanged("mirror");
}

void symmetryRealCommand() {
    if (!editorState.currentEntity) return;
    size_t made = 0;
    editDocument("Make symmetry real", [&](Model& model) {
        made = makeSymmetriesReal(model);
        return made > 0;
    });
    say(made ? "made " + std::to_string(made) + " symmetries real"
             : std::string("make real: select a symmetry or one of its patches"));
    if (made) selectionChanged("symmetry made real");
}

void smoothJoinsCommand() {
    if (!editorState.currentEntity) return;
    SmoothResult result;
    editDocument("Smooth joins", [&](Model& model) {
        result = smoothSelectedJoins(model);
        return result.joins > 0;
    });
    if (result.joins == 0) {
        say("smooth: select two patches that share an edge (or a symmetry's patch on its "
            "plane)");
        return;
    }
    say(smoothResultText(result));
}

void switchJoinsDisplay() {
    editorState.showJoins = !editorState.showJoins;
    sessionSettings().writeInt(session::kSession, "joins", editorState.showJoins ? 1 : 0);
    if (editorState.showJoins)
        reportJoins();
    else
        setStatusText(StatusPart::Message, "joins display off (G)");
}

void reportJoins() {
    if (!editorState.currentEntity || !editorState.showJoins) return;
    const JoinSummary joins = selectedJoins(editedModel());
    char text[160];
    if (joins.edges == 0)
        std::snprintf(text, sizeof text, "joins shown (G): select patches for their angles");
    else
        std::snprintf(text, sizeof text, "joins of the selection: %zu, largest angle %.2f\xB0",
                      joins.edges, static_cast<double>(joins.largest));
    say(text);
}
