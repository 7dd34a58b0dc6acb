#pragma once

#include "physics/px/PxRigidActor.h"
#include "physics/px/PxShape.h"

namespace physx {

class PxShapeExt {
  public:
    // The shape's pose in the world: the actor's pose times the shape's local pose.
    static PxTransform getGlobalPose(const PxShape& shape, const PxRigidActor& actor) {
        return actor.getGlobalPose() * shape.getLocalPose();
    }
};

} // namespace physx
