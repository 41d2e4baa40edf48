// Small vector, matrix and quaternion types for the flight physics (doubles, no allocation).
// Cross products use the plain component formula; the frames are left-handed, so a torque from a force F
// applied at r is cross(F, r) and a positive angular velocity about +x lifts the nose.
#pragma once

#include <algorithm>
#include <cmath>

namespace orb::phys {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

constexpr Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
constexpr Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
constexpr Vec3 operator-(Vec3 a) {
    return {-a.x, -a.y, -a.z};
}
constexpr Vec3 operator*(Vec3 a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}
constexpr Vec3 operator*(double s, Vec3 a) {
    return {a.x * s, a.y * s, a.z * s};
}
constexpr Vec3 operator/(Vec3 a, double s) {
    return {a.x / s, a.y / s, a.z / s};
}
constexpr Vec3& operator+=(Vec3& a, Vec3 b) {
    return a = a + b;
}
constexpr Vec3& operator-=(Vec3& a, Vec3 b) {
    return a = a - b;
}
constexpr double dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
constexpr Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double length(Vec3 a) {
    return std::sqrt(dot(a, a));
}
// Unit vector; the zero vector stays zero rather than turning into NaN.
inline Vec3 unit(Vec3 a) {
    double l = length(a);
    return l > 0 ? a / l : Vec3{};
}

// Row-major 3x3 matrix, element names as the simulator's MATRIX3 (m12 = row 1, column 2).
struct Mat3 {
    double m11 = 1, m12 = 0, m13 = 0;
    double m21 = 0, m22 = 1, m23 = 0;
    double m31 = 0, m32 = 0, m33 = 1;
};

constexpr Vec3 mul(const Mat3& m, Vec3 v) {
    return {m.m11 * v.x + m.m12 * v.y + m.m13 * v.z, m.m21 * v.x + m.m22 * v.y + m.m23 * v.z,
            m.m31 * v.x + m.m32 * v.y + m.m33 * v.z};
}
// Transposed product: for a rotation matrix this is the inverse rotation.
constexpr Vec3 tmul(const Mat3& m, Vec3 v) {
    return {m.m11 * v.x + m.m21 * v.y + m.m31 * v.z, m.m12 * v.x + m.m22 * v.y + m.m32 * v.z,
            m.m13 * v.x + m.m23 * v.y + m.m33 * v.z};
}
constexpr Mat3 mul(const Mat3& a, const Mat3& b) {
    return {a.m11 * b.m11 + a.m12 * b.m21 + a.m13 * b.m31, a.m11 * b.m12 + a.m12 * b.m22 + a.m13 * b.m32,
            a.m11 * b.m13 + a.m12 * b.m23 + a.m13 * b.m33, a.m21 * b.m11 + a.m22 * b.m21 + a.m23 * b.m31,
            a.m21 * b.m12 + a.m22 * b.m22 + a.m23 * b.m32, a.m21 * b.m13 + a.m22 * b.m23 + a.m23 * b.m33,
            a.m31 * b.m11 + a.m32 * b.m21 + a.m33 * b.m31, a.m31 * b.m12 + a.m32 * b.m22 + a.m33 * b.m32,
            a.m31 * b.m13 + a.m32 * b.m23 + a.m33 * b.m33};
}
constexpr Mat3 transpose(const Mat3& m) {
    return {m.m11, m.m21, m.m31, m.m12, m.m22, m.m32, m.m13, m.m23, m.m33};
}
// Matrix whose columns are the given vectors.
constexpr Mat3 fromColumns(Vec3 c1, Vec3 c2, Vec3 c3) {
    return {c1.x, c2.x, c3.x, c1.y, c2.y, c3.y, c1.z, c2.z, c3.z};
}
constexpr Vec3 column(const Mat3& m, int i) {
    return i == 0   ? Vec3{m.m11, m.m21, m.m31}
           : i == 1 ? Vec3{m.m12, m.m22, m.m32}
                    : Vec3{m.m13, m.m23, m.m33};
}

// Unit quaternion (w, x, y, z) for attitude integration.
struct Quat {
    double w = 1, x = 0, y = 0, z = 0;
};

constexpr Quat operator*(const Quat& a, const Quat& b) {
    return {a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z, a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
            a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x, a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w};
}
inline Quat normalized(Quat q) {
    double n = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
    if (!(n > 0)) return {};
    return {q.w / n, q.x / n, q.y / n, q.z / n};
}
constexpr Mat3 toMatrix(const Quat& q) {
    double xx = q.x * q.x, yy = q.y * q.y, zz = q.z * q.z;
    double xy = q.x * q.y, xz = q.x * q.z, yz = q.y * q.z;
    double wx = q.w * q.x, wy = q.w * q.y, wz = q.w * q.z;
    return {1 - 2 * (yy + zz), 2 * (xy - wz), 2 * (xz + wy), 2 * (xy + wz),    1 - 2 * (xx + zz),
            2 * (yz - wx),     2 * (xz - wy), 2 * (yz + wx), 1 - 2 * (xx + yy)};
}
// Quaternion of a rotation matrix (Shepperd's method, robust for every attitude).
Quat toQuat(const Mat3& m);

// Rotation by angle about a unit axis (component formula, maps vectors as v cos + (k x v) sin + ...).
Mat3 axisRotation(Vec3 unitAxis, double angle);

} // namespace orb::phys
