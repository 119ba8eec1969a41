// Small vector library with DirectXMath's conventions: 4-float vectors, row vectors
// (a point is transformed as p × M, products apply left to right), right-handed views,
// radians, quaternions stored (x, y, z, w).
#pragma once

#include <cmath>

namespace vm {

struct Vec4 {
    float x = 0, y = 0, z = 0, w = 0;
};
using Quat = Vec4;

struct Float3 {
    float x = 0, y = 0, z = 0;
};

struct Mat4 {
    float m[4][4] = {};
    float* operator[](int r) { return m[r]; }
    const float* operator[](int r) const { return m[r]; }
};

inline constexpr float kPi = 3.14159265358979f;
inline constexpr float kTwoPi = 2 * kPi;
inline constexpr float kHalfPi = kPi / 2;
// The views' vertical field of view (π/4) and half of it.
inline constexpr float kFieldOfView = kPi / 4;
inline constexpr float kHalfFieldOfView = kPi / 8;

// --- vectors ---
inline Vec4 vec(float x, float y, float z, float w = 0) {
    return {x, y, z, w};
}
inline Vec4 point(float x, float y, float z) {
    return {x, y, z, 1};
}
inline Vec4 operator+(Vec4 a, Vec4 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w};
}
inline Vec4 operator-(Vec4 a, Vec4 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w};
}
inline Vec4 operator*(Vec4 a, float s) {
    return {a.x * s, a.y * s, a.z * s, a.w * s};
}
inline Vec4 operator-(Vec4 a) {
    return {-a.x, -a.y, -a.z, -a.w};
}
inline float dot3(Vec4 a, Vec4 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline float dot4(Vec4 a, Vec4 b) {
    return dot3(a, b) + a.w * b.w;
}
inline Vec4 cross3(Vec4 a, Vec4 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x, 0};
}
inline float length3(Vec4 a) {
    return std::sqrt(dot3(a, a));
}
// Unit vector in x, y, z (w is set to 0); a zero vector stays zero.
Vec4 normalize3(Vec4 a);
// Unit quaternion (all four components).
Quat normalize4(Quat q);

// --- matrices ---
Mat4 identity();
Mat4 operator*(const Mat4& a, const Mat4& b);
// Row vector times matrix, all four components. Inline: working out the levels of 100,000
// patches transforms 1.6 million points a frame.
inline Vec4 transform(Vec4 v, const Mat4& m) {
    return {v.x * m[0][0] + v.y * m[1][0] + v.z * m[2][0] + v.w * m[3][0],
            v.x * m[0][1] + v.y * m[1][1] + v.z * m[2][1] + v.w * m[3][1],
            v.x * m[0][2] + v.y * m[1][2] + v.z * m[2][2] + v.w * m[3][2],
            v.x * m[0][3] + v.y * m[1][3] + v.z * m[2][3] + v.w * m[3][3]};
}
// Point (w taken as 1) times matrix, divided by the resulting w.
Vec4 transformCoord(Vec4 v, const Mat4& m);
// Direction (w taken as 0) times matrix.
Vec4 transformNormal(Vec4 v, const Mat4& m);
Mat4 transpose(const Mat4& m);
// General inverse; a singular matrix gives the zero matrix and determinant 0.
Mat4 inverse(const Mat4& m, float* determinant = nullptr);
float determinant(const Mat4& m);

Mat4 translation(float x, float y, float z);
inline Mat4 translation(Vec4 v) {
    return translation(v.x, v.y, v.z);
}
Mat4 scaling(float x, float y, float z);
Mat4 rotationX(float angle);
Mat4 rotationY(float angle);
Mat4 rotationZ(float angle);
// Roll about z first, then pitch about x, then yaw about y.
Mat4 rotationRollPitchYaw(float pitch, float yaw, float roll);
Mat4 rotationQuaternion(Quat q);

// Right-handed view looking from eye along direction.
Mat4 lookToRH(Vec4 eye, Vec4 direction, Vec4 up);
Mat4 lookAtRH(Vec4 eye, Vec4 focus, Vec4 up);
// Right-handed perspective: rows (w,0,0,0), (0,h,0,0), (0,0,r,-1), (0,0,r·near,0).
Mat4 perspectiveFovRH(float fovAngleY, float aspect, float nearZ, float farZ);
// Right-handed orthographic projection of a width × height window, depth nearZ…farZ to 0…1.
Mat4 orthographicRH(float width, float height, float nearZ, float farZ);

// scaling × Translation(−origin) × Rotation(q) × Translation(origin) × Translation(t).
Mat4 affineTransformation(Vec4 scale, Vec4 rotationOrigin, Quat rotation, Vec4 translationV);
// Splits an affine matrix into scale, rotation and translation; false when an axis is degenerate.
bool decompose(const Mat4& m, Vec4* scale, Quat* rotation, Vec4* translationV);

// --- quaternions ---
Quat quaternionIdentity();
// Rotation by a followed by rotation by b (DirectXMath's XMQuaternionMultiply(a, b)).
Quat quaternionMultiply(Quat a, Quat b);
Quat quaternionRollPitchYaw(float pitch, float yaw, float roll);
Quat quaternionRotationAxis(Vec4 axis, float angle);
Quat quaternionFromMatrix(const Mat4& m);

// --- intersection ---
// Möller–Trumbore with DirectXCollision's conventions: both faces hit, |det| < 1e-20 misses,
// barycentric bounds compared against det undivided, t ≥ 0. direction must be unit length;
// distance is then the distance along the ray.
bool rayTriangle(Vec4 origin, Vec4 direction, Vec4 v0, Vec4 v1, Vec4 v2, float* distance);

} // namespace vm
