#pragma once

#include "physics/px/PxRigidActor.h"

namespace physx {

// An actor that never moves by simulation.
class PxRigidStatic : public PxRigidActor {
  public:
    PxActorType::Enum getType() const override { return PxActorType::eRIGID_STATIC; }

  private:
    friend class PxPhysics;
    PxRigidStatic(PxPhysics& owner, const PxTransform& pose) : PxRigidActor(owner, pose) {}
};

} // namespace physx
