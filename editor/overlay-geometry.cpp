#include "editor/overlay-geometry.h"

#include <cmath>

namespace overlay {

std::vector<Segment> selectionBrackets(vm::Vec4 min, vm::Vec4 max) {
    std::vector<Segment> lines;
    lines.reserve(24);
    for (int corner = 0; corner < 8; ++corner) {
        const vm::Vec4 c = {corner & 1 ? max.x : min.x, corner & 2 ? max.y : min.y,
                            corner & 4 ? max.z : min.z, 1};
        for (int axis = 0; axis < 3; ++axis) {
            const int other = corner ^ (1 << axis);
            const vm::Vec4 n = {other & 1 ? max.x : min.x, other & 2 ? max.y : min.y,
                                other & 4 ? max.z : min.z, 1};
            lines.push_back({c, c + (n - c) * 0.12f, kBracket});
        }
    }
    return lines;
}

std::vector<Segment> pendingNet(const std::vector<vm::Vec4>& p) {
    std::vector<Segment> lines;
    const int n = static_cast<int>(p.size());
    auto at = [&](int i) { return p[static_cast<size_t>(i)]; };
    for (int i = 1; i < std::min(n, 4); ++i)
        lines.push_back({at(i - 1), at(i), kBracket});
    const int rows = n / 4 + (n % 4 != 0 ? 1 : 0);
    for (int r = 1; r < rows; ++r) {
        lines.push_back({at(4 * (r - 1)), at(4 * r), kBracket});
        const int cols = (r == rows - 1 && n % 4 != 0) ? n % 4 : 4;
        for (int c = 1; c < cols; ++c) {
            lines.push_back({at(4 * r + c - 1), at(4 * r + c), r == 3 ? kBracket : kNetInner});
            lines.push_back({at(4 * (r - 1) + c), at(4 * r + c), c == 3 ? kBracket : kNetInner});
        }
    }
    return lines;
}

std::vector<Segment> cameraSketch(float d, float aspect) {
    std::vector<Segment> lines;
    const float h = std::tan(vm::kHalfFieldOfView) * d, w = h * aspect, step = d / 10;
    if (!(step > 0)) return lines;
    for (float s = 0; s < w; s += step) {
        lines.push_back({{-s, -h, d, 1}, {-s, h, d, 1}, kGrid});
        lines.push_back({{s, -h, d, 1}, {s, h, d, 1}, kGrid});
    }
    for (float s = 0; s < h; s += step) {
        lines.push_back({{-w, -s, d, 1}, {w, -s, d, 1}, kGrid});
        lines.push_back({{-w, s, d, 1}, {w, s, d, 1}, kGrid});
    }
    const vm::Vec4 corners[4] = {{-w, -h, d, 1}, {w, -h, d, 1}, {w, h, d, 1}, {-w, h, d, 1}};
    for (int i = 0; i < 4; ++i)
        lines.push_back({corners[i], corners[(i + 1) % 4], kFrame});
    for (const vm::Vec4& c : corners)
        lines.push_back({c, {0, 0, 0, 1}, kFrustum});
    lines.push_back({{-d, -d, 0, 1}, {-d, d, 0, 1}, kBracket});
    lines.push_back({{-d, -d, 0, 1}, {d, -d, 0, 1}, kBracket});
    return lines;
}

void guideFeet(vm::Vec4 p, const vm::Mat4& frame, vm::Vec4* a, vm::Vec4* b) {
    vm::Vec4 q = vm::transform({p.x, p.y, p.z, 1}, vm::inverse(frame));
    *a = vm::transform({0, q.y, q.z, 1}, frame);
    *b = vm::transform({q.x, 0, q.z, 1}, frame);
}

} // namespace overlay
