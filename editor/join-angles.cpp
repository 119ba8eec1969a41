#include "editor/join-angles.h"

#include "editor/size-tolerance.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "editor/float3-ops.h"
#include "model/bezier-surface.h"

namespace {

constexpr float kDegrees = 180.0f / vm::kPi;

vm::Float3 cross(vm::Float3 a, vm::Float3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// A normal of any length brought to a largest component of 1: a patch 1e-6 across has
// normals near 1e-12 long, whose cross products would vanish below float's range.
vm::Float3 ofUnitSize(vm::Float3 n) {
    const float largest = std::max({std::fabs(n.x), std::fabs(n.y), std::fabs(n.z)});
    return largest > 0 ? f3::scale(n, 1 / largest) : n;
}

// The angle between two planes given by their normals of any length, in degrees (atan2
// keeps small angles exact where acos of a dot product loses them).
float planeAngle(vm::Float3 a, vm::Float3 b) {
    a = ofUnitSize(a), b = ofUnitSize(b);
    return std::atan2(f3::length(cross(a, b)), std::fabs(f3::dot(a, b))) * kDegrees;
}

// The squared sine of that angle: it grows with the angle up to 90°, and needs neither a root
// nor an arc tangent, so the search compares it.
float planeSineSquared(vm::Float3 a, vm::Float3 b) {
    a = ofUnitSize(a), b = ofUnitSize(b);
    const vm::Float3 c = cross(a, b);
    const float lengths = f3::dot(a, a) * f3::dot(b, b);
    return lengths > 0 ? f3::dot(c, c) / lengths : 0;
}

// A patch's normal (of any length) along one side from the eight points that decide it: the side's
// curve and the row next to it. Where they give no normal (a collapsed corner) the whole net looks
// a little way inside.
class SideNormals {
  public:
    SideNormals(const Model& model, SideRef side) : model_(model), side_(side) {
        const Model::Patch& patch = model.patches[side.patch];
        for (int k = 0; k < 4; ++k) {
            const auto point = [&](int in) {
                return model.points[static_cast<size_t>(
                    patch.indices[static_cast<size_t>(netIndex(side.side, k, in))])];
            };
            edge_[k] = point(0);
            across_[k] = f3::sub(point(1), edge_[k]);
        }
    }
    vm::Float3 at(float t) const {
        const std::array<float, 4> b = bezier::bernstein(t), d = bezier::bernsteinDerivative(t);
        vm::Float3 along{}, out{};
        for (int k = 0; k < 4; ++k) {
            along = f3::add(along, f3::scale(edge_[k], d[static_cast<size_t>(k)]));
            out = f3::add(out, f3::scale(across_[k], b[static_cast<size_t>(k)]));
        }
        // A normal of any length: the angle alone is asked of it (as unitNormal judges it).
        const vm::Float3 n = cross(along, out);
        const float larger = std::max(f3::dot(along, along), f3::dot(out, out));
        const float limit = bezier::kDegenerateNormal * larger;
        if (f3::dot(n, n) > limit * limit && std::isfinite(larger)) return n;
        float u = 0, v = 0;
        sideParameters(side_.side, t, u, v);
        return bezier::normalAt(bezier::controlPoints(model_, model_.patches[side_.patch]), u, v);
    }

  private:
    const Model& model_;
    SideRef side_;
    vm::Float3 edge_[4], across_[4];
};

// The largest angle between the two normals normals(t) gives over 0…1: samples, then a
// golden-section search between the neighbours of the largest sample.
template <typename Normals> float largestAlong(const Normals& normals, int samples) {
    const auto sine = [&](float t) {
        const auto [a, b] = normals(t);
        return planeSineSquared(a, b);
    };
    samples = std::max(samples, 2);
    float largest = -1, at = 0;
    for (int i = 0; i < samples; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(samples - 1);
        const float s = sine(t);
        if (s > largest) largest = s, at = t;
    }
    constexpr int kRefineSteps = 10;
    constexpr float kGolden = 0.618034f;
    const float step = 1.0f / static_cast<float>(samples - 1);
    float low = std::max(0.0f, at - step), high = std::min(1.0f, at + step);
    float x1 = high - kGolden * (high - low), x2 = low + kGolden * (high - low);
    float f1 = sine(x1), f2 = sine(x2);
    for (int i = 0; i < kRefineSteps; ++i) {
        if (f1 > f2) {
            high = x2, x2 = x1, f2 = f1;
            x1 = high - kGolden * (high - low), f1 = sine(x1);
        } else {
            low = x1, x1 = x2, f1 = f2;
            x2 = low + kGolden * (high - low), f2 = sine(x2);
        }
    }
    if (f1 > largest) largest = f1, at = x1;
    if (f2 > largest) at = x2;
    const auto [a, b] = normals(at);
    return planeAngle(a, b);
}

// The largest angle at every kFloorStride-th of largestAlong's samples: the same points (the
// same floats), so never more than largestAlong finds.
template <typename Normals> float largestSampled(const Normals& normals) {
    static_assert((kJoinSamples - 1) % kFloorStride == 0, "the ends are among the samples");
    float largest = -1, at = 0;
    for (int i = 0; i < kJoinSamples; i += kFloorStride) {
        const float t = static_cast<float>(i) / static_cast<float>(kJoinSamples - 1);
        const auto [a, b] = normals(t);
        const float s = planeSineSquared(a, b);
        if (s > largest) largest = s, at = t;
    }
    const auto [a, b] = normals(at);
    return planeAngle(a, b);
}

} // namespace

float joinAngle(const Model& model, const SharedEdge& edge, int samples) {
    const SideNormals a(model, edge.a), b(model, edge.b);
    return largestAlong(
        [&](float t) { return std::pair(a.at(t), b.at(edge.reversed ? 1 - t : t)); }, samples);
}

std::vector<SideRef> mirrorPlaneSides(const Model& model) {
    std::vector<SideRef> sides;
    for (size_t p = 0; p < model.patches.size(); ++p) {
        const Model::Patch& patch = model.patches[p];
        if (!model.isSymmetry(patch.group) || !model.isShown(p)) continue;
        const float extent = extentOf(model, patch);
        for (Side side : kSides) {
            bool onMirror = true;
            for (int32_t i : sidePoints(patch, side))
                onMirror = onMirror && onPlane(model.points[static_cast<size_t>(i)].x, extent);
            if (onMirror) sides.push_back({static_cast<uint32_t>(p), side});
        }
    }
    return sides;
}

float mirrorJoinAngle(const Model& model, SideRef side, int samples) {
    const SideNormals normals(model, side);
    return largestAlong(
        [&](float t) {
            const vm::Float3 n = normals.at(t);
            return std::pair(n, vm::Float3{-n.x, n.y, n.z});
        },
        samples);
}

float joinAngleFloor(const Model& model, const SharedEdge& edge) {
    const SideNormals a(model, edge.a), b(model, edge.b);
    return largestSampled(
        [&](float t) { return std::pair(a.at(t), b.at(edge.reversed ? 1 - t : t)); });
}

float mirrorJoinAngleFloor(const Model& model, SideRef side) {
    const SideNormals normals(model, side);
    return largestSampled([&](float t) {
        const vm::Float3 n = normals.at(t);
        return std::pair(n, vm::Float3{-n.x, n.y, n.z});
    });
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
