#pragma once

#include "physics/px/PxSimpleTypes.h"

namespace physx {

// Typical object size and speed the simulation is tuned for.
class PxTolerancesScale {
  public:
    PxReal length = 1.0f;
    PxReal speed = 10.0f;
    bool isValid() const { return length > 0 && speed > 0; }
};

} // namespace physx
