#include "core/vector-math.h"

namespace vm {

Vec4 normalize3(Vec4 a) {
    float len = length3(a);
    if (len == 0) return {};
    return {a.x / len, a.y / len, a.z / len, 0};
}

Quat normalize4(Quat q) {
    float len = std::sqrt(dot4(q, q));
    if (len == 0) return {};
    return q * (1.0f / len);
}

Mat4 identity() {
    Mat4 r;
    for (int i = 0; i < 4; ++i)
        r[i][i] = 1;
    return r;
}

Mat4 operator*(const Mat4& a, const Mat4& b) {
    Mat4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j] + a[i][3] * b[3][j];
    return r;
}

Vec4 transformCoord(Vec4 v, const Mat4& m) {
    Vec4 r = transform({v.x, v.y, v.z, 1}, m);
    float inv = 1.0f / r.w;
    return {r.x * inv, r.y * inv, r.z * inv, 1};
}

Vec4 transformNormal(Vec4 v, const Mat4& m) {
    Vec4 r = transform({v.x, v.y, v.z, 0}, m);
    r.w = 0;
    return r;
}

Mat4 transpose(const Mat4& m) {
    Mat4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r[i][j] = m[j][i];
    return r;
}

// Cofactor expansion, computed in double so nearly singular editor matrices keep their digits.
Mat4 inverse(const Mat4& m, float* determinantOut) {
    double a[16];
    for (int i = 0; i < 16; ++i)
        a[i] = m.m[i / 4][i % 4];
    double inv[16];
    inv[0] = a[5] * a[10] * a[15] - a[5] * a[11] * a[14] - a[9] * a[6] * a[15] +
             a[9] * a[7] * a[14] + a[13] * a[6] * a[11] - a[13] * a[7] * a[10];
    inv[4] = -a[4] * a[10] * a[15] + a[4] * a[11] * a[14] + a[8] * a[6] * a[15] -
             a[8] * a[7] * a[14] - a[12] * a[6] * a[11] + a[12] * a[7] * a[10];
    inv[8] = a[4] * a[9] * a[15] - a[4] * a[11] * a[13] - a[8] * a[5] * a[15] +
             a[8] * a[7] * a[13] + a[12] * a[5] * a[11] - a[12] * a[7] * a[9];
    inv[12] = -a[4] * a[9] * a[14] + a[4] * a[10] * a[13] + a[8] * a[5] * a[14] -
              a[8] * a[6] * a[13] - a[12] * a[5] * a[10] + a[12] * a[6] * a[9];
    inv[1] = -a[1] * a[10] * a[15] + a[1] * a[11] * a[14] + a[9] * a[2] * a[15] -
             a[9] * a[3] * a[14] - a[13] * a[2] * a[11] + a[13] * a[3] * a[10];
    inv[5] = a[0] * a[10] * a[15] - a[0] * a[11] * a[14] - a[8] * a[2] * a[15] +
             a[8] * a[3] * a[14] + a[12] * a[2] * a[11] - a[12] * a[3] * a[10];
    inv[9] = -a[0] * a[9] * a[15] + a[0] * a[11] * a[13] + a[8] * a[1] * a[15] -
             a[8] * a[3] * a[13] - a[12] * a[1] * a[11] + a[12] * a[3] * a[9];
    inv[13] = a[0] * a[9] * a[14] - a[0] * a[10] * a[13] - a[8] * a[1] * a[14] +
              a[8] * a[2] * a[13] + a[12] * a[1] * a[10] - a[12] * a[2] * a[9];
    inv[2] = a[1] * a[6] * a[15] - a[1] * a[7] * a[14] - a[5] * a[2] * a[15] + a[5] * a[3] * a[14] +
             a[13] * a[2] * a[7] - a[13] * a[3] * a[6];
    inv[6] = -a[0] * a[6] * a[15] + a[0] * a[7] * a[14] + a[4] * a[2] * a[15] -
             a[4] * a[3] * a[14] - a[12] * a[2] * a[7] + a[12] * a[3] * a[6];
    inv[10] = a[0] * a[5] * a[15] - a[0] * a[7] * a[13] - a[4] * a[1] * a[15] +
              a[4] * a[3] * a[13] + a[12] * a[1] * a[7] - a[12] * a[3] * a[5];
    inv[14] = -a[0] * a[5] * a[14] + a[0] * a[6] * a[13] + a[4] * a[1] * a[14] -
              a[4] * a[2] * a[13] - a[12] * a[1] * a[6] + a[12] * a[2] * a[5];
    inv[3] = -a[1] * a[6] * a[11] + a[1] * a[7] * a[10] + a[5] * a[2] * a[11] -
             a[5] * a[3] * a[10] - a[9] * a[2] * a[7] + a[9] * a[3] * a[6];
    inv[7] = a[0] * a[6] * a[11] - a[0] * a[7] * a[10] - a[4] * a[2] * a[11] + a[4] * a[3] * a[10] +
             a[8] * a[2] * a[7] - a[8] * a[3] * a[6];
    inv[11] = -a[0] * a[5] * a[11] + a[0] * a[7] * a[9] + a[4] * a[1] * a[11] - a[4] * a[3] * a[9] -
              a[8] * a[1] * a[7] + a[8] * a[3] * a[5];
    inv[15] = a[0] * a[5] * a[10] - a[0] * a[6] * a[9] - a[4] * a[1] * a[10] + a[4] * a[2] * a[9] +
              a[8] * a[1] * a[6] - a[8] * a[2] * a[5];
    double det = a[0] * inv[0] + a[1] * inv[4] + a[2] * inv[8] + a[3] * inv[12];
    if (determinantOut) *determinantOut = static_cast<float>(det);
    Mat4 r;
    if (det == 0) return r;
    for (int i = 0; i < 16; ++i)
        r.m[i / 4][i % 4] = static_cast<float>(inv[i] / det);
    return r;
}

float determinant(const Mat4& m) {
    float det = 0;
    inverse(m, &det);
    return det;
}

Mat4 translation(float x, float y, float z) {
    Mat4 r = identity();
    r[3][0] = x;
    r[3][1] = y;
    r[3][2] = z;
    return r;
}

Mat4 scaling(float x, float y, float z) {
    Mat4 r;
    r[0][0] = x;
    r[1][1] = y;
    r[2][2] = z;
    r[3][3] = 1;
    return r;
}

Mat4 rotationX(float angle) {
    float s = std::sin(angle), c = std::cos(angle);
    Mat4 r = identity();
    r[1][1] = c;
    r[1][2] = s;
    r[2][1] = -s;
    r[2][2] = c;
    return r;
}

Mat4 rotationY(float angle) {
    float s = std::sin(angle), c = std::cos(angle);
    Mat4 r = identity();
    r[0][0] = c;
    r[0][2] = -s;
    r[2][0] = s;
    r[2][2] = c;
    return r;
}

Mat4 rotationZ(float angle) {
    float s = std::sin(angle), c = std::cos(angle);
    Mat4 r = identity();
    r[0][0] = c;
    r[0][1] = s;
    r[1][0] = -s;
    r[1][1] = c;
    return r;
}

Mat4 rotationRollPitchYaw(float pitch, float yaw, float roll) {
    return rotationZ(roll) * rotationX(pitch) * rotationY(yaw);
}

Mat4 rotationQuaternion(Quat q) {
    float xx = q.x * q.x, yy = q.y * q.y, zz = q.z * q.z;
    float xy = q.x * q.y, xz = q.x * q.z, yz = q.y * q.z;
    float wx = q.w * q.x, wy = q.w * q.y, wz = q.w * q.z;
    Mat4 r = identity();
    r[0][0] = 1 - 2 * (yy + zz);
    r[0][1] = 2 * (xy + wz);
    r[0][2] = 2 * (xz - wy);
    r[1][0] = 2 * (xy - wz);
    r[1][1] = 1 - 2 * (xx + zz);
    r[1][2] = 2 * (yz + wx);
    r[2][0] = 2 * (xz + wy);
    r[2][1] = 2 * (yz - wx);
    r[2][2] = 1 - 2 * (xx + yy);
    return r;
}

Mat4 lookToRH(Vec4 eye, Vec4 direction, Vec4 up) {
    Vec4 zAxis = normalize3(-direction);
    Vec4 xAxis = normalize3(cross3(up, zAxis));
    Vec4 yAxis = cross3(zAxis, xAxis);
    Mat4 r;
    Vec4 axes[3] = {xAxis, yAxis, zAxis};
    for (int c = 0; c < 3; ++c) {
        r[0][c] = axes[c].x;
        r[1][c] = axes[c].y;
        r[2][c] = axes[c].z;
        r[3][c] = -dot3(axes[c], eye);
    }
    r[3][3] = 1;
    return r;
}

Mat4 lookAtRH(Vec4 eye, Vec4 focus, Vec4 up) {
    return lookToRH(eye, focus - eye, up);
}

Mat4 orthographicRH(float width, float height, float nearZ, float farZ) {
    const float range = 1.0f / (nearZ - farZ);
    Mat4 r = identity();
    r[0][0] = 2 / width;
    r[1][1] = 2 / height;
    r[2][2] = range;
    r[3][2] = range * nearZ;
    return r;
}

Mat4 perspectiveFovRH(float fovAngleY, float aspect, float nearZ, float farZ) {
    float h = std::cos(0.5f * fovAngleY) / std::sin(0.5f * fovAngleY);
    float w = h / aspect;
    float range = farZ / (nearZ - farZ);
    Mat4 r;
    r[0][0] = w;
    r[1][1] = h;
    r[2][2] = range;
    r[2][3] = -1;
    r[3][2] = range * nearZ;
    return r;
}

Mat4 affineTransformation(Vec4 scale, Vec4 rotationOrigin, Quat rotation, Vec4 translationV) {
    Mat4 m = scaling(scale.x, scale.y, scale.z) * translation(-rotationOrigin) *
             rotationQuaternion(rotation) * translation(rotationOrigin);
    m[3][0] += translationV.x;
    m[3][1] += translationV.y;
    m[3][2] += translationV.z;
    return m;
}

bool decompose(const Mat4& m, Vec4* scale, Quat* rotation, Vec4* translationV) {
    Vec4 rows[3];
    for (int i = 0; i < 3; ++i)
        rows[i] = {m[i][0], m[i][1], m[i][2], 0};
    Vec4 s = {length3(rows[0]), length3(rows[1]), length3(rows[2]), 0};
    const float eps = 1e-6f;
    if (s.x < eps || s.y < eps || s.z < eps) return false;
    // A mirrored basis is carried by a negative x scale so the rest is a proper rotation.
    if (dot3(cross3(rows[0], rows[1]), rows[2]) < 0) s.x = -s.x;
    Mat4 r = identity();
    float sv[3] = {s.x, s.y, s.z};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r[i][j] = m[i][j] / sv[i];
    if (scale) *scale = s;
    if (rotation) *rotation = quaternionFromMatrix(r);
    if (translationV) *translationV = {m[3][0], m[3][1], m[3][2], 0};
    return true;
}

Quat quaternionIdentity() {
    return {0, 0, 0, 1};
}

Quat quaternionMultiply(Quat a, Quat b) {
    // Hamilton product b·a: rotating by the result applies a, then b.
    return {b.w * a.x + b.x * a.w + b.y * a.z - b.z * a.y,
            b.w * a.y - b.x * a.z + b.y * a.w + b.z * a.x,
            b.w * a.z + b.x * a.y - b.y * a.x + b.z * a.w,
            b.w * a.w - b.x * a.x - b.y * a.y - b.z * a.z};
}

Quat quaternionRotationAxis(Vec4 axis, float angle) {
    Vec4 n = normalize3(axis);
    float s = std::sin(0.5f * angle);
    return {n.x * s, n.y * s, n.z * s, std::cos(0.5f * angle)};
}

Quat quaternionRollPitchYaw(float pitch, float yaw, float roll) {
    Quat qRoll = quaternionRotationAxis({0, 0, 1, 0}, roll);
    Quat qPitch = quaternionRotationAxis({1, 0, 0, 0}, pitch);
    Quat qYaw = quaternionRotationAxis({0, 1, 0, 0}, yaw);
    return quaternionMultiply(quaternionMultiply(qRoll, qPitch), qYaw);
}

Quat quaternionFromMatrix(const Mat4& m) {
    float trace = m[0][0] + m[1][1] + m[2][2];
    Quat q;
    if (trace > 0) {
        float s = std::sqrt(trace + 1) * 2; // 4w
        q.w = 0.25f * s;
        q.x = (m[1][2] - m[2][1]) / s;
        q.y = (m[2][0] - m[0][2]) / s;
        q.z = (m[0][1] - m[1][0]) / s;
    } else if (m[0][0] > m[1][1] && m[0][0] > m[2][2]) {
        float s = std::sqrt(1 + m[0][0] - m[1][1] - m[2][2]) * 2; // 4x
        q.x = 0.25f * s;
        q.y = (m[0][1] + m[1][0]) / s;
        q.z = (m[2][0] + m[0][2]) / s;
        q.w = (m[1][2] - m[2][1]) / s;
    } else if (m[1][1] > m[2][2]) {
        float s = std::sqrt(1 + m[1][1] - m[0][0] - m[2][2]) * 2; // 4y
        q.x = (m[0][1] + m[1][0]) / s;
        q.y = 0.25f * s;
        q.z = (m[1][2] + m[2][1]) / s;
        q.w = (m[2][0] - m[0][2]) / s;
    } else {
        float s = std::sqrt(1 + m[2][2] - m[0][0] - m[1][1]) * 2; // 4z
        q.x = (m[2][0] + m[0][2]) / s;
        q.y = (m[1][2] + m[2][1]) / s;
        q.z = 0.25f * s;
        q.w = (m[0][1] - m[1][0]) / s;
    }
    return q;
}

bool rayTriangle(Vec4 origin, Vec4 direction, Vec4 v0, Vec4 v1, Vec4 v2, float* distance) {
    const float eps = 1e-20f;
    Vec4 e1 = v1 - v0, e2 = v2 - v0;
    Vec4 p = cross3(direction, e2);
    float det = dot3(e1, p);
    Vec4 s = origin - v0;
    Vec4 q;
    if (det >= eps) {
        float u = dot3(s, p);
        if (u < 0 || u > det) return false;
        q = cross3(s, e1);
        float v = dot3(direction, q);
        if (v < 0 || u + v > det) return false;
    } else if (det <= -eps) {
        float u = dot3(s, p);
        if (u > 0 || u < det) return false;
        q = cross3(s, e1);
        float v = dot3(direction, q);
        if (v > 0 || u + v < det) return false;
    } else {
        return false;
    }
    float t = dot3(e2, q) / det;
    if (t < 0) return false;
    if (distance) *distance = t;
    return true;
}

} // namespace vm
