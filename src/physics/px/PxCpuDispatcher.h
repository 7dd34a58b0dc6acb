#pragma once

#include "physics/px/PxSimpleTypes.h"

#include <functional>

namespace physx {

// Runs work off the calling thread. Scenes of this layer give it none: they step inside fetchResults.
class PxCpuDispatcher {
  public:
    virtual ~PxCpuDispatcher() {}
    virtual PxU32 getWorkerCount() const = 0;
    // Layer-internal: queues one piece of work for the workers.
    virtual void submitTask(std::function<void()> task) = 0;
};

} // namespace physx
