#pragma once

#include "physics/px/FreshContacts.h"

namespace physx {
namespace detail {

// Layer-internal: box against plane as the original SDK meets them, with a point at every corner within the
// contact distance, each step (Bullet 3.24's convex-plane test finds one corner per perturbed pose, so a
// sliding box, whose points Bullet drops as they move, stands on a different one to three corners from step
// to step and rocks). The box is the first shape; see FreshContactsCreateFunc.
void boxPlanePoints(const btCollisionObjectWrapper& box, const btCollisionObjectWrapper& plane, btScalar reach,
                    btManifoldResult& result);

} // namespace detail
} // namespace physx
