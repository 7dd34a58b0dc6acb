#pragma once

#include <BulletCollision/CollisionDispatch/btCollisionCreateFunc.h>

namespace physx {
namespace detail {

// Layer-internal: box against plane as the original SDK meets them, with a point at every corner within the
// contact distance, each step (Bullet 3.24's convex-plane test finds one corner per perturbed pose, so a
// sliding box, whose points Bullet drops as they move, stands on a different one to three corners from step
// to step and rocks). Register both orders with the dispatcher:
//   dispatcher.registerCollisionCreateFunc(BOX_SHAPE_PROXYTYPE, STATIC_PLANE_PROXYTYPE, &boxPlane);
//   dispatcher.registerCollisionCreateFunc(STATIC_PLANE_PROXYTYPE, BOX_SHAPE_PROXYTYPE, &planeBox);
// where planeBox is built with swapped = true. The create functions must outlive the dispatcher.
struct BoxPlaneCreateFunc : public btCollisionAlgorithmCreateFunc {
    explicit BoxPlaneCreateFunc(bool planeFirst) { m_swapped = planeFirst; }
    btCollisionAlgorithm* CreateCollisionAlgorithm(btCollisionAlgorithmConstructionInfo& info,
                                                   const btCollisionObjectWrapper* body0,
                                                   const btCollisionObjectWrapper* body1) override;
};

} // namespace detail
} // namespace physx
