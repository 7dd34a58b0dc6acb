#pragma once

#include "physics/px/PxCpuDispatcher.h"

namespace physx {

class PxDefaultCpuDispatcher : public PxCpuDispatcher {
  public:
    // Finishes queued work, stops the workers and deletes the dispatcher. Release scenes using it first.
    virtual void release() = 0;
};

// Starts the worker threads asked for. Scenes step on the thread that calls fetchResults, so the workers only
// run tasks submitted to the dispatcher directly, each task on whichever worker is free; with 0 threads tasks
// run on the submitting thread. affinityMasks are ignored.
PxDefaultCpuDispatcher* PxDefaultCpuDispatcherCreate(PxU32 numThreads, PxU32* affinityMasks = nullptr);

} // namespace physx
