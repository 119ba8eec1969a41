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

// The Bernstein weights and their derivatives at every stride-th of the kJoinSamples even
// samples, and at one minus each (a side that runs the other way), worked out once: the same
// floats bezier::bernstein gives there. Lanes pads them to a whole number of vector lanes.
template <int Lanes> struct SampleWeights {
    int count = 0;
    float t[Lanes] = {};
    float b[2][4][Lanes] = {}, d[2][4][Lanes] = {}; // [forwards, backwards][k][sample]
};
template <int Lanes> SampleWeights<Lanes> weightsEvery(int stride) {
    SampleWeights<Lanes> w;
    for (int i = 0; i < kJoinSamples; i += stride, ++w.count) {
        w.t[w.count] = static_cast<float>(i) / static_cast<float>(kJoinSamples - 1);
        for (int way = 0; way < 2; ++way) {
            const float t = way == 0 ? w.t[w.count] : 1 - w.t[w.count];
            const std::array<float, 4> b = bezier::bernstein(t), d = bezier::bernsteinDerivative(t);
            for (size_t k = 0; k < 4; ++k) {
                w.b[way][k][w.count] = b[k];
                w.d[way][k][w.count] = d[k];
            }
        }
    }
    return w;
}
constexpr int lanesFor(int samples) {
    return (samples + 3) / 4 * 4;
}
constexpr int kSampleLanes = lanesFor(kJoinSamples);
constexpr int kFloorLanes = lanesFor((kJoinSamples - 1) / kFloorStride + 1);
const SampleWeights<kSampleLanes>& everySample() {
    static const SampleWeights<kSampleLanes> weights = weightsEvery<kSampleLanes>(1);
    return weights;
}
const SampleWeights<kFloorLanes>& floorSamples() {
    static const SampleWeights<kFloorLanes> weights = weightsEvery<kFloorLanes>(kFloorStride);
    return weights;
}

// Normals at the samples, a component to an array: the samples are worked out side by side,
// each with the same arithmetic as one at a time.
template <int Lanes> struct SampleNormals { float x[Lanes], y[Lanes], z[Lanes]; };

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
        return inside(t);
    }
    // at() at the samples (at t, or at 1 − t when backwards).
    template <int Lanes>
    void atSamples(const SampleWeights<Lanes>& w, bool backwards, SampleNormals<Lanes>& n) const {
        const auto &b = w.b[backwards], &d = w.d[backwards];
        float ax[Lanes] = {}, ay[Lanes] = {}, az[Lanes] = {};
        float ox[Lanes] = {}, oy[Lanes] = {}, oz[Lanes] = {};
        for (int k = 0; k < 4; ++k)
            for (int i = 0; i < Lanes; ++i) {
                ax[i] = ax[i] + edge_[k].x * d[k][i];
                ay[i] = ay[i] + edge_[k].y * d[k][i];
                az[i] = az[i] + edge_[k].z * d[k][i];
                ox[i] = ox[i] + across_[k].x * b[k][i];
                oy[i] = oy[i] + across_[k].y * b[k][i];
                oz[i] = oz[i] + across_[k].z * b[k][i];
            }
        float larger[Lanes], limit[Lanes], squared[Lanes];
        for (int i = 0; i < Lanes; ++i) {
            n.x[i] = ay[i] * oz[i] - az[i] * oy[i];
            n.y[i] = az[i] * ox[i] - ax[i] * oz[i];
            n.z[i] = ax[i] * oy[i] - ay[i] * ox[i];
            larger[i] = std::max(ax[i] * ax[i] + ay[i] * ay[i] + az[i] * az[i],
                                 ox[i] * ox[i] + oy[i] * oy[i] + oz[i] * oz[i]);
            limit[i] = bezier::kDegenerateNormal * larger[i];
            squared[i] = n.x[i] * n.x[i] + n.y[i] * n.y[i] + n.z[i] * n.z[i];
        }
        for (int i = 0; i < w.count; ++i) {
            if (squared[i] > limit[i] * limit[i] && std::isfinite(larger[i])) continue;
            const vm::Float3 inner = inside(backwards ? 1 - w.t[i] : w.t[i]);
            n.x[i] = inner.x, n.y[i] = inner.y, n.z[i] = inner.z;
        }
    }

  private:
    vm::Float3 inside(float t) const {
        float u = 0, v = 0;
        sideParameters(side_.side, t, u, v);
        return bezier::normalAt(bezier::controlPoints(model_, model_.patches[side_.patch]), u, v);
    }

    const Model& model_;
    SideRef side_;
    vm::Float3 edge_[4], across_[4];
};

// planeSineSquared of every sample's two normals.
template <int Lanes>
void sampleSines(SampleNormals<Lanes>& a, SampleNormals<Lanes>& b, float* sines) {
    for (SampleNormals<Lanes>* n : {&a, &b})
        for (int i = 0; i < Lanes; ++i) { // ofUnitSize
            const float largest =
                std::max({std::fabs(n->x[i]), std::fabs(n->y[i]), std::fabs(n->z[i])});
            const float scale = largest > 0 ? 1 / largest : 1;
            if (largest > 0) n->x[i] *= scale, n->y[i] *= scale, n->z[i] *= scale;
        }
    for (int i = 0; i < Lanes; ++i) {
        const float cx = a.y[i] * b.z[i] - a.z[i] * b.y[i], cy = a.z[i] * b.x[i] - a.x[i] * b.z[i],
                    cz = a.x[i] * b.y[i] - a.y[i] * b.x[i];
        const float lengths = (a.x[i] * a.x[i] + a.y[i] * a.y[i] + a.z[i] * a.z[i]) *
                              (b.x[i] * b.x[i] + b.y[i] * b.y[i] + b.z[i] * b.z[i]);
        sines[i] = lengths > 0 ? (cx * cx + cy * cy + cz * cz) / lengths : 0;
    }
}

// The squared sines at the samples between two sides' normals, or between a side's and its
// mirror image's.
template <int Lanes>
void joinSines(const SampleWeights<Lanes>& w, const SideNormals& a, const SideNormals& b,
               bool reversed, float* sines) {
    SampleNormals<Lanes> na, nb;
    a.atSamples(w, false, na);
    b.atSamples(w, reversed, nb);
    sampleSines(na, nb, sines);
}
template <int Lanes>
void mirrorSines(const SampleWeights<Lanes>& w, const SideNormals& side, float* sines) {
    SampleNormals<Lanes> n, image;
    side.atSamples(w, false, n);
    for (int i = 0; i < Lanes; ++i)
        image.x[i] = -n.x[i], image.y[i] = n.y[i], image.z[i] = n.z[i];
    sampleSines(n, image, sines);
}

// The largest angle between the two normals normals(t) gives over 0…1: samples, then a
// golden-section search between the neighbours of the largest sample. At kJoinSamples,
// atSamples(sines) gives every sample's squared sine at once.
template <typename Normals, typename AtSamples>
float largestAlong(const Normals& normals, const AtSamples& atSamples, int samples) {
    const auto sine = [&](float t) {
        const auto [a, b] = normals(t);
        return planeSineSquared(a, b);
    };
    samples = std::max(samples, 2);
    float largest = -1, at = 0;
    if (samples == kJoinSamples) {
        float sines[kSampleLanes];
        atSamples(sines);
        for (int i = 0; i < samples; ++i)
            if (sines[i] > largest) largest = sines[i], at = everySample().t[i];
    } else {
        for (int i = 0; i < samples; ++i) {
            const float t = static_cast<float>(i) / static_cast<float>(samples - 1);
            const float s = sine(t);
            if (s > largest) largest = s, at = t;
        }
    }
    constexpr int kRefineSteps = 10;
    constexpr float kGolden = 0.618034f;
    const float step = 1.0f / static_cast<float>(samples - 1);
    float low = std::max(0.0f, at - step), high = std::min(1.0f, at + step);
    // The search's two normals are kept: the angle is measured at one of them, most often.
    float x1 = high - kGolden * (high - low), x2 = low + kGolden * (high - low);
    auto n1 = normals(x1), n2 = normals(x2);
    float f1 = planeSineSquared(n1.first, n1.second), f2 = planeSineSquared(n2.first, n2.second);
    for (int i = 0; i < kRefineSteps; ++i) {
        if (f1 > f2) {
            high = x2, x2 = x1, f2 = f1, n2 = n1;
            x1 = high - kGolden * (high - low), n1 = normals(x1);
            f1 = planeSineSquared(n1.first, n1.second);
        } else {
            low = x1, x1 = x2, f1 = f2, n1 = n2;
            x2 = low + kGolden * (high - low), n2 = normals(x2);
            f2 = planeSineSquared(n2.first, n2.second);
        }
    }
    const decltype(n1)* found = nullptr;
    if (f1 > largest) largest = f1, found = &n1;
    if (f2 > largest) found = &n2;
    const auto [a, b] = found ? *found : normals(at);
    return planeAngle(a, b);
}

// The largest angle at every kFloorStride-th of largestAlong's samples: the same points (the
// same floats), so never more than largestAlong finds.
template <typename Normals, typename AtSamples>
float largestSampled(const Normals& normals, const AtSamples& atSamples) {
    static_assert((kJoinSamples - 1) % kFloorStride == 0, "the ends are among the samples");
    float largest = -1, at = 0, sines[kFloorLanes];
    atSamples(sines);
    const SampleWeights<kFloorLanes>& w = floorSamples();
    for (int i = 0; i < w.count; ++i)
        if (sines[i] > largest) largest = sines[i], at = w.t[i];
    const auto [a, b] = normals(at);
    return planeAngle(a, b);
}

} // namespace

float joinAngle(const Model& model, const SharedEdge& edge, int samples) {
    const SideNormals a(model, edge.a), b(model, edge.b);
    return largestAlong(
        [&](float t) { return std::pair(a.at(t), b.at(edge.reversed ? 1 - t : t)); },
        [&](float* sines) { joinSines(everySample(), a, b, edge.reversed, sines); }, samples);
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
        [&](float* sines) { mirrorSines(everySample(), normals, sines); }, samples);
}

float joinAngleFloor(const Model& model, const SharedEdge& edge) {
    const SideNormals a(model, edge.a), b(model, edge.b);
    return largestSampled(
        [&](float t) { return std::pair(a.at(t), b.at(edge.reversed ? 1 - t : t)); },
        [&](float* sines) { joinSines(floorSamples(), a, b, edge.reversed, sines); });
}

float mirrorJoinAngleFloor(const Model& model, SideRef side) {
    const SideNormals normals(model, side);
    return largestSampled(
        [&](float t) {
            const vm::Float3 n = normals.at(t);
            return std::pair(n, vm::Float3{-n.x, n.y, n.z});
        },
        [&](float* sines) { mirrorSines(floorSamples(), normals, sines); });
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
