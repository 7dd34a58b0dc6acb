#include "physics/px/BoxPlaneCollision.h"

#include <BulletCollision/CollisionDispatch/btCollisionObjectWrapper.h>
#include <BulletCollision/CollisionDispatch/btManifoldResult.h>
#include <BulletCollision/CollisionShapes/btBoxShape.h>
#include <BulletCollision/CollisionShapes/btStaticPlaneShape.h>

namespace physx {
namespace detail {

void boxPlanePoints(const btCollisionObjectWrapper& boxWrap, const btCollisionObjectWrapper& planeWrap,
                    btScalar reach, btManifoldResult& result) {
    const auto* box = static_cast<const btBoxShape*>(boxWrap.getCollisionShape());
    const auto* plane = static_cast<const btStaticPlaneShape*>(planeWrap.getCollisionShape());
    const btTransform& planePose = planeWrap.getWorldTransform();
    const btVector3 normal = planePose.getBasis() * plane->getPlaneNormal();
    const btScalar offset = normal.dot(planePose.getOrigin()) + plane->getPlaneConstant();
    const btTransform& boxPose = boxWrap.getWorldTransform();
    const btVector3 half = box->getHalfExtentsWithMargin();
    for (int corner = 0; corner < 8; ++corner) {
        const btVector3 local((corner & 1) ? half.x() : -half.x(), (corner & 2) ? half.y() : -half.y(),
                              (corner & 4) ? half.z() : -half.z());
        const btVector3 point = boxPose * local;
        const btScalar separation = normal.dot(point) - offset;
        if (separation <= reach)
            result.addContactPoint(normal, point - normal * separation, separation);
    }
}

} // namespace detail
} // namespace physx
