#include "editor/typed-coordinates.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

#include "editor/point-selection.h"

namespace {

float& component(vm::Float3& p, int axis) {
    return axis == 0 ? p.x : axis == 1 ? p.y : p.z;
}
float& component(vm::Vec4& p, int axis) {
    return axis == 0 ? p.x : axis == 1 ? p.y : p.z;
}

bool blank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::optional<float> parseCoordinate(std::string_view text) {
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (text.empty() || text.size() > 64) return std::nullopt;
    const std::string s(text);
    char* end = nullptr;
    errno = 0;
    const float value = std::strtof(s.c_str(), &end);
    if (end != s.c_str() + s.size() || errno == ERANGE || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<vm::Float3> subjectPosition(const Model& model, const CoordinateSubject& subject) {
    using Kind = CoordinateSubject::Kind;
    if (subject.kind == Kind::Points) {
        for (uint32_t i : subject.points)
            if (i >= model.points.size()) return std::nullopt;
        if (subject.points.empty()) return std::nullopt;
        const vm::Vec4 c = centreOf(model, subject.points);
        return vm::Float3{c.x, c.y, c.z};
    }
    if (subject.kind == Kind::Point && subject.index < model.points.size())
        return model.points[subject.index];
    if (subject.kind != Kind::Patch || subject.index >= model.patches.size()) return std::nullopt;
    vm::Float3 sum{};
    for (int32_t i : model.patches[subject.index].indices) {
        if (i < 0 || static_cast<size_t>(i) >= model.points.size()) return std::nullopt;
        const vm::Float3& p = model.points[static_cast<size_t>(i)];
        sum = {sum.x + p.x, sum.y + p.y, sum.z + p.z};
    }
    return vm::Float3{sum.x / 16, sum.y / 16, sum.z / 16};
}

bool moveWithinRange(const Model& model, const CoordinateSubject& subject, int axis, float value) {
    auto inRange = [](float v) { return std::fabs(v) <= kWorkingRange; };
    const std::optional<vm::Float3> at = subjectPosition(model, subject);
    if (!at || axis < 0 || axis > 2) return true; // nothing moves
    if (subject.kind == CoordinateSubject::Kind::Point) return inRange(value);
    vm::Float3 where = *at;
    const float delta = value - component(where, axis);
    if (subject.kind == CoordinateSubject::Kind::Points) {
        for (uint32_t i : subject.points) {
            vm::Float3 p = model.points[i];
            if (!inRange(component(p, axis) + delta)) return false;
        }
        return true;
    }
    for (int32_t i : model.patches[subject.index].indices) {
        vm::Float3 p = model.points[static_cast<size_t>(i)];
        if (!inRange(component(p, axis) + delta)) return false;
    }
    return true;
}

std::vector<uint32_t> moveSubjectAxis(Model& model, const CoordinateSubject& subject, int axis,
                                      float value) {
    std::vector<uint32_t> moved;
    const std::optional<vm::Float3> at = subjectPosition(model, subject);
    if (!at || axis < 0 || axis > 2) return moved;
    vm::Float3 where = *at;
    if (component(where, axis) == value) return moved;
    if (subject.kind == CoordinateSubject::Kind::Point) {
        component(model.points[subject.index], axis) = value;
        moved.push_back(static_cast<uint32_t>(subject.index));
        return moved;
    }
    if (subject.kind == CoordinateSubject::Kind::Points) {
        moved = subject.points;
    } else {
        for (int32_t i : model.patches[subject.index].indices)
            moved.push_back(static_cast<uint32_t>(i));
        std::sort(moved.begin(), moved.end());
        moved.erase(std::unique(moved.begin(), moved.end()), moved.end());
    }
    // Chosen in the view or as a patch in the tree, points on a mirror plane stay on it.
    PointTransform move;
    component(move.offset, axis) = value - component(where, axis);
    std::vector<vm::Float3> from;
    for (uint32_t i : moved)
        from.push_back(model.points[i]);
    transformPoints(model, moved, from, move, onMirrorPlane(model));
    return moved;
}

std::optional<PointTransform> typedTransform(TypedTransform kind, const std::string fields[3],
                                             vm::Vec4 pivot, int* refused) {
    PointTransform t;
    t.pivot = {pivot.x, pivot.y, pivot.z, 1};
    auto number = [&](int field, bool emptyIsZero) -> std::optional<float> {
        const std::string& text = fields[field];
        if (emptyIsZero && text.find_first_not_of(" \t") == std::string::npos) return 0.0f;
        std::optional<float> value = parseCoordinate(text);
        if (!value && refused) *refused = field;
        return value;
    };
    switch (kind) {
    case TypedTransform::Pivot:
    case TypedTransform::Move: {
        float d[3];
        for (int k = 0; k < 3; ++k) {
            const std::optional<float> v = number(k, true);
            if (!v) return std::nullopt;
            d[k] = *v;
        }
        t.kind = PointTransform::Kind::Move;
        t.offset = {d[0], d[1], d[2], 0};
        if (kind == TypedTransform::Pivot) {
            // Not a change of the points: the pivot where typed.
            t.pivot = {d[0], d[1], d[2], 1};
            t.offset = {};
        }
        return t;
    }
    case TypedTransform::TurnX:
    case TypedTransform::TurnY:
    case TypedTransform::TurnZ: {
        const std::optional<float> degrees = number(0, false);
        if (!degrees) return std::nullopt;
        t.kind = PointTransform::Kind::Rotate;
        t.axis = kind == TypedTransform::TurnX   ? Axis::X
                 : kind == TypedTransform::TurnY ? Axis::Y
                                                 : Axis::Z;
        t.angle = *degrees * vm::kPi / 180;
        return t;
    }
    case TypedTransform::Scale:
    case TypedTransform::ScaleX:
    case TypedTransform::ScaleY:
    case TypedTransform::ScaleZ: {
        const std::optional<float> factor = number(0, false);
        if (!factor) return std::nullopt;
        t.kind = PointTransform::Kind::Scale;
        t.axis = kind == TypedTransform::ScaleX   ? Axis::X
                 : kind == TypedTransform::ScaleY ? Axis::Y
                 : kind == TypedTransform::ScaleZ ? Axis::Z
                                                  : Axis::Free;
        t.factor = *factor;
        return t;
    }
    case TypedTransform::Count:
        break;
    }
    return std::nullopt;
}
