#include "editor/join-rows.h"

#include "editor/size-tolerance.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "editor/float3-ops.h"
#include "editor/join-angles.h"

namespace {

// Lengths below this share of the patch's size are none; unit vectors adding up to less
// than this point opposite ways.
constexpr float kTinyShare = 1e-6f;
constexpr float kOpposite = 1e-3f;
// Rounding moves a point by a few steps of its coordinates' precision.
constexpr float kRoundingSteps = 8;

// Puts the point at `to`, keeping the largest move (past rounding) as a share of `size`.
void place(vm::Float3& point, vm::Float3 to, float size, float& moved) {
    const float rounding = kRoundingSteps * FLT_EPSILON *
                           std::max({std::fabs(to.x), std::fabs(to.y), std::fabs(to.z)});
    moved = std::max(moved, (f3::length(f3::sub(to, point)) - rounding) / size);
    point = to;
}

} // namespace

int32_t netPoint(const Model::Patch& patch, Side side, int along, int in) {
    return patch.indices[static_cast<size_t>(netIndex(side, along, in))];
}

RowJoin sharedJoin(const Model& model, const SharedEdge& edge, float size) {
    RowJoin j;
    j.edge = edge;
    const Model::Patch &a = model.patches[edge.a.patch], &b = model.patches[edge.b.patch];
    for (int k = 0; k < 4; ++k) {
        j.e[k] = netPoint(a, edge.a.side, k, 0);
        j.a[k] = netPoint(a, edge.a.side, k, 1);
        j.b[k] = netPoint(b, edge.b.side, edge.reversed ? 3 - k : k, 1);
    }
    j.size = size;
    return j;
}

RowJoin mirrorJoin(const Model& model, SideRef side) {
    RowJoin j;
    j.mirror = true;
    j.edge.a = j.edge.b = side;
    const Model::Patch& patch = model.patches[side.patch];
    for (int k = 0; k < 4; ++k) {
        j.e[k] = netPoint(patch, side.side, k, 0);
        j.a[k] = j.b[k] = netPoint(patch, side.side, k, 1);
    }
    j.size = patchSize(model, patch);
    return j;
}

float angleOf(const Model& model, const RowJoin& j) {
    return j.mirror ? mirrorJoinAngle(model, j.edge.a) : joinAngle(model, j.edge);
}

float angleFloorOf(const Model& model, const RowJoin& j) {
    return j.mirror ? mirrorJoinAngleFloor(model, j.edge.a) : joinAngleFloor(model, j.edge);
}

float solveShared(Model& model, RowJoin& j, const std::vector<uint8_t>& held) {
    float moved = 0;
    vm::Float3 e[4], out[4], on[4];
    float outLength[4], onLength[4], outSum = 0, onSum = 0;
    for (int k = 0; k < 4; ++k) {
        e[k] = model.points[static_cast<size_t>(j.e[k])];
        out[k] = f3::sub(e[k], model.points[static_cast<size_t>(j.a[k])]);
        on[k] = f3::sub(model.points[static_cast<size_t>(j.b[k])], e[k]);
        outSum += outLength[k] = f3::length(out[k]);
        onSum += onLength[k] = f3::length(on[k]);
    }
    const float tiny = kTinyShare * j.size;
    if (outSum <= tiny || onSum <= tiny) {
        j.collapsed = true;
        return moved;
    }
    const float ratio = onSum / outSum;
    for (int k = 0; k < 4; ++k) {
        const bool heldA = held[static_cast<size_t>(j.a[k])],
                   heldB = held[static_cast<size_t>(j.b[k])];
        if (j.a[k] == j.b[k] || (heldA && heldB)) {
            j.heldCorner = j.heldCorner || (heldA && heldB && j.a[k] != j.e[k]);
            continue;
        }
        vm::Float3& a = model.points[static_cast<size_t>(j.a[k])];
        vm::Float3& b = model.points[static_cast<size_t>(j.b[k])];
        if (heldA) {
            if (outLength[k] > tiny)
                place(b, f3::add(e[k], f3::scale(out[k], ratio)), j.size, moved);
            continue;
        }
        if (heldB) {
            if (onLength[k] > tiny)
                place(a, f3::sub(e[k], f3::scale(on[k], 1 / ratio)), j.size, moved);
            continue;
        }
        if (outLength[k] <= tiny || onLength[k] <= tiny) continue; // a corner collapsed there
        const vm::Float3 sum =
            f3::add(f3::scale(out[k], 1 / outLength[k]), f3::scale(on[k], 1 / onLength[k]));
        const float sumLength = f3::length(sum);
        if (sumLength < kOpposite) {
            j.folds = true;
            continue;
        }
        const vm::Float3 unit = f3::scale(sum, 1 / sumLength);
        const float inside = (outLength[k] + onLength[k] / ratio) / 2;
        place(a, f3::sub(e[k], f3::scale(unit, inside)), j.size, moved);
        place(b, f3::add(e[k], f3::scale(unit, inside * ratio)), j.size, moved);
    }
    return moved;
}

float solveMirror(Model& model, RowJoin& j, const std::vector<uint8_t>& held) {
    float moved = 0;
    const float extent = extentOf(model, model.patches[j.edge.a.patch]);
    for (int k = 0; k < 4; ++k) {
        vm::Float3& next = model.points[static_cast<size_t>(j.a[k])];
        const vm::Float3 e = model.points[static_cast<size_t>(j.e[k])];
        if (onPlane(next.x, extent)) continue; // on the plane itself: nothing to line up
        if (held[static_cast<size_t>(j.a[k])]) {
            j.heldCorner = j.heldCorner || next.y != e.y || next.z != e.z;
            continue;
        }
        place(next, {next.x, e.y, e.z}, j.size, moved);
    }
    return moved;
}
