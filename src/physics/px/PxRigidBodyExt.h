#pragma once

#include "physics/px/PxRigidBody.h"

namespace physx {

class PxRigidBodyExt {
  public:
    // Sets mass and inertia from the body's simulation shapes and density, as solids of uniform density
    // (capsules exactly, not as boxes). A body without simulation shapes gets mass 1, inertia (1, 1, 1) and
    // the call returns false.
    static bool updateMassAndInertia(PxRigidBody& body, PxReal density);
};

} // namespace physx
