#pragma once

#include "physics/px/PxSimpleTypes.h"

namespace physx {

class PxPhysics;

// Surface properties. Pairs combine each value by averaging the two materials. Reference counted: the
// creator's reference is dropped with release(), each shape using the material holds one more.
class PxMaterial {
  public:
    void release();
    PxU32 getReferenceCount() const { return referenceCount; }
    PxReal getStaticFriction() const { return staticFriction; }
    PxReal getDynamicFriction() const { return dynamicFriction; }
    PxReal getRestitution() const { return restitution; }

  private:
    friend class PxPhysics;
    friend class PxShape;
    PxMaterial(PxPhysics& owner, PxReal s, PxReal d, PxReal r)
        : owner(&owner), staticFriction(s), dynamicFriction(d), restitution(r) {}
    ~PxMaterial();
    void acquireReference() { ++referenceCount; }

    PxPhysics* owner;
    PxReal staticFriction, dynamicFriction, restitution;
    PxU32 referenceCount = 1;
};

} // namespace physx
