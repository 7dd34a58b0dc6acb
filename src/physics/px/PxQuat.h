#pragma once

#include "physics/px/PxVec3.h"

namespace physx {

// Unit quaternion (x, y, z, w) for rotations. Unlike PhysX, the default constructor gives the identity
// rather than garbage.
class PxQuat {
  public:
    PxReal x, y, z, w;

    PxQuat() : x(0), y(0), z(0), w(1) {}
    explicit PxQuat(PxIDENTITY) : x(0), y(0), z(0), w(1) {}
    PxQuat(PxReal nx, PxReal ny, PxReal nz, PxReal nw) : x(nx), y(ny), z(nz), w(nw) {}
    // Rotation by angleRadians about the unit vector unitAxis.
    PxQuat(PxReal angleRadians, const PxVec3& unitAxis) {
        const PxReal s = std::sin(angleRadians * 0.5f);
        x = unitAxis.x * s;
        y = unitAxis.y * s;
        z = unitAxis.z * s;
        w = std::cos(angleRadians * 0.5f);
    }

    PxReal magnitude() const { return std::sqrt(x * x + y * y + z * z + w * w); }
    bool isUnit() const { return std::fabs(magnitude() - 1.0f) < 1e-4f; }
    PxQuat getConjugate() const { return PxQuat(-x, -y, -z, w); }
    PxQuat getNormalized() const {
        const PxReal s = 1.0f / magnitude();
        return PxQuat(x * s, y * s, z * s, w * s);
    }

    PxQuat operator*(const PxQuat& q) const {
        return PxQuat(w * q.x + q.w * x + y * q.z - q.y * z, w * q.y + q.w * y + z * q.x - q.z * x,
                      w * q.z + q.w * z + x * q.y - q.x * y, w * q.w - x * q.x - y * q.y - z * q.z);
    }
    bool operator==(const PxQuat& q) const { return x == q.x && y == q.y && z == q.z && w == q.w; }

    PxVec3 rotate(const PxVec3& v) const {
        const PxReal vx = 2.0f * v.x, vy = 2.0f * v.y, vz = 2.0f * v.z;
        const PxReal w2 = w * w - 0.5f;
        const PxReal dot2 = x * vx + y * vy + z * vz;
        return PxVec3(vx * w2 + (y * vz - z * vy) * w + x * dot2, vy * w2 + (z * vx - x * vz) * w + y * dot2,
                      vz * w2 + (x * vy - y * vx) * w + z * dot2);
    }
    PxVec3 rotateInv(const PxVec3& v) const { return getConjugate().rotate(v); }
};

} // namespace physx
