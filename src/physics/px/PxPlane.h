#pragma once

#include "physics/px/PxVec3.h"

namespace physx {

// The plane n.x + d = 0.
class PxPlane {
  public:
    PxVec3 n;
    PxReal d;

    PxPlane() : d(0) {}
    PxPlane(PxReal nx, PxReal ny, PxReal nz, PxReal distance) : n(nx, ny, nz), d(distance) {}
    PxPlane(const PxVec3& normal, PxReal distance) : n(normal), d(distance) {}

    PxReal distance(const PxVec3& point) const { return n.dot(point) + d; }
    PxVec3 pointInPlane() const { return -n * d; }
};

} // namespace physx
