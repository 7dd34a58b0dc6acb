#pragma once

#include "physics/px/PxPlane.h"
#include "physics/px/PxQuat.h"

namespace physx {

class PxMaterial;
class PxPhysics;
class PxRigidStatic;

// A static actor with one exclusive plane shape whose solid side is below `plane`. The actor sits at the
// plane's point nearest the origin, rotated so that its local x axis is the plane's normal; it has no name.
// Null if the normal is not of unit length.
PxRigidStatic* PxCreatePlane(PxPhysics& sdk, const PxPlane& plane, PxMaterial& material);

// The rotation taking unit vector from onto unit vector target along the shortest arc.
PxQuat PxShortestRotation(const PxVec3& from, const PxVec3& target);

} // namespace physx
