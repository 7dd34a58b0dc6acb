#include "physics/px/LayerContacts.h"

#include <btBulletDynamicsCommon.h>

namespace physx {
namespace detail {

namespace {

// Bullet's default near callback, but asking for every point within the contact distance: otherwise
// round shapes only report once they penetrate.
void nearCallback(btBroadphasePair& pair, btCollisionDispatcher& dispatcher, const btDispatcherInfo& info) {
    auto* obj0 = static_cast<btCollisionObject*>(pair.m_pProxy0->m_clientObject);
    auto* obj1 = static_cast<btCollisionObject*>(pair.m_pProxy1->m_clientObject);
    if (!dispatcher.needsCollision(obj0, obj1))
        return;
    btCollisionObjectWrapper wrap0(nullptr, obj0->getCollisionShape(), obj0, obj0->getWorldTransform(), -1,
                                   -1);
    btCollisionObjectWrapper wrap1(nullptr, obj1->getCollisionShape(), obj1, obj1->getWorldTransform(), -1,
                                   -1);
    if (!pair.m_algorithm)
        pair.m_algorithm = dispatcher.findAlgorithm(&wrap0, &wrap1, nullptr, BT_CONTACT_POINT_ALGORITHMS);
    if (!pair.m_algorithm)
        return;
    btManifoldResult result(&wrap0, &wrap1);
    // Child indices stay -1 unless a compound shape sets them.
    result.setShapeIdentifiersA(-1, -1);
    result.setShapeIdentifiersB(-1, -1);
    result.m_closestPointDistanceThreshold = ContactDistance;
    pair.m_algorithm->processCollision(&wrap0, &wrap1, info, &result);
}

} // namespace

void LayerContacts::useIn(btCollisionDispatcher& dispatcher, btDefaultCollisionConfiguration& config) {
    config.setPlaneConvexMultipointIterations();
    config.setConvexConvexMultipointIterations();
    dispatcher.setDispatcherFlags(dispatcher.getDispatcherFlags() &
                                  ~btCollisionDispatcher::CD_USE_RELATIVE_CONTACT_BREAKING_THRESHOLD);
    dispatcher.setNearCallback(nearCallback);
    dispatcher.registerCollisionCreateFunc(
        BOX_SHAPE_PROXYTYPE, BOX_SHAPE_PROXYTYPE,
        config.getCollisionAlgorithmCreateFunc(CONVEX_HULL_SHAPE_PROXYTYPE, CONVEX_HULL_SHAPE_PROXYTYPE));
    dispatcher.registerCollisionCreateFunc(SPHERE_SHAPE_PROXYTYPE, BOX_SHAPE_PROXYTYPE, &sphereBox);
    dispatcher.registerCollisionCreateFunc(BOX_SHAPE_PROXYTYPE, SPHERE_SHAPE_PROXYTYPE, &boxSphere);
    dispatcher.registerCollisionCreateFunc(BOX_SHAPE_PROXYTYPE, STATIC_PLANE_PROXYTYPE, &boxPlane);
    dispatcher.registerCollisionCreateFunc(STATIC_PLANE_PROXYTYPE, BOX_SHAPE_PROXYTYPE, &planeBox);
}

} // namespace detail
} // namespace physx
