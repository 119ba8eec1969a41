#include "editor/command-states.h"

#include <algorithm>

#include "editor/command-runs.h"
#include "editor/document.h"
#include "editor/editor-state.h"

namespace {

// Sides of a patch have four points: fewer chosen cannot make a free side.
constexpr size_t kPointsOfASide = 4;

const Model& modelOf(const CommandContext& context) {
    return context.document.model();
}

std::optional<Tool> toolOf(CommandId id) {
    switch (id) {
    case CommandId::SelectTool:
        return Tool::Select;
    case CommandId::AddTool:
        return Tool::Add;
    case CommandId::RotateTool:
        return Tool::Rotate;
    case CommandId::TranslateTool:
        return Tool::Translate;
    case CommandId::ScaleTool:
        return Tool::Scale;
    case CommandId::LocatorTool:
        return Tool::Locator;
    default:
        return std::nullopt;
    }
}

std::optional<ViewMode> viewOf(CommandId id) {
    switch (id) {
    case CommandId::OrbitView:
        return ViewMode::Orbit;
    case CommandId::FrontView:
        return ViewMode::Front;
    case CommandId::SideView:
        return ViewMode::Side;
    case CommandId::TopView:
        return ViewMode::Top;
    case CommandId::QuadLayout:
        return ViewMode::Quad;
    default:
        return std::nullopt;
    }
}

} // namespace

bool canUndo(const CommandContext& context, CommandId) {
    return context.document.history().canUndo();
}

bool canRedo(const CommandContext& context, CommandId) {
    return context.document.history().canRedo();
}

bool canTakeBackPoint(const CommandContext& context, CommandId id) {
    return context.editor.tool == Tool::Add && !context.editor.pendingPoints.empty() &&
           context.host.canRun(id);
}

bool hasShownSelection(const CommandContext& context, CommandId) {
    return hasShownSelection(context);
}

bool hasSelectedPatch(const CommandContext& context, CommandId) {
    const auto& patches = modelOf(context).patches;
    return std::any_of(patches.begin(), patches.end(),
                       [](const Model::Patch& p) { return p.selected; });
}

bool hasPatches(const CommandContext& context, CommandId) {
    return !modelOf(context).patches.empty();
}

bool hasChosenSide(const CommandContext& context, CommandId) {
    return context.editor.choosingPoints && context.editor.chosenPoints.size() >= kPointsOfASide;
}

bool canSplit(const CommandContext& context, CommandId) {
    return context.host.patchUnderPointer() || hasShownSelection(context);
}

bool hasSelectedSymmetry(const CommandContext& context, CommandId) {
    const Model& model = modelOf(context);
    for (size_t g = 0; g < model.groups.size(); ++g)
        if (model.groups[g]->selected && model.isSymmetry(static_cast<int>(g))) return true;
    return std::any_of(model.patches.begin(), model.patches.end(), [&](const Model::Patch& p) {
        return p.selected && model.isSymmetry(p.group);
    });
}

// As the palette's button: two things selected, patches or groups.
bool canGroup(const CommandContext& context, CommandId) {
    constexpr size_t kItemsToGroup = 2;
    const Model& model = modelOf(context);
    size_t selected = 0;
    for (const Model::Patch& p : model.patches)
        if (p.selected && ++selected >= kItemsToGroup) return true;
    for (const auto& g : model.groups)
        if (g->selected && ++selected >= kItemsToGroup) return true;
    return false;
}

bool hasGroupedSelection(const CommandContext& context, CommandId) {
    const auto& patches = modelOf(context).patches;
    return std::any_of(patches.begin(), patches.end(),
                       [](const Model::Patch& p) { return p.selected && p.group >= 0; });
}

bool hasPointUnderMouse(const CommandContext& context, CommandId) {
    const EditorState& editor = context.editor;
    return editor.hotPoint && editor.hoveredPoint >= 0 &&
           static_cast<size_t>(editor.hoveredPoint) < modelOf(context).points.size();
}

bool choosingPoints(const CommandContext& context, CommandId) {
    return context.editor.choosingPoints;
}

bool shaded(const CommandContext& context, CommandId) {
    return context.editor.shaded;
}

bool showingZebra(const CommandContext& context, CommandId) {
    return context.editor.zebra;
}

bool keepingJoinsSmooth(const CommandContext& context, CommandId) {
    return context.editor.liveJoins;
}

bool showingCurvature(const CommandContext& context, CommandId) {
    return context.editor.curvature;
}

bool showingJoins(const CommandContext& context, CommandId) {
    return context.editor.showJoins;
}

bool showingGrid(const CommandContext& context, CommandId) {
    return context.editor.grid;
}

bool flying(const CommandContext& context, CommandId) {
    return context.editor.mode == Mode::Flight;
}

bool currentTool(const CommandContext& context, CommandId id) {
    return toolOf(id) == context.editor.tool;
}

bool currentView(const CommandContext& context, CommandId id) {
    return viewOf(id) == context.editor.currentView;
}

bool hostChecked(const CommandContext& context, CommandId id) {
    return context.host.checked(id);
}
