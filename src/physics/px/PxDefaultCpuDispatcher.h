#pragma once

#include "physics/px/PxCpuDispatcher.h"

namespace physx {

class PxDefaultCpuDispatcher : public PxCpuDispatcher {
  public:
    // Finishes queued work, stops the worker and deletes the dispatcher. Release scenes using it first.
    virtual void release() = 0;
};

// One scene step is a single task, so however many threads are asked for, one worker thread runs them
// (getWorkerCount reports the number asked for). With 0 threads tasks run on the submitting thread.
// affinityMasks are ignored.
PxDefaultCpuDispatcher* PxDefaultCpuDispatcherCreate(PxU32 numThreads, PxU32* affinityMasks = nullptr);

} // namespace physx
