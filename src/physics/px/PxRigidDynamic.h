#pragma once

#include "physics/px/PxRigidBody.h"

namespace physx {

// A body moved by gravity, forces and contacts. It falls asleep after 0.4 s of near rest and wakes when
// touched by an awake body or written to.
class PxRigidDynamic : public PxRigidBody {
  public:
    PxActorType::Enum getType() const override { return PxActorType::eRIGID_DYNAMIC; }
    bool isSleeping() const { return sleeping && !wakeRequested; }
    void wakeUp();

  private:
    friend class PxPhysics;
    friend class PxScene;
    PxRigidDynamic(PxPhysics& owner, const PxTransform& pose) : PxRigidBody(owner, pose) {}

    bool sleeping = false;
};

} // namespace physx
