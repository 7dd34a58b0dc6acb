#pragma once

#include "physics/px/BoxPlaneCollision.h"
#include "physics/px/SphereBoxCollision.h"

class btCollisionDispatcher;
class btDefaultCollisionConfiguration;

namespace physx {
namespace detail {

// Two shapes touch once they are this close: twice the original SDK's default contact offset of 0.02.
constexpr btScalar ContactDistance = 0.04f;

// Layer-internal: the layer's contact generation, which a plain Bullet world can take as well (the benchmark
// compares one): every point within ContactDistance, absolute rather than scaled by shape size; full contact
// patches for flat faces; sphere-box and box-plane pairs as the original meets them; boxes against boxes
// with the general convex test, which also finds boxes within the contact distance (Bullet's dedicated
// box-box test only sees boxes that overlap). Must outlive the dispatcher it is used in.
struct LayerContacts {
    void useIn(btCollisionDispatcher& dispatcher, btDefaultCollisionConfiguration& config);

    FreshContactsCreateFunc sphereBox{sphereBoxPoints, false}, boxSphere{sphereBoxPoints, true};
    FreshContactsCreateFunc boxPlane{boxPlanePoints, false}, planeBox{boxPlanePoints, true};
};

} // namespace detail
} // namespace physx
