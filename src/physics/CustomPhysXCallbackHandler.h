#pragma once

#include "physics/px/PxSimulationEventCallback.h"

// The scene's event receiver, where the game is decided: when the star begins to touch the goal or an
// enemy, it prints the result and renames both actors "won" or "lost". Runs inside PxScene::fetchResults
// on the thread that calls it. One instance, made by the physics world and never freed.
class CustomPhysXCallbackHandler : public physx::PxSimulationEventCallback {
  public:
    void onConstraintBreak(physx::PxConstraintInfo* constraints, physx::PxU32 count) override;
    void onWake(physx::PxActor** actors, physx::PxU32 count) override;
    void onSleep(physx::PxActor** actors, physx::PxU32 count) override;
    // Looks at the touch-found shape pairs in order; the first one that decides the game ends the call.
    void onContact(const physx::PxContactPairHeader& pairHeader, const physx::PxContactPair* pairs,
                   physx::PxU32 nbPairs) override;
    void onTrigger(physx::PxTriggerPair* pairs, physx::PxU32 count) override;
    void onAdvance(const physx::PxRigidBody* const* bodyBuffer, const physx::PxTransform* poseBuffer,
                   const physx::PxU32 count) override;
    ~CustomPhysXCallbackHandler() override = default;
};
