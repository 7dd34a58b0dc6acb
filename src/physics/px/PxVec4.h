#pragma once

#include "physics/px/PxVec3.h"

namespace physx {

class PxVec4 {
  public:
    PxReal x, y, z, w;

    PxVec4() : x(0), y(0), z(0), w(0) {}
    PxVec4(PxReal nx, PxReal ny, PxReal nz, PxReal nw) : x(nx), y(ny), z(nz), w(nw) {}
    PxVec4(const PxVec3& v, PxReal nw) : x(v.x), y(v.y), z(v.z), w(nw) {}

    PxReal& operator[](unsigned i) { return (&x)[i]; }
    const PxReal& operator[](unsigned i) const { return (&x)[i]; }
    PxVec3 getXYZ() const { return PxVec3(x, y, z); }
    bool operator==(const PxVec4& v) const { return x == v.x && y == v.y && z == v.z && w == v.w; }
};

} // namespace physx
