#include "VecMath.h"

namespace orb::phys {

Quat toQuat(const Mat3& m) {
    double tr = m.m11 + m.m22 + m.m33;
    Quat q;
    if (tr > 0) {
        double s = std::sqrt(tr + 1.0) * 2;
        q = {0.25 * s, (m.m32 - m.m23) / s, (m.m13 - m.m31) / s, (m.m21 - m.m12) / s};
    } else if (m.m11 > m.m22 && m.m11 > m.m33) {
        double s = std::sqrt(1.0 + m.m11 - m.m22 - m.m33) * 2;
        q = {(m.m32 - m.m23) / s, 0.25 * s, (m.m12 + m.m21) / s, (m.m13 + m.m31) / s};
    } else if (m.m22 > m.m33) {
        double s = std::sqrt(1.0 + m.m22 - m.m11 - m.m33) * 2;
        q = {(m.m13 - m.m31) / s, (m.m12 + m.m21) / s, 0.25 * s, (m.m23 + m.m32) / s};
    } else {
        double s = std::sqrt(1.0 + m.m33 - m.m11 - m.m22) * 2;
        q = {(m.m21 - m.m12) / s, (m.m13 + m.m31) / s, (m.m23 + m.m32) / s, 0.25 * s};
    }
    return normalized(q);
}

Mat3 axisRotation(Vec3 k, double angle) {
    double c = std::cos(angle), s = std::sin(angle), t = 1 - c;
    return {t * k.x * k.x + c,       t * k.x * k.y - s * k.z, t * k.x * k.z + s * k.y,
            t * k.x * k.y + s * k.z, t * k.y * k.y + c,       t * k.y * k.z - s * k.x,
            t * k.x * k.z - s * k.y, t * k.y * k.z + s * k.x, t * k.z * k.z + c};
}

} // namespace orb::phys
