#include "physics/px/BoxPlaneCollision.h"

#include <BulletCollision/CollisionDispatch/btActivatingCollisionAlgorithm.h>
#include <BulletCollision/CollisionDispatch/btCollisionDispatcher.h>
#include <BulletCollision/CollisionDispatch/btCollisionObjectWrapper.h>
#include <BulletCollision/CollisionDispatch/btManifoldResult.h>
#include <BulletCollision/CollisionShapes/btBoxShape.h>
#include <BulletCollision/CollisionShapes/btStaticPlaneShape.h>

#include <new>

namespace physx {
namespace detail {

namespace {

class BoxPlaneAlgorithm : public btActivatingCollisionAlgorithm {
public:
    BoxPlaneAlgorithm(const btCollisionAlgorithmConstructionInfo& info, const btCollisionObjectWrapper* body0,
                      const btCollisionObjectWrapper* body1, bool planeFirst)
        : btActivatingCollisionAlgorithm(info, body0, body1), planeFirst(planeFirst) {
        // The manifold always holds the box first: its normal is then the plane's.
        const btCollisionObjectWrapper* box = planeFirst ? body1 : body0;
        const btCollisionObjectWrapper* plane = planeFirst ? body0 : body1;
        manifold = m_dispatcher->getNewManifold(box->getCollisionObject(), plane->getCollisionObject());
    }

    ~BoxPlaneAlgorithm() override { m_dispatcher->releaseManifold(manifold); }

    void processCollision(const btCollisionObjectWrapper* body0, const btCollisionObjectWrapper* body1,
                          const btDispatcherInfo&, btManifoldResult* result) override {
        const btCollisionObjectWrapper* boxWrap = planeFirst ? body1 : body0;
        const btCollisionObjectWrapper* planeWrap = planeFirst ? body0 : body1;
        const auto* box = static_cast<const btBoxShape*>(boxWrap->getCollisionShape());
        const auto* plane = static_cast<const btStaticPlaneShape*>(planeWrap->getCollisionShape());
        result->setPersistentManifold(manifold);
        // Fresh points every step, as the original generates them: nothing kept from the last step.
        manifold->clearManifold();

        const btTransform& planePose = planeWrap->getWorldTransform();
        const btVector3 normal = planePose.getBasis() * plane->getPlaneNormal();
        const btScalar offset = normal.dot(planePose.getOrigin()) + plane->getPlaneConstant();
        const btTransform& boxPose = boxWrap->getWorldTransform();
        const btVector3 half = box->getHalfExtentsWithMargin();
        const btScalar reach = manifold->getContactBreakingThreshold();
        for (int corner = 0; corner < 8; ++corner) {
            const btVector3 local((corner & 1) ? half.x() : -half.x(), (corner & 2) ? half.y() : -half.y(),
                                  (corner & 4) ? half.z() : -half.z());
            const btVector3 point = boxPose * local;
            const btScalar separation = normal.dot(point) - offset;
            // Bullet wants the point on the manifold's second body, the plane, with the normal pointing at
            // the box.
            if (separation <= reach)
                result->addContactPoint(normal, point - normal * separation, separation);
        }
    }

    btScalar calculateTimeOfImpact(btCollisionObject*, btCollisionObject*, const btDispatcherInfo&,
                                   btManifoldResult*) override {
        return 1;
    }

    void getAllContactManifolds(btManifoldArray& manifolds) override { manifolds.push_back(manifold); }

private:
    btPersistentManifold* manifold;
    bool planeFirst;
};

} // namespace

btCollisionAlgorithm* BoxPlaneCreateFunc::CreateCollisionAlgorithm(btCollisionAlgorithmConstructionInfo& info,
                                                                   const btCollisionObjectWrapper* body0,
                                                                   const btCollisionObjectWrapper* body1) {
    void* memory = info.m_dispatcher1->allocateCollisionAlgorithm(sizeof(BoxPlaneAlgorithm));
    return new (memory) BoxPlaneAlgorithm(info, body0, body1, m_swapped);
}

} // namespace detail
} // namespace physx
