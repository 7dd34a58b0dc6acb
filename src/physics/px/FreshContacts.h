#pragma once

#include <BulletCollision/CollisionDispatch/btCollisionCreateFunc.h>
#include <LinearMath/btScalar.h>

struct btCollisionObjectWrapper;
class btManifoldResult;

namespace physx {
namespace detail {

// Layer-internal: the contact points of one pair of shape kinds, made afresh each step as the original
// SDK generates them (nothing is kept from the last step). `first` is the shape the manifold holds first,
// so the normal points at it; the points lie on `second`, as Bullet wants them. `reach` is the contact
// distance: pairs farther apart than that get no point.
using ContactPoints = void (*)(const btCollisionObjectWrapper& first, const btCollisionObjectWrapper& second,
                               btScalar reach, btManifoldResult& result);

// Register both orders of a pair with the dispatcher, the second order's function built with
// `swapped` = true:
//   FreshContactsCreateFunc sphereBox{sphereBoxPoints, false}, boxSphere{sphereBoxPoints, true};
//   dispatcher.registerCollisionCreateFunc(SPHERE_SHAPE_PROXYTYPE, BOX_SHAPE_PROXYTYPE, &sphereBox);
//   dispatcher.registerCollisionCreateFunc(BOX_SHAPE_PROXYTYPE, SPHERE_SHAPE_PROXYTYPE, &boxSphere);
// The create functions must outlive the dispatcher.
struct FreshContactsCreateFunc : public btCollisionAlgorithmCreateFunc {
    FreshContactsCreateFunc(ContactPoints points, bool swapped) : points(points) { m_swapped = swapped; }
    btCollisionAlgorithm* CreateCollisionAlgorithm(btCollisionAlgorithmConstructionInfo& info,
                                                   const btCollisionObjectWrapper* body0,
                                                   const btCollisionObjectWrapper* body1) override;
    ContactPoints points;
};

} // namespace detail
} // namespace physx
