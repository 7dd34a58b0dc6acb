#pragma once

#include "physics/px/PxActor.h"
#include "physics/px/PxPvdSceneClient.h"
#include "physics/px/PxSceneDesc.h"
#include "physics/px/PxSimulationEventCallback.h"

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
// Call order per frame: simulate(dt), then fetchResults(true). simulate hands the writes made since the last
// step (poses, velocities, forces, new actors) to the simulation and records the step; fetchResults runs the
// step on the calling thread, delivers the contact reports there, then publishes the step's poses and
// velocities. Between the two calls reads of actors return the state from before the step, and writes are
// kept for the next simulate. The dispatcher's worker threads get no work. Both calls set the simulation's
// floating-point mode (see SimulationFloatMode) and give the caller's back.
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
    // Runs the step started by simulate, with or without block. False if no step was started. errorState, if
    // given, is set to 0.
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

    void buildBody(PxRigidActor& actor);
    void flushWrites();
    void deliverContacts();
    void publishResults();
    void removeFromWorld(PxRigidActor& actor);

    PxPhysics* owner;
    PxVec3 gravity;
    PxSimulationEventCallback* eventCallback;
    PxPvdSceneClient pvdClient;
    std::vector<PxRigidActor*> actors; // in order of addActor
    PxU64 nextInsertionId = 1;
    std::unique_ptr<detail::BulletWorld> world;

    PxReal stepTime = 0;     // recorded by simulate, stepped by fetchResults
    bool simulating = false; // between simulate and fetchResults

    // One step's reports, reused from step to step so that delivering them allocates nothing.
    struct ReportGroup {
        PxRigidActor* actors[2];
        PxU32 first, count; // their shape pairs in reportPairs
    };
    std::vector<ReportGroup> reportGroups;
    std::vector<PxContactPair> reportPairs;
};

} // namespace physx
