#include "model/bezier-surface.h"

#include <algorithm>

#include <cmath>

namespace bezier {

namespace {

vm::Float3 weighted(const std::array<vm::Float3, 16>& p, const std::array<float, 4>& bu,
                    const std::array<float, 4>& bv) {
    vm::Float3 r{};
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) {
            const float w = bv[static_cast<size_t>(row)] * bu[static_cast<size_t>(col)];
            const vm::Float3& q = p[static_cast<size_t>(4 * row + col)];
            r.x += w * q.x;
            r.y += w * q.y;
            r.z += w * q.z;
        }
    return r;
}

} // namespace

vm::Float3 evaluate(const std::array<vm::Float3, 16>& p, float u, float v) {
    return weighted(p, bernstein(u), bernstein(v));
}

std::optional<vm::Float3> unitNormal(const vm::Float3& du, const vm::Float3& dv) {
    const vm::Float3 n{du.y * dv.z - du.z * dv.y, du.z * dv.x - du.x * dv.z,
                       du.x * dv.y - du.y * dv.x};
    const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    const float larger =
        std::max(du.x * du.x + du.y * du.y + du.z * du.z, dv.x * dv.x + dv.y * dv.y + dv.z * dv.z);
    // On a collapsed row one derivative is rounding noise (about 1e-7 of the coordinates):
    // its cross product has a size but no meaning. Judged against the larger derivative, it
    // is nothing.
    if (!(length > kDegenerateNormal * larger) || !std::isfinite(length)) return std::nullopt;
    return vm::Float3{n.x / length, n.y / length, n.z / length};
}

vm::Float3 normalAt(const std::array<vm::Float3, 16>& p, float u, float v) {
    // A little way inside when the derivatives vanish or run parallel at (u, v).
    for (float inset : {0.0f, 1e-3f, 1e-2f, 0.1f}) {
        const float uu = u + (u < 0.5f ? inset : -inset), vv = v + (v < 0.5f ? inset : -inset);
        const vm::Float3 du = weighted(p, bernsteinDerivative(uu), bernstein(vv));
        const vm::Float3 dv = weighted(p, bernstein(uu), bernsteinDerivative(vv));
        if (const auto n = unitNormal(du, dv)) return *n;
    }
    return {0, 1, 0};
}

void tessellateNormals(const std::array<vm::Float3, 16>& p, vm::Float3* out) {
    for (int j = 0; j <= kFactor; ++j)
        for (int i = 0; i <= kFactor; ++i)
            out[j * (kFactor + 1) + i] =
                normalAt(p, static_cast<float>(i) / kFactor, static_cast<float>(j) / kFactor);
}

std::array<vm::Float3, 16> controlPoints(const Model& model, const Model::Patch& patch) {
    std::array<vm::Float3, 16> p;
    for (size_t i = 0; i < 16; ++i)
        p[i] = model.points[static_cast<size_t>(patch.indices[i])];
    return p;
}

void tessellate(const std::array<vm::Float3, 16>& p, vm::Float3* out) {
    // Weights are the same for every patch; work them out once.
    static const auto weights = [] {
        std::array<std::array<float, 4>, kFactor + 1> w;
        for (int i = 0; i <= kFactor; ++i)
            w[static_cast<size_t>(i)] = bernstein(static_cast<float>(i) / kFactor);
        return w;
    }();
    // Rows of control points blended along u first, then the four results along v.
    for (int i = 0; i <= kFactor; ++i) {
        const auto& bu = weights[static_cast<size_t>(i)];
        vm::Float3 column[4];
        for (int row = 0; row < 4; ++row) {
            vm::Float3 c{};
            for (int col = 0; col < 4; ++col) {
                const vm::Float3& q = p[static_cast<size_t>(4 * row + col)];
                const float w = bu[static_cast<size_t>(col)];
                c.x += w * q.x;
                c.y += w * q.y;
                c.z += w * q.z;
            }
            column[row] = c;
        }
        for (int j = 0; j <= kFactor; ++j) {
            const auto& bv = weights[static_cast<size_t>(j)];
            vm::Float3 r{};
            for (int row = 0; row < 4; ++row) {
                const float w = bv[static_cast<size_t>(row)];
                r.x += w * column[row].x;
                r.y += w * column[row].y;
                r.z += w * column[row].z;
            }
            out[j * (kFactor + 1) + i] = r;
        }
    }
}

const std::array<uint32_t, kTriangleIndices>& triangleIndices() {
    static const auto indices = [] {
        std::array<uint32_t, kTriangleIndices> a{};
        size_t n = 0;
        for (uint32_t j = 0; j < kFactor; ++j)
            for (uint32_t i = 0; i < kFactor; ++i) {
                const uint32_t v00 = j * (kFactor + 1) + i, v10 = v00 + 1;
                const uint32_t v01 = v00 + kFactor + 1, v11 = v01 + 1;
                for (uint32_t v : {v00, v10, v11, v00, v11, v01})
                    a[n++] = v;
            }
        return a;
    }();
    return indices;
}

void tessellateGrid(const std::array<vm::Float3, 16>& p, int across, int down, vm::Float3* vertices,
                    vm::Float3* normals) {
    const int perRow = across + 1;
    const float stepU = 1.0f / static_cast<float>(across), stepV = 1.0f / static_cast<float>(down);
    for (int i = 0; i < perRow; ++i) {
        // The four rows blended along u (points and their slopes), then those along v.
        const float u = static_cast<float>(i) * stepU;
        const std::array<float, 4> bu = bernstein(u), du = bernsteinDerivative(u);
        vm::Float3 row[4], slope[4];
        for (size_t r = 0; r < 4; ++r) {
            row[r] = slope[r] = {};
            for (size_t c = 0; c < 4; ++c) {
                const vm::Float3& q = p[4 * r + c];
                row[r].x += bu[c] * q.x, row[r].y += bu[c] * q.y, row[r].z += bu[c] * q.z;
                slope[r].x += du[c] * q.x, slope[r].y += du[c] * q.y, slope[r].z += du[c] * q.z;
            }
        }
        for (int j = 0; j <= down; ++j) {
            const float v = static_cast<float>(j) * stepV;
            const std::array<float, 4> bv = bernstein(v), dv = bernsteinDerivative(v);
            vm::Float3 at{}, alongU{}, alongV{};
            for (size_t r = 0; r < 4; ++r) {
                at.x += bv[r] * row[r].x, at.y += bv[r] * row[r].y, at.z += bv[r] * row[r].z;
                alongU.x += bv[r] * slope[r].x, alongU.y += bv[r] * slope[r].y;
                alongU.z += bv[r] * slope[r].z;
                alongV.x += dv[r] * row[r].x, alongV.y += dv[r] * row[r].y;
                alongV.z += dv[r] * row[r].z;
            }
            const size_t k = static_cast<size_t>(j * perRow + i);
            vertices[k] = at;
            const std::optional<vm::Float3> normal = unitNormal(alongU, alongV);
            normals[k] = normal ? *normal : normalAt(p, u, v); // a collapsed edge: look inside
        }
    }
}

void nearestParameters(const std::array<vm::Float3, 16>& net, vm::Float3 at, float& u, float& v) {
    // A grid of 17 × 17 over the patch around its middle, then a finer one around its nearest
    // point.
    u = v = 0.5f;
    float best = INFINITY, step = 1.0f / 16;
    for (int pass = 0; pass < 2; ++pass, step /= 8) {
        const float cu = u, cv = v;
        for (int i = -8; i <= 8; ++i)
            for (int j = -8; j <= 8; ++j) {
                const float su = std::clamp(cu + step * float(i), 0.0f, 1.0f);
                const float sv = std::clamp(cv + step * float(j), 0.0f, 1.0f);
                const vm::Float3 p = evaluate(net, su, sv);
                const float dx = p.x - at.x, dy = p.y - at.y, dz = p.z - at.z;
                const float d2 = dx * dx + dy * dy + dz * dz;
                if (d2 < best) best = d2, u = su, v = sv;
            }
    }
}

} // namespace bezier
