#pragma once

#include "physics/px/PxSimpleTypes.h"

#include <functional>

namespace physx {

// Runs simulation work off the calling thread.
class PxCpuDispatcher {
  public:
    virtual ~PxCpuDispatcher() {}
    virtual PxU32 getWorkerCount() const = 0;
    // Layer-internal: queues one piece of work; tasks run one after another in submission order.
    virtual void submitTask(std::function<void()> task) = 0;
};

} // namespace physx
