#include "physics/px/FreshContacts.h"

#include <BulletCollision/CollisionDispatch/btActivatingCollisionAlgorithm.h>
#include <BulletCollision/CollisionDispatch/btCollisionDispatcher.h>
#include <BulletCollision/CollisionDispatch/btCollisionObjectWrapper.h>
#include <BulletCollision/CollisionDispatch/btManifoldResult.h>

#include <new>

namespace physx {
namespace detail {

namespace {

class FreshContactsAlgorithm : public btActivatingCollisionAlgorithm {
public:
    FreshContactsAlgorithm(const btCollisionAlgorithmConstructionInfo& info, const btCollisionObjectWrapper* body0,
                           const btCollisionObjectWrapper* body1, ContactPoints points, bool swapped)
        : btActivatingCollisionAlgorithm(info, body0, body1), points(points), swapped(swapped) {
        const btCollisionObjectWrapper* first = swapped ? body1 : body0;
        const btCollisionObjectWrapper* second = swapped ? body0 : body1;
        manifold = m_dispatcher->getNewManifold(first->getCollisionObject(), second->getCollisionObject());
    }

    ~FreshContactsAlgorithm() override { m_dispatcher->releaseManifold(manifold); }

    void processCollision(const btCollisionObjectWrapper* body0, const btCollisionObjectWrapper* body1,
                          const btDispatcherInfo&, btManifoldResult* result) override {
        result->setPersistentManifold(manifold);
        manifold->clearManifold();
        points(swapped ? *body1 : *body0, swapped ? *body0 : *body1, manifold->getContactBreakingThreshold(),
               *result);
    }

    btScalar calculateTimeOfImpact(btCollisionObject*, btCollisionObject*, const btDispatcherInfo&,
                                   btManifoldResult*) override {
        return 1;
    }

    void getAllContactManifolds(btManifoldArray& manifolds) override { manifolds.push_back(manifold); }

private:
    btPersistentManifold* manifold;
    ContactPoints points;
    bool swapped;
};

} // namespace

btCollisionAlgorithm* FreshContactsCreateFunc::CreateCollisionAlgorithm(btCollisionAlgorithmConstructionInfo& info,
                                                                        const btCollisionObjectWrapper* body0,
                                                                        const btCollisionObjectWrapper* body1) {
    void* memory = info.m_dispatcher1->allocateCollisionAlgorithm(sizeof(FreshContactsAlgorithm));
    return new (memory) FreshContactsAlgorithm(info, body0, body1, points, m_swapped);
}

} // namespace detail
} // namespace physx
