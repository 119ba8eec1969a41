#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "editor/command-runs.h"
#include "editor/command-states.h"
#include "editor/curvature-joins.h"
#include "editor/document.h"
#include "editor/editor-state.h"
#include "editor/extrude-edges.h"
#include "editor/model-operations.h"
#include "editor/patch-copies.h"
#include "editor/pending-points.h"
#include "editor/size-tolerance.h"
#include "editor/smooth-joins.h"
#include "editor/split-patches.h"

namespace {

// A cut this near a patch's side would make a sliver: the pointer's spot is kept inside.
constexpr float kSplitMargin = 0.05f;
constexpr float kHalf = 0.5f;

const char* splitText(SplitKind kind) {
    return kind == SplitKind::InFour    ? "in four"
           : kind == SplitKind::AcrossU ? "across u"
                                        : "across v";
}

// A point that smoothing leaves within this fraction of the selection's size of where it was
// is put back exactly: solving joins that are already smooth again moves points by rounding
// alone, which must not become an undo step, mark the document changed or drift the numbers.
constexpr float kRoundingOnly = 1e-6f;

// Runs a join solver (true: it had joins to solve) as one edit, putting back the points it
// moved by rounding alone; whether any point moved more.
bool solveJoins(CommandContext& context, const char* name,
                const std::function<bool(Model&)>& solve) {
    bool moved = false;
    editModel(context, name, [&](Model& model) {
        const std::vector<vm::Float3> before = model.points;
        std::vector<size_t> selected;
        for (size_t p = 0; p < model.patches.size(); ++p)
            if (model.patches[p].selected) selected.push_back(p);
        const float size = extentOf(model, selected);
        const float tolerance = kRoundingOnly * (size > 0 ? size : 1.0f);
        const bool solved = solve(model);
        for (size_t i = 0; i < before.size(); ++i) {
            vm::Float3& p = model.points[i];
            const vm::Float3& was = before[i];
            if (std::fabs(p.x - was.x) <= tolerance && std::fabs(p.y - was.y) <= tolerance &&
                std::fabs(p.z - was.z) <= tolerance)
                p = was;
            else
                moved = true;
        }
        return solved;
    });
    return moved;
}

} // namespace

CommandOutcome extrudeFreeSides(CommandContext& context) {
    EditorState& editor = context.editor;
    std::vector<uint8_t> chosen(context.document.model().points.size());
    if (editor.choosingPoints)
        for (uint32_t i : editor.chosenPoints.indices())
            if (i < chosen.size()) chosen[i] = 1;
    ExtrudeResult result;
    editModel(context, "Extrude", [&](Model& model) {
        result = extrudeEdges(model, chosen);
        return result.edges > 0;
    });
    if (result.edges == 0)
        return {false, "extrude: choose the four points of a free side (P, then a band over them)"};
    // The new far rows are chosen, ready to be dragged.
    editor.chosenPoints.choose(result.farPoints, {}, context.document.model().points.size());
    context.host.selectionChanged("extrude");
    return {true, extrudedText(result.edges)};
}

CommandOutcome splitAtPointer(CommandContext& context, SplitKind kind) {
    std::vector<uint32_t> patches;
    float u = kHalf, v = kHalf;
    if (const std::optional<PointerSpot> spot = context.host.patchUnderPointer()) {
        patches.push_back(spot->patch);
        u = std::clamp(spot->u, kSplitMargin, 1 - kSplitMargin);
        v = std::clamp(spot->v, kSplitMargin, 1 - kSplitMargin);
    } else {
        const Model& model = context.document.model();
        for (size_t p = 0; p < model.patches.size(); ++p)
            if (model.patches[p].selected && model.isShown(p))
                patches.push_back(static_cast<uint32_t>(p));
    }
    if (patches.empty())
        return {false, "split: point at a patch, or select the patches to split in half"};
    SplitResult total;
    PendingPoints& pending = context.editor.pendingPoints;
    const std::vector<vm::Vec4> pendingAt = pendingPositions(pending);
    editModel(context, "Split", [&](Model& model) {
        total =
            kind == SplitKind::InFour
                ? splitIntoFour(model, patches, u, v)
                : splitPatches(model, patches,
                               kind == SplitKind::AcrossU ? SplitDirection::U : SplitDirection::V,
                               kind == SplitKind::AcrossU ? u : v);
        return total.patches > 0;
    });
    if (!total.refusal.empty()) return {false, "split refused: " + total.refusal, true};
    if (total.patches == 0) return {false, "split: the patches to split are hidden"};
    followRenumbering(pending, total.renumbered, pendingAt);
    context.host.selectionChanged("split");
    return {true, "split " + std::to_string(total.patches) + " patches " + splitText(kind)};
}

CommandOutcome mirrorCopy(CommandContext& context, Axis axis) {
    const vm::Vec4 pivot = context.editor.chosenPivot.value_or(vm::Vec4{0, 0, 0, 1});
    size_t made = 0;
    editModel(context, "Mirror copy", [&](Model& model) {
        made = mirrorSelection(model, axis, pivot);
        return made > 0;
    });
    if (made == 0) return {false, "mirror copy: select the patches to mirror"};
    const char* const names[] = {"x", "x", "y", "z"};
    context.host.selectionChanged("mirror");
    return {true, "mirrored " + std::to_string(made) + " patches across the " +
                      names[static_cast<int>(axis)] + " plane"};
}

CommandOutcome makeSymmetryReal(CommandContext& context) {
    size_t made = 0;
    editModel(context, "Make symmetry real", [&](Model& model) {
        made = makeSymmetriesReal(model);
        return made > 0;
    });
    if (made == 0) return {false, "make real: select a symmetry or one of its patches"};
    context.host.selectionChanged("symmetry made real");
    return {true, "made " + std::to_string(made) + " symmetries real"};
}

CommandOutcome smoothJoins(CommandContext& context) {
    SmoothResult result;
    const bool moved = solveJoins(context, "Smooth joins", [&](Model& model) {
        result = smoothSelectedJoins(model);
        return result.joins > 0;
    });
    if (result.joins == 0)
        return {false, "smooth: select two patches that share an edge (or a symmetry's patch on "
                       "its plane)"};
    if (!moved) return {false, "smooth: nothing moved, " + smoothResultText(result)};
    return {true, smoothResultText(result)};
}

CommandOutcome matchCurvature(CommandContext& context) {
    CurvatureJoinResult result;
    const bool moved = solveJoins(context, "Match curvature", [&](Model& model) {
        result = matchSelectedCurvature(model);
        return result.joins > 0;
    });
    if (result.joins == 0) return {false, "match curvature: select two patches that share an edge"};
    if (!moved) return {false, "match curvature: nothing moved, " + curvatureJoinText(result)};
    return {true, curvatureJoinText(result)};
}

CommandOutcome groupPatches(CommandContext& context) {
    if (!canGroup(context, CommandId::Group))
        return {false, "group: select two or more patches or groups"};
    const bool made = editModel(context, "Group", [](Model& model) {
        const size_t groups = model.groups.size();
        groupSelection(model);
        return model.groups.size() > groups;
    });
    if (!made) return {false, "group: select the patches to group"};
    return {true,
            "grouped the selected patches as " + context.document.model().groups.back()->name};
}

CommandOutcome ungroupPatches(CommandContext& context) {
    if (!editModel(context, "Ungroup", [](Model& model) { return ungroupSelection(model); }))
        return {false, "ungroup: select patches of a group or a symmetry"};
    return {true, "the selected patches left their groups"};
}

CommandOutcome makeSymmetryGroup(CommandContext& context) {
    if (!hasSelectedPatch(context, CommandId::Symmetry))
        return {false, "symmetry: select the patches to mirror"};
    editModel(context, "Symmetry", [](Model& model) {
        makeSymmetry(model);
        return true;
    });
    return {true, "made the symmetry " + context.document.model().groups.back()->name};
}
