#pragma once

#include "physics/px/PxFiltering.h"
#include "physics/px/PxVec3.h"

#include <memory>
#include <tuple>
#include <utility>
#include <vector>

class btCollisionObject;
class btRigidBody;

namespace physx {

class PxRigidActor;
class PxShape;

namespace detail {

// Layer-internal: the Bullet objects of one scene, set up to reproduce the original SDK's stepping (see the
// .cpp for each departure from Bullet's defaults). Bodies carry their PxRigidActor as user pointer.
//
// Everything runs on the thread that calls the scene's fetchResults: addBody/removeBody while no step runs,
// step() inside fetchResults, newTouches() after the step.
class BulletWorld {
  public:
    // A shape pair that began to touch in the last step, with the actors' filter result.
    struct Touch {
        PxRigidActor* actors[2];
        PxShape* shapes[2];
        PxPairFlags flags;
        PxU8 points;
    };

    BulletWorld(const PxVec3& gravity, PxSimulationFilterShader shader);
    ~BulletWorld();

    void addBody(btRigidBody& body);
    // Also forgets the body's filter results and touches, so a rebuilt body reports its touches again.
    void removeBody(btRigidBody& body);
    // After moving a body by hand, so the broadphase sees it even if it sleeps.
    void updateBounds(btRigidBody& body);

    void step(PxReal dt);
    const std::vector<Touch>& newTouches() const { return touchesFound; }

    // Used by the stepping world: the body's velocity update before the solver.
    static void integrateVelocity(btRigidBody& body, const PxVec3& gravity, PxReal dt);
    // Used by the stepping world after the solver: the body's wake counter, and whether it is ready to sleep.
    static void updateSleep(btRigidBody& body, PxReal dt);
    static PxU32& touchingPairsOf(const btCollisionObject& body);
    // The pair's filter result, asking the shader the first time.
    bool admitsPair(const btCollisionObject* a, const btCollisionObject* b);
    PxPairFlags pairFlags(const btCollisionObject* a, const btCollisionObject* b) const;

  private:
    struct Parts;
    void collectTouches();
    PxShape* shapeAt(const PxRigidActor& actor, int childIndex) const;

    std::unique_ptr<Parts> parts;
    PxSimulationFilterShader shader;

    typedef std::pair<const btCollisionObject*, const btCollisionObject*> ObjectPair;
    struct FilterResult {
        ObjectPair objects; // lower address first
        bool admitted;
        PxPairFlags flags;
    };
    // Sorted by objects; a vector with room to spare, so a pair met in mid-game allocates nothing.
    std::vector<FilterResult> filterResults;
    // Where the pair's result is in filterResults, or would go.
    std::vector<FilterResult>::const_iterator findFilterResult(const ObjectPair& key) const;

    typedef std::tuple<const PxRigidActor*, const PxShape*, const PxRigidActor*, const PxShape*> TouchKey;
    // Shape pairs touching after the last step (sorted), and the list the current step fills; both keep
    // their capacity from step to step, so a running scene allocates nothing here.
    std::vector<TouchKey> touching, touchingNow;
    std::vector<Touch> touchesFound;
};

} // namespace detail
} // namespace physx
