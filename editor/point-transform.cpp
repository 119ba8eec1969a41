#include "editor/point-transform.h"

#include <cmath>

#include "editor/size-tolerance.h"

vm::Mat4 transformMatrix(const PointTransform& t) {
    vm::Mat4 change = vm::identity();
    switch (t.kind) {
    case PointTransform::Kind::Move:
        return vm::translation(alongAxis(t.offset, t.axis));
    case PointTransform::Kind::Rotate:
        change = t.axis == Axis::X   ? vm::rotationX(t.angle)
                 : t.axis == Axis::Z ? vm::rotationZ(t.angle)
                                     : vm::rotationY(t.angle);
        break;
    case PointTransform::Kind::Scale: {
        const float f = t.factor;
        change = t.axis == Axis::X   ? vm::scaling(f, 1, 1)
                 : t.axis == Axis::Y ? vm::scaling(1, f, 1)
                 : t.axis == Axis::Z ? vm::scaling(1, 1, f)
                                     : vm::scaling(f, f, f);
        break;
    }
    }
    return vm::translation(-t.pivot.x, -t.pivot.y, -t.pivot.z) * change *
           vm::translation(t.pivot.x, t.pivot.y, t.pivot.z);
}

float snapAngle(float angle) {
    return std::round(angle / kAngleStep) * kAngleStep;
}

float snapFactor(float factor) {
    return std::round(factor / kFactorStep) * kFactorStep;
}

vm::Vec4 unitAlong(Axis axis) {
    return {axis == Axis::X ? 1.0f : 0.0f, axis == Axis::Y ? 1.0f : 0.0f,
            axis == Axis::Z ? 1.0f : 0.0f, 0};
}

vm::Mat4 axisFrame(Axis axis) {
    vm::Mat4 m = vm::identity();
    if (axis != Axis::X && axis != Axis::Z) return m;
    // Rows are where x, y and z go: for x, y → x, z → y, x → z; for z, y → z, z → x, x → y.
    const int yGoesTo = axis == Axis::X ? 0 : 2;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            m[row][col] = col == (row + 2 + yGoesTo) % 3 ? 1.0f : 0.0f;
    return m;
}

vm::Vec4 alongAxis(vm::Vec4 offset, Axis axis) {
    switch (axis) {
    case Axis::X:
        return {offset.x, 0, 0, 0};
    case Axis::Y:
        return {0, offset.y, 0, 0};
    case Axis::Z:
        return {0, 0, offset.z, 0};
    case Axis::Free:
        break;
    }
    return {offset.x, offset.y, offset.z, 0};
}

std::vector<uint8_t> onMirrorPlane(const Model& model) {
    std::vector<uint8_t> on(model.points.size());
    for (const Model::Patch& patch : model.patches) {
        if (!model.isSymmetry(patch.group)) continue;
        const float extent = extentOf(model, patch);
        for (int32_t index : patch.indices)
            if (index >= 0 && static_cast<size_t>(index) < on.size() &&
                onPlane(model.points[static_cast<size_t>(index)].x, extent))
                on[static_cast<size_t>(index)] = 1;
    }
    return on;
}

size_t transformPoints(Model& model, const std::vector<uint32_t>& points,
                       const std::vector<vm::Float3>& from, const PointTransform& t,
                       const std::vector<uint8_t>& mirrorPlane) {
    const vm::Mat4 m = transformMatrix(t);
    size_t held = 0;
    for (size_t k = 0; k < points.size() && k < from.size(); ++k) {
        const uint32_t i = points[k];
        if (i >= model.points.size()) continue;
        const vm::Float3 p = from[k];
        vm::Float3 q{p.x * m[0][0] + p.y * m[1][0] + p.z * m[2][0] + m[3][0],
                     p.x * m[0][1] + p.y * m[1][1] + p.z * m[2][1] + m[3][1],
                     p.x * m[0][2] + p.y * m[1][2] + p.z * m[2][2] + m[3][2]};
        if (i < mirrorPlane.size() && mirrorPlane[i]) {
            q.x = 0;
            ++held;
        }
        model.points[i] = q;
    }
    return held;
}

bool transformWithin(const Model& model, const std::vector<uint32_t>& points,
                     const PointTransform& t, float limit) {
    const vm::Mat4 m = transformMatrix(t);
    for (uint32_t i : points) {
        if (i >= model.points.size()) continue;
        const vm::Vec4 q =
            vm::transform({model.points[i].x, model.points[i].y, model.points[i].z, 1}, m);
        if (!(std::fabs(q.x) <= limit && std::fabs(q.y) <= limit && std::fabs(q.z) <= limit))
            return false;
    }
    return true;
}
