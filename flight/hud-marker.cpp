#include "flight/hud-marker.h"

#include <cmath>
#include <cstdlib>
#include <utility>

namespace hud {

Marker marker(vm::Vec4 h) {
    float hx = std::isfinite(h.x) ? h.x : 0, hy = std::isfinite(h.y) ? h.y : 0;
    Marker m;
    m.behind = std::isfinite(h.z) && h.z < 0;
    if (m.behind) {
        const float across = std::sqrt(hx * hx + hy * hy);
        if (across > 1e-6f) {
            hx /= across;
            hy /= across;
        } else {
            hx = 0;
            hy = -1;
        }
    }
    m.x = static_cast<int>(std::lround(static_cast<float>(kCentreX) - kReach * hx));
    m.y = static_cast<int>(std::lround(static_cast<float>(kCentreY) - kReach * hy));
    return m;
}

void drawMarker(std::vector<uint16_t>& texels, const Marker& m) {
    drawMarker(texels, m.x, m.y);
    if (!m.behind) return;
    constexpr int kRing = 6;
    for (int i = -kRing; i <= kRing; ++i)
        for (const auto& [cx, cy] :
             {std::pair{m.x + i, m.y - kRing}, std::pair{m.x + i, m.y + kRing},
              std::pair{m.x - kRing, m.y + i}, std::pair{m.x + kRing, m.y + i}})
            if (cx >= 0 && cx < kWidth && cy >= 0 && cy < kHeight)
                texels[static_cast<size_t>(cy * kWidth + cx)] = 1;
}

void drawMarker(std::vector<uint16_t>& texels, int x, int y) {
    texels.resize(static_cast<size_t>(kWidth * kHeight), 0);
    auto put = [&](int column, int row, uint16_t value) {
        if (column >= 0 && column < kWidth && row >= 0 && row < kHeight)
            texels[static_cast<size_t>(row * kWidth + column)] = value;
    };
    const int dx = x - kCentreX, dy = y - kCentreY;
    const int sx = dx > 0 ? 1 : -1, sy = dy > 0 ? 1 : -1;
    if (std::abs(dx) > std::abs(dy)) {
        const int n = std::abs(dx);
        int previous = kCentreY;
        for (int i = 0; i < n; ++i) {
            const int column = kCentreX + i * sx;
            // The line follows its slope: i·dy/|dx| rows at step i (truncated).
            const int row = kCentreY + i * dy / n;
            put(column, row, 1);
            if (i > 0 && row != previous) put(column, previous, 255);
            previous = row;
        }
    } else {
        const int n = std::abs(dy);
        int previous = kCentreX;
        for (int i = 0; i < n; ++i) {
            const int row = kCentreY + i * sy;
            const int column = kCentreX + i * dx / n;
            put(column, row, 1);
            if (i > 0 && column != previous) put(previous, row, 255);
            previous = column;
        }
    }
}

} // namespace hud
