#include "editor/chosen-points-drag.h"

#include <algorithm>

#include "editor/edit-xform.h"
#include "editor/snapping.h"

bool beginChosenPointsDrag(EditorState& editor, const Model& model, uint32_t point) {
    if (point >= model.points.size() || !editor.chosenPoints.contains(point)) return false;
    std::vector<uint32_t> chosen = editor.chosenPoints.indices();
    const auto held = std::find(chosen.begin(), chosen.end(), point);
    const size_t grabbed = static_cast<size_t>(held - chosen.begin());
    beginPointGesture(editor, model, std::move(chosen));
    editor.pointGesture.grabbed = grabbed;
    editor.translation = {};
    editor.transformDrag = true;
    return true;
}

vm::Vec4 chosenPointsOffset(const EditorState& editor, const OrbitCamera& camera,
                            const ViewportHit& hit, const vm::Mat4& world,
                            std::optional<float> snapStep) {
    const EditorState::PointGesture& g = editor.pointGesture;
    if (g.grabbed >= g.from.size()) return {};
    const vm::Float3 from = g.from[g.grabbed];
    vm::Float3 to = draggedPointPosition(camera, hit, world, from);
    if (snapStep) to = snap::toGrid(to, *snapStep);
    return {to.x - from.x, to.y - from.y, to.z - from.z, 0};
}
