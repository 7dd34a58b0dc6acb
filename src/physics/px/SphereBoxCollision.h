#pragma once

#include <BulletCollision/CollisionDispatch/btCollisionCreateFunc.h>

namespace physx {
namespace detail {

// Layer-internal: sphere against box as the original SDK meets them, with one contact on the line from the
// sphere's centre to the closest point of the box (Bullet 3.24 leaves this pair to its general convex test,
// whose perturbed contact points drift off that line). Register both orders with the dispatcher:
//   dispatcher.registerCollisionCreateFunc(SPHERE_SHAPE_PROXYTYPE, BOX_SHAPE_PROXYTYPE, &sphereBox);
//   dispatcher.registerCollisionCreateFunc(BOX_SHAPE_PROXYTYPE, SPHERE_SHAPE_PROXYTYPE, &boxSphere);
// where boxSphere is built with swapped = true. The create functions must outlive the dispatcher.
struct SphereBoxCreateFunc : public btCollisionAlgorithmCreateFunc {
    explicit SphereBoxCreateFunc(bool boxFirst) { m_swapped = boxFirst; }
    btCollisionAlgorithm* CreateCollisionAlgorithm(btCollisionAlgorithmConstructionInfo& info,
                                                   const btCollisionObjectWrapper* body0,
                                                   const btCollisionObjectWrapper* body1) override;
};

} // namespace detail
} // namespace physx
