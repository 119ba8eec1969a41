#include "graphics/line-shape-geometry.h"

namespace lines {

namespace {
vm::Float3 f3(vm::Vec4 v) {
    return {v.x, v.y, v.z};
}
} // namespace

const std::array<vm::Float3, kSphereVertices>& wireSphere() {
    static const auto vertices = [] {
        std::array<vm::Float3, kSphereVertices> a{};
        auto at = [](float lat, float lon) {
            return vm::Float3{std::cos(lat) * std::cos(lon), std::sin(lat),
                              std::cos(lat) * std::sin(lon)};
        };
        for (int i = 0; i < 20; ++i)
            for (int k = 0; k < 10; ++k) {
                const float lat0 = vm::kPi * (k / 10.0f - 0.5f),
                            lat1 = vm::kPi * ((k + 1) / 10.0f - 0.5f);
                const float lon0 = 2 * vm::kPi * i / 20.0f, lon1 = 2 * vm::kPi * (i + 1) / 20.0f;
                const size_t base = static_cast<size_t>(4 * (10 * i + k));
                a[base] = at(lat0, lon0);
                a[base + 1] = at(lat0, lon1);
                a[base + 2] = at(lat0, lon1);
                a[base + 3] = at(lat1, lon1);
            }
        return a;
    }();
    return vertices;
}

const std::array<vm::Float3, kCubeVertices>& cube() {
    static const std::array<vm::Float3, kCubeVertices> vertices = {{
        {-1, 1, -1},  {-1, 1, 1},  {1, 1, -1},   {1, 1, 1},   {-1, 1, -1},  {1, 1, -1},
        {-1, 1, 1},   {1, 1, 1},   {-1, -1, -1}, {-1, -1, 1}, {1, -1, -1},  {1, -1, 1},
        {-1, -1, -1}, {1, -1, -1}, {-1, -1, 1},  {1, -1, 1},  {1, -1, -1},  {1, 1, -1},
        {1, -1, 1},   {1, 1, 1},   {-1, -1, 1},  {-1, 1, 1},  {-1, -1, -1}, {-1, 1, -1},
    }};
    return vertices;
}

std::array<vm::Float3, 6> arrow(vm::Vec4 from, vm::Vec4 to, vm::Vec4 viewDirection) {
    const vm::Vec4 dir = vm::normalize3(to - from) * 0.1f;
    const vm::Vec4 side = vm::normalize3(vm::cross3(dir, viewDirection)) * 0.1f;
    const vm::Vec4 base = to - dir;
    return {f3(base + side), f3(to), f3(from), f3(to), f3(base - side), f3(to)};
}

} // namespace lines
