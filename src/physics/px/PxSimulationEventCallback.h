#pragma once

#include "physics/px/PxFiltering.h"

namespace physx {

class PxActor;
class PxRigidActor;
class PxRigidBody;
class PxShape;
class PxTransform;
struct PxConstraintInfo;
struct PxTriggerPair;

// One pair of touching shapes of the two actors of a PxContactPairHeader, in the header's actor order.
struct PxContactPair {
    PxShape* shapes[2] = {nullptr, nullptr};
    PxU8 contactCount = 0;
    PxPairFlags events; // eNOTIFY_TOUCH_FOUND for a touch that began in this step
};

// The two actors of a report. With one dynamic and one static actor the static one is actors[1]; with two
// dynamic actors the one added to the scene later comes first.
struct PxContactPairHeader {
    PxRigidActor* actors[2] = {nullptr, nullptr};
    const PxContactPair* pairs = nullptr;
    PxU32 nbPairs = 0;
};

// Receives the scene's reports inside fetchResults, on the thread that calls it, before the actors' poses
// move on to the end of the step. Only onContact is ever called by this layer (touch-found reports, once
// per pair of actors and step); the others exist for the interface's sake.
class PxSimulationEventCallback {
  public:
    virtual void onConstraintBreak(PxConstraintInfo* constraints, PxU32 count) = 0;
    virtual void onWake(PxActor** actors, PxU32 count) = 0;
    virtual void onSleep(PxActor** actors, PxU32 count) = 0;
    virtual void onContact(const PxContactPairHeader& pairHeader, const PxContactPair* pairs,
                           PxU32 nbPairs) = 0;
    virtual void onTrigger(PxTriggerPair* pairs, PxU32 count) = 0;
    virtual void onAdvance(const PxRigidBody* const* bodyBuffer, const PxTransform* poseBuffer,
                           const PxU32 count) = 0;
    virtual ~PxSimulationEventCallback() {}
};

} // namespace physx
