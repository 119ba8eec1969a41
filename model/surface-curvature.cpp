#include "model/surface-curvature.h"

#include <algorithm>
#include <cmath>

namespace bezier {

namespace {

Vec3d operator+(Vec3d a, Vec3d b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec3d operator*(Vec3d a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}
double dot(Vec3d a, Vec3d b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3d cross(Vec3d a, Vec3d b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// The cubic Bernstein weights at t and their first and second derivatives.
struct Weights {
    std::array<double, 4> b, d1, d2;
};
Weights weightsAt(double t) {
    const double s = 1 - t;
    return {{s * s * s, 3 * t * s * s, 3 * t * t * s, t * t * t},
            {-3 * s * s, 3 * s * s - 6 * t * s, 6 * t * s - 3 * t * t, 3 * t * t},
            {6 * s, 18 * t - 12, 6 - 18 * t, 6 * t}};
}

Vec3d combine(const std::array<vm::Float3, 16>& p, const std::array<double, 4>& wu,
              const std::array<double, 4>& wv) {
    Vec3d sum;
    for (size_t row = 0; row < 4; ++row)
        for (size_t col = 0; col < 4; ++col) {
            const vm::Float3& q = p[4 * row + col];
            sum = sum + Vec3d{q.x, q.y, q.z} * (wv[row] * wu[col]);
        }
    return sum;
}

// The fundamental forms' terms: E F G of the first, L M N of the second, with the unit
// normal; false where the tangents give no plane.
struct Forms {
    double e, f, g, l, m, n, determinant;
    Vec3d normal;
};
bool formsOf(const SurfaceDerivatives& d, Forms& forms) {
    forms.e = dot(d.du, d.du);
    forms.f = dot(d.du, d.dv);
    forms.g = dot(d.dv, d.dv);
    forms.determinant = forms.e * forms.g - forms.f * forms.f;
    if (!(forms.determinant > kDegenerateTangents * forms.e * forms.g)) return false;
    const Vec3d normal = cross(d.du, d.dv);
    forms.normal = normal * (1 / std::sqrt(dot(normal, normal)));
    forms.l = dot(d.duu, forms.normal);
    forms.m = dot(d.duv, forms.normal);
    forms.n = dot(d.dvv, forms.normal);
    return std::isfinite(forms.l + forms.m + forms.n);
}

} // namespace

SurfaceDerivatives derivativesAt(const std::array<vm::Float3, 16>& p, double u, double v) {
    const Weights wu = weightsAt(u), wv = weightsAt(v);
    return {combine(p, wu.b, wv.b),  combine(p, wu.d1, wv.b),  combine(p, wu.b, wv.d1),
            combine(p, wu.d2, wv.b), combine(p, wu.d1, wv.d1), combine(p, wu.b, wv.d2)};
}

Curvature curvatureAt(const SurfaceDerivatives& d) {
    Forms f{};
    if (!formsOf(d, f)) return {};
    return {(f.l * f.n - f.m * f.m) / f.determinant,
            (f.e * f.n - 2 * f.f * f.m + f.g * f.l) / (2 * f.determinant), true};
}

NormalCurvature normalCurvature(const SurfaceDerivatives& d, Vec3d direction) {
    Forms f{};
    if (!formsOf(d, f)) return {};
    // direction ≈ a·du + b·dv: the normal equations of the least-squares fit.
    const double pu = dot(direction, d.du), pv = dot(direction, d.dv);
    const double a = (pu * f.g - pv * f.f) / f.determinant;
    const double b = (pv * f.e - pu * f.f) / f.determinant;
    const double first = a * a * f.e + 2 * a * b * f.f + b * b * f.g;
    if (!(first > 0)) return {};
    return {(a * a * f.l + 2 * a * b * f.m + b * b * f.n) / first, f.normal, true};
}

CurvatureRange patchCurvatureRange(const std::array<vm::Float3, 16>& p, int samples) {
    CurvatureRange range;
    const int n = std::max(samples, 2) - 1;
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i) {
            const Curvature c =
                curvatureAt(p, static_cast<double>(i) / n, static_cast<double>(j) / n);
            if (!c.defined) {
                ++range.undefined;
                continue;
            }
            if (range.defined++ == 0) {
                range.minGaussian = range.maxGaussian = c.gaussian;
                range.minMean = range.maxMean = c.mean;
                continue;
            }
            range.minGaussian = std::min(range.minGaussian, c.gaussian);
            range.maxGaussian = std::max(range.maxGaussian, c.gaussian);
            range.minMean = std::min(range.minMean, c.mean);
            range.maxMean = std::max(range.maxMean, c.mean);
        }
    return range;
}

} // namespace bezier
