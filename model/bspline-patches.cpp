#include "model/bspline-patches.h"

#include <algorithm>
#include <cmath>

#include "model/working-range.h"

namespace {

constexpr int kDegree = 3;

// One B-spline curve of points of dimension coordinates each, kept flat: a whole column of a
// surface's points is one point of the curve along the other direction.
struct Curve {
    std::vector<double> knots;
    std::vector<double> points;
    size_t dimension = 3;
    int count() const { return static_cast<int>(points.size() / dimension); }
};

// The breakpoints in [from, to]: the ends and every knot between them, in order, once each.
std::vector<double> breakpoints(const std::vector<double>& knots, double from, double to) {
    std::vector<double> breaks = {from, to};
    for (double k : knots)
        if (k > from && k < to) breaks.push_back(k);
    std::sort(breaks.begin(), breaks.end());
    breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());
    return breaks;
}

// The knots to insert, in order, for every breakpoint to be a triple knot.
std::vector<double> knotsToInsert(const std::vector<double>& knots,
                                  const std::vector<double>& breaks) {
    std::vector<double> inserted;
    for (double b : breaks) {
        const auto [first, last] = std::equal_range(knots.begin(), knots.end(), b);
        for (auto have = last - first; have < kDegree; ++have)
            inserted.push_back(b);
    }
    return inserted;
}

// Inserts the sorted knots x, all within the curve's domain [knots[3], knots[count]], in one
// pass over the points (knot refinement): time linear in the points made.
void refine(Curve& c, const std::vector<double>& x) {
    if (x.empty()) return;
    const std::vector<double>& u = c.knots;
    const size_t dim = c.dimension;
    const int n = c.count() - 1, r = static_cast<int>(x.size()) - 1, m = n + kDegree + 1;
    // The span [u[k], u[k+1]) holding t (the last one at the domain's end).
    auto span = [&](double t) {
        const auto after = std::upper_bound(u.begin() + kDegree, u.begin() + n + 1, t);
        return std::clamp(static_cast<int>(after - u.begin()) - 1, kDegree, n);
    };
    const int a = span(x.front()), b = span(x.back()) + 1;
    std::vector<double> q(static_cast<size_t>(n + r + 2) * dim);
    std::vector<double> ubar(static_cast<size_t>(m + r + 2));
    auto point = [dim](std::vector<double>& p, int i) {
        return p.data() + static_cast<size_t>(i) * dim;
    };
    auto copy = [dim](double* to, const double* from) { std::copy(from, from + dim, to); };
    for (int j = 0; j <= a - kDegree; ++j)
        copy(point(q, j), point(c.points, j));
    for (int j = b - 1; j <= n; ++j)
        copy(point(q, j + r + 1), point(c.points, j));
    for (int j = 0; j <= a; ++j)
        ubar[static_cast<size_t>(j)] = u[static_cast<size_t>(j)];
    for (int j = b + kDegree; j <= m; ++j)
        ubar[static_cast<size_t>(j + r + 1)] = u[static_cast<size_t>(j)];
    int i = b + kDegree - 1, k = b + kDegree + r;
    for (int j = r; j >= 0; --j) {
        const double t = x[static_cast<size_t>(j)];
        while (t <= u[static_cast<size_t>(i)] && i > a) {
            copy(point(q, k - kDegree - 1), point(c.points, i - kDegree - 1));
            ubar[static_cast<size_t>(k)] = u[static_cast<size_t>(i)];
            --k, --i;
        }
        copy(point(q, k - kDegree - 1), point(q, k - kDegree));
        for (int l = 1; l <= kDegree; ++l) {
            const int at = k - kDegree + l;
            double* left = point(q, at - 1);
            const double* right = point(q, at);
            const double gap = ubar[static_cast<size_t>(k + l)] - t;
            if (gap == 0) {
                copy(left, right);
                continue;
            }
            const double alpha =
                gap / (ubar[static_cast<size_t>(k + l)] - u[static_cast<size_t>(i - kDegree + l)]);
            for (size_t d = 0; d < dim; ++d)
                left[d] = alpha * left[d] + (1 - alpha) * right[d];
        }
        ubar[static_cast<size_t>(k)] = t;
        --k;
    }
    c.points = std::move(q);
    c.knots = std::move(ubar);
}

// Each span's Bezier piece inside [from, to] after refinement: the index of its first point.
std::vector<int> pieces(const Curve& c, double from, double to) {
    std::vector<int> out;
    const int n = c.count();
    for (int k = kDegree; k < n; ++k) {
        const double a = c.knots[static_cast<size_t>(k)], b = c.knots[static_cast<size_t>(k + 1)];
        if (a < b && a >= from && b <= to) out.push_back(k - kDegree);
    }
    return out;
}

bool knotsValid(const std::vector<double>& knots, int count, double from, double to) {
    if (count < kDegree + 1 || knots.size() != static_cast<size_t>(count + kDegree + 1))
        return false;
    for (size_t i = 1; i < knots.size(); ++i)
        if (!(knots[i] >= knots[i - 1]) || !std::isfinite(knots[i])) return false;
    return from < to && from >= knots[kDegree] && to <= knots[static_cast<size_t>(count)];
}

// Whether the knots are one span over exactly [from, to] with both ends triple: the points are
// then the patch's own, and nothing is inserted (as most exporters write a Bezier patch).
bool bezierSpan(const std::vector<double>& knots, int count, double from, double to) {
    return count == kDegree + 1 && knots.size() == 2 * (kDegree + 1) && knots[1] == from &&
           knots[2] == from && knots[3] == from && knots[4] == to && knots[5] == to &&
           knots[6] == to;
}

std::vector<std::array<vm::Float3, 16>> patchesOf(const BSplineSurface& s, std::string& why) {
    if (!knotsValid(s.knotsU, s.countU, s.u0, s.u1) ||
        !knotsValid(s.knotsV, s.countV, s.v0, s.v1) ||
        s.points.size() != static_cast<size_t>(s.countU) * static_cast<size_t>(s.countV)) {
        why = "its knots, points and parameter range do not make a cubic B-spline surface";
        return {};
    }
    if (bezierSpan(s.knotsU, s.countU, s.u0, s.u1) && bezierSpan(s.knotsV, s.countV, s.v0, s.v1)) {
        std::vector<std::array<vm::Float3, 16>> patch(1);
        for (size_t r = 0; r < 4; ++r)
            for (size_t c = 0; c < 4; ++c) {
                const auto& p = s.points[c * 4 + r];
                patch[0][4 * r + c] = {static_cast<float>(p[0]), static_cast<float>(p[1]),
                                       static_cast<float>(p[2])};
            }
        return patch;
    }
    const std::vector<double> breaksU = breakpoints(s.knotsU, s.u0, s.u1),
                              breaksV = breakpoints(s.knotsV, s.v0, s.v1);
    const size_t made = (breaksU.size() - 1) * (breaksV.size() - 1);
    if (made > kMostPatchesPerSurface) {
        why = "it would make " + std::to_string(made) + " patches, more than the " +
              std::to_string(kMostPatchesPerSurface) + " one surface may make";
        return {};
    }
    // Along u, every row at once: each point of the curve is a whole column of v points.
    Curve alongU{s.knotsU, {}, 3 * static_cast<size_t>(s.countV)};
    alongU.points.reserve(s.points.size() * 3);
    for (const auto& p : s.points)
        alongU.points.insert(alongU.points.end(), p.begin(), p.end());
    refine(alongU, knotsToInsert(s.knotsU, breaksU));
    const std::vector<int> piecesU = pieces(alongU, s.u0, s.u1);
    // Then along v, one strip of four u columns at a time (a curve of 4 × 3 coordinates).
    const std::vector<double> insertV = knotsToInsert(s.knotsV, breaksV);
    std::vector<std::array<vm::Float3, 16>> patches;
    for (size_t stripAt = 0; stripAt < piecesU.size(); ++stripAt) {
        Curve strip{s.knotsV, {}, 12};
        strip.points.reserve(static_cast<size_t>(s.countV) * 12);
        for (int iv = 0; iv < s.countV; ++iv)
            for (int c = 0; c < 4; ++c) {
                const double* p = alongU.points.data() +
                                  static_cast<size_t>(piecesU[stripAt] + c) * alongU.dimension +
                                  3 * static_cast<size_t>(iv);
                strip.points.insert(strip.points.end(), p, p + 3);
            }
        refine(strip, insertV);
        const std::vector<int> piecesV = pieces(strip, s.v0, s.v1);
        if (patches.empty()) patches.resize(piecesU.size() * piecesV.size());
        for (size_t rowAt = 0; rowAt < piecesV.size(); ++rowAt) {
            std::array<vm::Float3, 16>& net = patches[rowAt * piecesU.size() + stripAt];
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 4; ++c) {
                    const double* p = strip.points.data() +
                                      static_cast<size_t>(piecesV[rowAt] + r) * 12 +
                                      3 * static_cast<size_t>(c);
                    net[static_cast<size_t>(4 * r + c)] = {static_cast<float>(p[0]),
                                                           static_cast<float>(p[1]),
                                                           static_cast<float>(p[2])};
                }
        }
    }
    if (patches.empty()) why = "its parameter range holds no span";
    return patches;
}

} // namespace

std::vector<std::array<vm::Float3, 16>> bezierPatches(const BSplineSurface& s, std::string& why) {
    std::vector<std::array<vm::Float3, 16>> patches = patchesOf(s, why);
    // A pole finite as a double may still be too large for the model's floats.
    for (const auto& net : patches)
        for (const vm::Float3& q : net)
            if (!std::isfinite(q.x) || !std::isfinite(q.y) || !std::isfinite(q.z)) {
                why = "a control point lies outside the working range (" +
                      std::string(kWorkingRangeText) + ")";
                return {};
            }
    return patches;
}
