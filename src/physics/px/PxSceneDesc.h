#pragma once

#include "physics/px/PxFiltering.h"
#include "physics/px/PxTolerancesScale.h"
#include "physics/px/PxVec3.h"

namespace physx {

class PxCpuDispatcher;
class PxSimulationEventCallback;

// What a scene is made from. A valid description has a dispatcher and a filter shader.
class PxSceneDesc {
  public:
    explicit PxSceneDesc(const PxTolerancesScale& scale) : tolerancesScale(scale) {}
    bool isValid() const {
        return cpuDispatcher != nullptr && filterShader != nullptr && tolerancesScale.isValid();
    }

    PxVec3 gravity;
    PxSimulationEventCallback* simulationEventCallback = nullptr; // non-owning
    PxSimulationFilterShader filterShader = nullptr;
    PxCpuDispatcher* cpuDispatcher = nullptr; // non-owning; must outlive the scene
    PxTolerancesScale tolerancesScale;
};

} // namespace physx
