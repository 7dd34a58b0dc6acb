#pragma once

#include "physics/px/FreshContacts.h"

namespace physx {
namespace detail {

// Layer-internal: sphere against box as the original SDK meets them, with one contact on the line from the
// sphere's centre to the closest point of the box (Bullet 3.24 leaves this pair to its general convex test,
// whose perturbed contact points drift off that line). The sphere is the first shape; see
// FreshContactsCreateFunc.
void sphereBoxPoints(const btCollisionObjectWrapper& sphere, const btCollisionObjectWrapper& box, btScalar reach,
                     btManifoldResult& result);

} // namespace detail
} // namespace physx
