#include "editor/join-display.h"

#include <algorithm>

#include "editor/smooth-joins.h"
#include "model/bezier-surface.h"

namespace {

void addEdge(const Model& model, SideRef side, float degrees, JoinLines& lines) {
    constexpr int kSegments = 8;
    const auto net = bezier::controlPoints(model, model.patches[side.patch]);
    std::vector<vm::Float3>& out = lines.shades[static_cast<size_t>(joinShade(degrees))];
    vm::Float3 last{};
    for (int i = 0; i <= kSegments; ++i) {
        float u = 0, v = 0;
        sideParameters(side.side, static_cast<float>(i) / kSegments, u, v);
        const vm::Float3 at = bezier::evaluate(net, u, v);
        if (i > 0) {
            out.push_back(last);
            out.push_back(at);
        }
        last = at;
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
    // Five samples an edge tell its shade; the commands' reports take the full count.
    constexpr int kShadeSamples = 5;
    JoinLines lines;
    for (const SharedEdge& edge : sharedEdges(model))
        addEdge(model, edge.a, joinAngle(model, edge, kShadeSamples), lines);
    for (SideRef side : mirrorPlaneSides(model))
        addEdge(model, side, mirrorJoinAngle(model, side, kShadeSamples), lines);
    return lines;
}
