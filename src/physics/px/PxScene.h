#pragma once

#include "physics/px/PxActor.h"
#include "physics/px/PxPvdSceneClient.h"
#include "physics/px/PxSceneDesc.h"

#include <memory>
#include <vector>

namespace physx {

class PxBaseTask;
class PxPhysics;
class PxRigidActor;
namespace detail {
class BulletWorld;
}

// A world of actors stepped together.
//
// Call order per frame: simulate(dt), then fetchResults(true). The step runs on the dispatcher's worker
// thread in between; meanwhile reads of actors return the state from before the step and writes (poses,
// velocities, forces, new actors) are kept and take effect at the next simulate. fetchResults delivers the
// contact reports on the calling thread, then publishes the step's poses and velocities.
class PxScene {
  public:
    // Removes every actor (they stay alive) and deletes the scene. Not while a step is running.
    void release();

    void addActor(PxActor& actor);
    void removeActor(PxActor& actor, bool wakeOnLostTouch = true);
    PxU32 getNbActors(PxActorTypeFlags types) const;
    // Copies the actors of the given types, in the order they were added; returns how many were written.
    PxU32 getActors(PxActorTypeFlags types, PxActor** userBuffer, PxU32 bufferSize,
                    PxU32 startIndex = 0) const;

    // Starts exactly one step of elapsedTime seconds. completionTask and the scratch block are not used.
    // False (with an error report) if a step is already running.
    bool simulate(PxReal elapsedTime, PxBaseTask* completionTask = nullptr, void* scratchMemBlock = nullptr,
                  PxU32 scratchMemBlockSize = 0, bool controlSimulation = true);
    // With block, waits for the step; without, returns false if it has not finished. False also if no step
    // was started. errorState, if given, is set to 0.
    bool fetchResults(bool block = false, PxU32* errorState = nullptr);

    PxVec3 getGravity() const { return gravity; }
    PxSimulationEventCallback* getSimulationEventCallback() const { return eventCallback; }
    PxPhysics& getPhysics() { return *owner; }
    // Never null in this layer: a client that keeps its flags and sends nothing.
    PxPvdSceneClient* getScenePvdClient() { return &pvdClient; }

  private:
    friend class PxPhysics;
    friend class PxRigidActor;
    PxScene(PxPhysics& owner, const PxSceneDesc& desc);
    ~PxScene();

    struct Touch;
    void flushWrites();
    void runStep(PxReal dt);
    void deliverContacts();
    void publishResults();
    void removeFromWorld(PxRigidActor& actor);

    PxPhysics* owner;
    PxVec3 gravity;
    PxSimulationEventCallback* eventCallback;
    PxCpuDispatcher* dispatcher;
    PxPvdSceneClient pvdClient;
    std::vector<PxRigidActor*> actors; // in order of addActor
    PxU64 nextInsertionId = 1;
    std::unique_ptr<detail::BulletWorld> world;

    struct StepSync;
    std::unique_ptr<StepSync> sync; // hand-over between simulate, the worker and fetchResults
    bool simulating = false;
};

} // namespace physx
