#include "physics/px/SphereBoxCollision.h"

#include <BulletCollision/CollisionDispatch/btActivatingCollisionAlgorithm.h>
#include <BulletCollision/CollisionDispatch/btCollisionDispatcher.h>
#include <BulletCollision/CollisionDispatch/btCollisionObjectWrapper.h>
#include <BulletCollision/CollisionDispatch/btManifoldResult.h>
#include <BulletCollision/CollisionShapes/btBoxShape.h>
#include <BulletCollision/CollisionShapes/btSphereShape.h>

#include <cmath>
#include <new>

namespace physx {
namespace detail {

namespace {

class SphereBoxAlgorithm : public btActivatingCollisionAlgorithm {
  public:
    SphereBoxAlgorithm(const btCollisionAlgorithmConstructionInfo& info, const btCollisionObjectWrapper* body0,
                       const btCollisionObjectWrapper* body1, bool boxFirst)
        : btActivatingCollisionAlgorithm(info, body0, body1), boxFirst(boxFirst) {
        // The manifold always holds the sphere first: its normal then points from the box to the sphere.
        const btCollisionObjectWrapper* sphere = boxFirst ? body1 : body0;
        const btCollisionObjectWrapper* box = boxFirst ? body0 : body1;
        manifold = m_dispatcher->getNewManifold(sphere->getCollisionObject(), box->getCollisionObject());
    }

    ~SphereBoxAlgorithm() override { m_dispatcher->releaseManifold(manifold); }

    void processCollision(const btCollisionObjectWrapper* body0, const btCollisionObjectWrapper* body1,
                          const btDispatcherInfo&, btManifoldResult* result) override {
        const btCollisionObjectWrapper* sphereWrap = boxFirst ? body1 : body0;
        const btCollisionObjectWrapper* boxWrap = boxFirst ? body0 : body1;
        const auto* sphere = static_cast<const btSphereShape*>(sphereWrap->getCollisionShape());
        const auto* box = static_cast<const btBoxShape*>(boxWrap->getCollisionShape());
        result->setPersistentManifold(manifold);
        // One fresh point per step, as the original generates it: nothing kept from the last step.
        manifold->clearManifold();

        const btTransform& boxPose = boxWrap->getWorldTransform();
        const btVector3 centre = sphereWrap->getWorldTransform().getOrigin();
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
            if (distance - radius > manifold->getContactBreakingThreshold())
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
        result->addContactPoint(normalOnBox, pointOnBox, separation);
    }

    btScalar calculateTimeOfImpact(btCollisionObject*, btCollisionObject*, const btDispatcherInfo&,
                                   btManifoldResult*) override {
        return 1;
    }

    void getAllContactManifolds(btManifoldArray& manifolds) override { manifolds.push_back(manifold); }

  private:
    btPersistentManifold* manifold;
    bool boxFirst;
};

} // namespace

btCollisionAlgorithm* SphereBoxCreateFunc::CreateCollisionAlgorithm(btCollisionAlgorithmConstructionInfo& info,
                                                                    const btCollisionObjectWrapper* body0,
                                                                    const btCollisionObjectWrapper* body1) {
    void* memory = info.m_dispatcher1->allocateCollisionAlgorithm(sizeof(SphereBoxAlgorithm));
    return new (memory) SphereBoxAlgorithm(info, body0, body1, m_swapped);
}

} // namespace detail
} // namespace physx
