#include "editor/join-display.h"

#include <algorithm>

#include "editor/float3-ops.h"
#include "editor/join-angles.h"
#include "model/bezier-surface.h"

namespace {

void addEdge(const Model& model, SideRef side, float degrees, JoinLines& lines) {
    constexpr int kSegments = 8;
    const auto net = bezier::controlPoints(model, model.patches[side.patch]);
    std::vector<vm::Float3>& out = lines.shades[static_cast<size_t>(joinShade(degrees))];
    vm::Float3 at[kSegments + 1], normal[kSegments + 1];
    for (int i = 0; i <= kSegments; ++i) {
        float u = 0, v = 0;
        sideParameters(side.side, static_cast<float>(i) / kSegments, u, v);
        at[i] = bezier::evaluate(net, u, v);
        normal[i] = bezier::normalAt(net, u, v);
    }
    // A line on the surface would lose the depth test to it half the time: it is drawn a
    // little off the surface on both sides, one of which faces the viewer. The lift follows
    // the patch's size (a closed seam's ends meet, so not the chord's).
    constexpr float kLiftShare = 0.01f;
    const float lift = kLiftShare * patchSize(model, model.patches[side.patch]);
    for (float side : {lift, -lift})
        for (int i = 0; i < kSegments; ++i) {
            out.push_back(f3::add(at[i], f3::scale(normal[i], side)));
            out.push_back(f3::add(at[i + 1], f3::scale(normal[i + 1], side)));
        }
    lines.largest = std::max(lines.largest, degrees);
    ++lines.edges;
}

} // namespace

int joinShade(float degrees) {
    int shade = 0;
    while (shade < kJoinShades - 1 && degrees >= kJoinShadeLimits[shade])
        ++shade;
    return shade;
}

JoinLines joinLines(const Model& model) {
    // Five samples and the search between them tell an edge's shade.
    constexpr int kShadeSamples = 5;
    JoinLines lines;
    for (const SharedEdge& edge : sharedEdges(model))
        addEdge(model, edge.a, joinAngle(model, edge, kShadeSamples), lines);
    for (SideRef side : mirrorPlaneSides(model))
        addEdge(model, side, mirrorJoinAngle(model, side, kShadeSamples), lines);
    return lines;
}
