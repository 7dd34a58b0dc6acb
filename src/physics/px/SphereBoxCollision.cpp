#include "physics/px/SphereBoxCollision.h"

#include <BulletCollision/CollisionDispatch/btCollisionObjectWrapper.h>
#include <BulletCollision/CollisionDispatch/btManifoldResult.h>
#include <BulletCollision/CollisionShapes/btBoxShape.h>
#include <BulletCollision/CollisionShapes/btSphereShape.h>

#include <cmath>

namespace physx {
namespace detail {

void sphereBoxPoints(const btCollisionObjectWrapper& sphereWrap, const btCollisionObjectWrapper& boxWrap,
                     btScalar reach, btManifoldResult& result) {
    const auto* sphere = static_cast<const btSphereShape*>(sphereWrap.getCollisionShape());
    const auto* box = static_cast<const btBoxShape*>(boxWrap.getCollisionShape());
    const btTransform& boxPose = boxWrap.getWorldTransform();
    const btVector3 centre = sphereWrap.getWorldTransform().getOrigin();
    const btVector3 local = boxPose.invXform(centre);
    const btVector3 half = box->getHalfExtentsWithMargin();
    const btScalar radius = sphere->getRadius();

    btVector3 closest = local;
    closest.setMax(-half);
    closest.setMin(half);
    btVector3 normalLocal = local - closest;
    btScalar separation;
    const btScalar outside2 = normalLocal.length2();
    if (outside2 > 0) {
        const btScalar distance = std::sqrt(outside2);
        if (distance - radius > reach)
            return;
        normalLocal /= distance;
        separation = distance - radius;
    } else {
        // The centre is inside the box: out through the nearest face.
        int axis = 0;
        btScalar depth = half[0] - std::fabs(local[0]);
        for (int i = 1; i < 3; ++i) {
            const btScalar d = half[i] - std::fabs(local[i]);
            if (d < depth) {
                depth = d;
                axis = i;
            }
        }
        normalLocal.setValue(0, 0, 0);
        normalLocal[axis] = local[axis] < 0 ? -1 : 1;
        closest[axis] = normalLocal[axis] * half[axis];
        separation = -depth - radius;
    }
    const btVector3 normalOnBox = boxPose.getBasis() * normalLocal;
    const btVector3 pointOnBox = boxPose * closest;
    // Bullet wants the point on the manifold's second body, the box, with the normal pointing at the first.
    result.addContactPoint(normalOnBox, pointOnBox, separation);
}

} // namespace detail
} // namespace physx
