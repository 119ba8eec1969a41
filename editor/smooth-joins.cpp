#include "editor/smooth-joins.h"

#include <algorithm>
#include <cmath>

#include "editor/float3-ops.h"
#include "model/bezier-surface.h"

namespace {

constexpr float kOnPlane = 1e-5f;
constexpr float kDegrees = 180.0f / vm::kPi;

vm::Float3 normalAlong(const std::array<vm::Float3, 16>& net, Side side, float t) {
    float u = 0, v = 0;
    sideParameters(side, t, u, v);
    return bezier::normalAt(net, u, v);
}

std::array<vm::Float3, 16> netOf(const Model& model, SideRef side) {
    return bezier::controlPoints(model, model.patches[side.patch]);
}

float planeAngle(vm::Float3 a, vm::Float3 b) {
    return std::acos(std::min(1.0f, std::fabs(f3::dot(a, b)))) * kDegrees;
}

vm::Float3& pointAt(Model& model, const Model::Patch& patch, Side side, int along, int in) {
    return model
        .points[static_cast<size_t>(patch.indices[static_cast<size_t>(netIndex(side, along, in))])];
}

bool smoothShared(Model& model, const SharedEdge& edge) {
    const Model::Patch a = model.patches[edge.a.patch], b = model.patches[edge.b.patch];
    vm::Float3 e[4], out[4], on[4];
    float outLength[4], onLength[4], outSum = 0, onSum = 0;
    for (int k = 0; k < 4; ++k) {
        const int kb = edge.reversed ? 3 - k : k;
        e[k] = pointAt(model, a, edge.a.side, k, 0);
        out[k] = f3::sub(e[k], pointAt(model, a, edge.a.side, k, 1));
        on[k] = f3::sub(pointAt(model, b, edge.b.side, kb, 1), e[k]);
        outSum += outLength[k] = f3::length(out[k]);
        onSum += onLength[k] = f3::length(on[k]);
    }
    constexpr float kTiny = 1e-9f;
    if (outSum < kTiny || onSum < kTiny) return false;
    // One ratio of lengths for the whole edge: then the two cross tangents are parallel at
    // every point of it, not only at the four points.
    const float ratio = onSum / outSum;
    for (int k = 0; k < 4; ++k) {
        vm::Float3 sum{};
        if (outLength[k] > kTiny) sum = f3::add(sum, f3::scale(out[k], 1 / outLength[k]));
        if (onLength[k] > kTiny) sum = f3::add(sum, f3::scale(on[k], 1 / onLength[k]));
        const float size = f3::length(sum);
        const vm::Float3 unit = size > kTiny           ? f3::scale(sum, 1 / size)
                                : outLength[k] > kTiny ? f3::scale(out[k], 1 / outLength[k])
                                                       : vm::Float3{};
        const float inside = (outLength[k] + onLength[k] / ratio) / 2;
        const int kb = edge.reversed ? 3 - k : k;
        pointAt(model, a, edge.a.side, k, 1) = f3::sub(e[k], f3::scale(unit, inside));
        pointAt(model, b, edge.b.side, kb, 1) = f3::add(e[k], f3::scale(unit, inside * ratio));
    }
    return true;
}

bool smoothMirror(Model& model, SideRef side) {
    const Model::Patch patch = model.patches[side.patch];
    bool moved = false;
    for (int k = 0; k < 4; ++k) {
        const vm::Float3 e = pointAt(model, patch, side.side, k, 0);
        vm::Float3& next = pointAt(model, patch, side.side, k, 1);
        if (std::fabs(next.x) <= kOnPlane) continue; // on the plane itself: nothing to line up
        next.y = e.y;
        next.z = e.z;
        moved = true;
    }
    return moved;
}

} // namespace

float joinAngle(const Model& model, const SharedEdge& edge, int samples) {
    const auto a = netOf(model, edge.a), b = netOf(model, edge.b);
    float largest = 0;
    for (int i = 0; i < samples; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(samples - 1);
        largest =
            std::max(largest, planeAngle(normalAlong(a, edge.a.side, t),
                                         normalAlong(b, edge.b.side, edge.reversed ? 1 - t : t)));
    }
    return largest;
}

std::vector<SideRef> mirrorPlaneSides(const Model& model) {
    std::vector<SideRef> sides;
    for (size_t p = 0; p < model.patches.size(); ++p) {
        const Model::Patch& patch = model.patches[p];
        if (!model.isSymmetry(patch.group) || !model.isShown(p)) continue;
        for (Side side : kSides) {
            bool onPlane = true;
            for (int32_t i : sidePoints(patch, side))
                onPlane = onPlane && std::fabs(model.points[static_cast<size_t>(i)].x) <= kOnPlane;
            if (onPlane) sides.push_back({static_cast<uint32_t>(p), side});
        }
    }
    return sides;
}

float mirrorJoinAngle(const Model& model, SideRef side, int samples) {
    const auto net = netOf(model, side);
    float largest = 0;
    for (int i = 0; i < samples; ++i) {
        const vm::Float3 n =
            normalAlong(net, side.side, static_cast<float>(i) / static_cast<float>(samples - 1));
        largest = std::max(largest, planeAngle(n, {-n.x, n.y, n.z}));
    }
    return largest;
}

size_t smoothSelectedJoins(Model& model) {
    size_t smoothed = 0;
    for (const SharedEdge& edge : sharedEdges(model, EdgesOf::BothSelected))
        smoothed += smoothShared(model, edge);
    for (SideRef side : mirrorPlaneSides(model))
        if (model.patches[side.patch].selected) smoothed += smoothMirror(model, side);
    return smoothed;
}

JoinSummary selectedJoins(const Model& model) {
    JoinSummary summary;
    for (const SharedEdge& edge : sharedEdges(model, EdgesOf::ASelected)) {
        ++summary.edges;
        summary.largest = std::max(summary.largest, joinAngle(model, edge));
    }
    for (SideRef side : mirrorPlaneSides(model))
        if (model.patches[side.patch].selected) {
            ++summary.edges;
            summary.largest = std::max(summary.largest, mirrorJoinAngle(model, side));
        }
    return summary;
}
