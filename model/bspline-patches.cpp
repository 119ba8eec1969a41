#include "model/bspline-patches.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kDegree = 3;
using Point = std::array<double, 3>;

// One B-spline curve of points (each point any number of coordinates, kept flat).
struct Curve {
    std::vector<double> knots;
    std::vector<std::vector<double>> points;
};

// Inserts t once (Boehm). t lies in the curve's domain [knots[3], knots[n]].
void insertKnot(Curve& c, double t) {
    const int n = static_cast<int>(c.points.size()); // points 0..n-1, knots 0..n+3
    int k = kDegree;
    while (k + 1 < n && c.knots[static_cast<size_t>(k + 1)] <= t)
        ++k; // the span [knots[k], knots[k+1]) holding t (the last one at the domain's end)
    std::vector<std::vector<double>> next;
    next.reserve(static_cast<size_t>(n + 1));
    for (int i = 0; i <= n; ++i) {
        if (i <= k - kDegree) {
            next.push_back(c.points[static_cast<size_t>(i)]);
        } else if (i > k) {
            next.push_back(c.points[static_cast<size_t>(i - 1)]);
        } else {
            const double span =
                c.knots[static_cast<size_t>(i + kDegree)] - c.knots[static_cast<size_t>(i)];
            const double a = span > 0 ? (t - c.knots[static_cast<size_t>(i)]) / span : 0;
            std::vector<double> p(c.points[static_cast<size_t>(i)].size());
            for (size_t d = 0; d < p.size(); ++d)
                p[d] = (1 - a) * c.points[static_cast<size_t>(i - 1)][d] +
                       a * c.points[static_cast<size_t>(i)][d];
            next.push_back(std::move(p));
        }
    }
    c.points = std::move(next);
    c.knots.insert(c.knots.begin() + k + 1, t);
}

// Every breakpoint in [from, to] made a triple knot (the ends too); returns the index of the
// first point of each span's Bezier piece inside [from, to], in order.
std::vector<int> extract(Curve& c, double from, double to) {
    std::vector<double> breaks = {from, to};
    for (double k : c.knots)
        if (k > from && k < to) breaks.push_back(k);
    std::sort(breaks.begin(), breaks.end());
    breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());
    for (double b : breaks)
        while (std::count(c.knots.begin(), c.knots.end(), b) < kDegree)
            insertKnot(c, b);
    // A span [t_k, t_k+1] inside the range whose ends are triple knots: its points are
    // k−3..k.
    std::vector<int> pieces;
    const int n = static_cast<int>(c.points.size());
    for (int k = kDegree; k < n; ++k) {
        const double a = c.knots[static_cast<size_t>(k)], b = c.knots[static_cast<size_t>(k + 1)];
        if (a < b && a >= from && b <= to) pieces.push_back(k - kDegree);
    }
    return pieces;
}

bool knotsValid(const std::vector<double>& knots, int count, double from, double to) {
    if (count < kDegree + 1 || knots.size() != static_cast<size_t>(count + kDegree + 1))
        return false;
    for (size_t i = 1; i < knots.size(); ++i)
        if (!(knots[i] >= knots[i - 1]) || !std::isfinite(knots[i])) return false;
    return from < to && from >= knots[kDegree] && to <= knots[static_cast<size_t>(count)];
}

} // namespace

std::vector<std::array<vm::Float3, 16>> bezierPatches(const BSplineSurface& s, std::string& why) {
    if (!knotsValid(s.knotsU, s.countU, s.u0, s.u1) ||
        !knotsValid(s.knotsV, s.countV, s.v0, s.v1) ||
        s.points.size() != static_cast<size_t>(s.countU) * static_cast<size_t>(s.countV)) {
        why = "its knots, points and parameter range do not make a cubic B-spline surface";
        return {};
    }
    // Along u: each point of the curve is a whole column of v points.
    Curve alongU{s.knotsU, {}};
    for (int iu = 0; iu < s.countU; ++iu) {
        std::vector<double> column;
        for (int iv = 0; iv < s.countV; ++iv)
            for (double x : s.points[static_cast<size_t>(iu * s.countV + iv)])
                column.push_back(x);
        alongU.points.push_back(std::move(column));
    }
    const std::vector<int> piecesU = extract(alongU, s.u0, s.u1);
    // Then along v, for each point of u: the points of a v row are the u columns, flattened.
    const int countU = static_cast<int>(alongU.points.size());
    Curve alongV{s.knotsV, {}};
    for (int iv = 0; iv < s.countV; ++iv) {
        std::vector<double> row;
        for (int iu = 0; iu < countU; ++iu)
            for (int d = 0; d < 3; ++d)
                row.push_back(
                    alongU.points[static_cast<size_t>(iu)][static_cast<size_t>(3 * iv + d)]);
        alongV.points.push_back(std::move(row));
    }
    const std::vector<int> piecesV = extract(alongV, s.v0, s.v1);
    std::vector<std::array<vm::Float3, 16>> patches;
    for (int pv : piecesV)
        for (int pu : piecesU) {
            std::array<vm::Float3, 16> net;
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 4; ++c) {
                    const std::vector<double>& row = alongV.points[static_cast<size_t>(pv + r)];
                    const size_t at = static_cast<size_t>(3 * (pu + c));
                    net[static_cast<size_t>(4 * r + c)] = {static_cast<float>(row[at]),
                                                           static_cast<float>(row[at + 1]),
                                                           static_cast<float>(row[at + 2])};
                }
            patches.push_back(net);
        }
    if (patches.empty()) why = "its parameter range holds no span";
    return patches;
}
