#pragma once

#include "physics/px/PxVec3.h"

namespace physx {

struct PxGeometryType {
    enum Enum { eSPHERE, ePLANE, eCAPSULE, eBOX, eINVALID = -1 };
};

// Shape geometry, described in the shape's own frame.
class PxGeometry {
  public:
    PxGeometryType::Enum getType() const { return mType; }

  protected:
    explicit PxGeometry(PxGeometryType::Enum type) : mType(type) {}
    PxGeometryType::Enum mType;
};

class PxSphereGeometry : public PxGeometry {
  public:
    PxSphereGeometry() : PxGeometry(PxGeometryType::eSPHERE), radius(0) {}
    explicit PxSphereGeometry(PxReal ir) : PxGeometry(PxGeometryType::eSPHERE), radius(ir) {}
    bool isValid() const { return std::isfinite(radius) && radius > 0; }
    PxReal radius;
};

// Half extents along the shape's x, y and z axes.
class PxBoxGeometry : public PxGeometry {
  public:
    PxBoxGeometry() : PxGeometry(PxGeometryType::eBOX) {}
    PxBoxGeometry(PxReal hx, PxReal hy, PxReal hz)
        : PxGeometry(PxGeometryType::eBOX), halfExtents(hx, hy, hz) {}
    explicit PxBoxGeometry(const PxVec3& h) : PxGeometry(PxGeometryType::eBOX), halfExtents(h) {}
    bool isValid() const { return halfExtents.x > 0 && halfExtents.y > 0 && halfExtents.z > 0; }
    PxVec3 halfExtents;
};

// A capsule whose axis is the shape's x axis: a cylinder of length 2 * halfHeight capped by two hemispheres.
class PxCapsuleGeometry : public PxGeometry {
  public:
    PxCapsuleGeometry() : PxGeometry(PxGeometryType::eCAPSULE), radius(0), halfHeight(0) {}
    PxCapsuleGeometry(PxReal r, PxReal hh)
        : PxGeometry(PxGeometryType::eCAPSULE), radius(r), halfHeight(hh) {}
    bool isValid() const { return radius > 0 && halfHeight >= 0; }
    PxReal radius;
    PxReal halfHeight;
};

// The half-space x <= 0 of the shape's frame; only for static actors.
class PxPlaneGeometry : public PxGeometry {
  public:
    PxPlaneGeometry() : PxGeometry(PxGeometryType::ePLANE) {}
    bool isValid() const { return true; }
};

} // namespace physx
