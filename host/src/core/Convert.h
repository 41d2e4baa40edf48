// Conversions between the interface's VECTOR3/MATRIX3 and the physics library's Vec3/Mat3.
#pragma once

#include "Orbitersdk.h"
#include "physics/VecMath.h"

namespace orb {

inline phys::Vec3 toVec(const VECTOR3& v) {
    return {v.x, v.y, v.z};
}
inline VECTOR3 toV3(const phys::Vec3& v) {
    return _V(v.x, v.y, v.z);
}
inline MATRIX3 toM3(const phys::Mat3& m) {
    return _M(m.m11, m.m12, m.m13, m.m21, m.m22, m.m23, m.m31, m.m32, m.m33);
}
inline phys::Mat3 toMat(const MATRIX3& m) {
    return {m.m11, m.m12, m.m13, m.m21, m.m22, m.m23, m.m31, m.m32, m.m33};
}

// The reference body's handle (the host knows one planet, Earth).
OBJHANDLE earthHandle();

} // namespace orb
