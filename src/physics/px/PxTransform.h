#pragma once

#include "physics/px/PxQuat.h"

namespace physx {

// Rigid placement: rotation q, then translation p. The default constructor gives the identity.
class PxTransform {
  public:
    PxQuat q;
    PxVec3 p;

    PxTransform() {}
    explicit PxTransform(PxIDENTITY) {}
    explicit PxTransform(const PxVec3& position) : p(position) {}
    explicit PxTransform(const PxQuat& orientation) : q(orientation) {}
    PxTransform(PxReal x, PxReal y, PxReal z, PxQuat aQ = PxQuat(PxIdentity)) : q(aQ), p(x, y, z) {}
    PxTransform(const PxVec3& position, const PxQuat& orientation) : q(orientation), p(position) {}

    PxTransform operator*(const PxTransform& x) const { return transform(x); }
    PxTransform transform(const PxTransform& src) const {
        return PxTransform(q.rotate(src.p) + p, q * src.q);
    }
    PxVec3 transform(const PxVec3& v) const { return q.rotate(v) + p; }
    PxVec3 transformInv(const PxVec3& v) const { return q.rotateInv(v - p); }
    PxVec3 rotate(const PxVec3& v) const { return q.rotate(v); }
    PxTransform getInverse() const { return PxTransform(q.rotateInv(-p), q.getConjugate()); }
    bool isValid() const {
        return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z) && q.isUnit();
    }
};

} // namespace physx
