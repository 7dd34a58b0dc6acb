#include "physics/px/BulletWorld.h"

#include "physics/px/LayerContacts.h"
#include "physics/px/PxRigidBody.h"
#include "physics/px/PxShape.h"

#include <LinearMath/btQuickprof.h>
#include <btBulletDynamicsCommon.h>

#include <algorithm>
#include <mutex>

namespace physx {
namespace detail {

namespace {

// Restitution only acts on contacts approaching faster than this (0.2 times the tolerance speed of 10).
const btScalar bounceThreshold = 2.0f;
// Bias that pushes penetrating bodies apart, per step, and the solver passes that settle a stack: the first
// ones with that push, the last ones without it (see ContactSolver).
const btScalar penetrationErp = 0.8f;
const int positionPasses = 7, velocityPasses = 3;
const int solverIterations = positionPasses + velocityPasses;
// Room for this many filtered pairs and touching shape pairs before the lists first grow: the level needs
// a few dozen, and a list that grows allocates in the middle of a frame.
const size_t reservedPairs = 256;

btVector3 toBt(const PxVec3& v) {
    return btVector3(v.x, v.y, v.z);
}

// Materials combine by averaging; Bullet's default multiplies, which halves the friction.
btScalar averageFriction(const btCollisionObject* a, const btCollisionObject* b) {
    return (a->getFriction() + b->getFriction()) * 0.5f;
}
btScalar averageRestitution(const btCollisionObject* a, const btCollisionObject* b) {
    return (a->getRestitution() + b->getRestitution()) * 0.5f;
}

void noProfileEnter(const char*) {}
void noProfileLeave() {}

// Bullet keeps these settings in globals; they are the same for every scene.
void setBulletGlobals() {
    static std::once_flag once;
    std::call_once(once, [] {
        gContactBreakingThreshold = ContactDistance;
        gCalculateCombinedFrictionCallback = averageFriction;
        gCalculateCombinedRestitutionCallback = averageRestitution;
        // Bullet's profiler is one process-wide tree; scenes may step on different threads.
        btSetCustomEnterProfileZoneFunc(noProfileEnter);
        btSetCustomLeaveProfileZoneFunc(noProfileLeave);
    });
}

class FilteringDispatcher : public btCollisionDispatcher {
public:
    FilteringDispatcher(btCollisionConfiguration* config, BulletWorld& w)
        : btCollisionDispatcher(config), world(w) {
        m_manifoldsPtr.reserve(static_cast<int>(reservedPairs));
    }

    // Pairs whose filter result lacks eSOLVE_CONTACT touch (and are reported) but do not push each other.
    bool needsResponse(const btCollisionObject* a, const btCollisionObject* b) override {
        return btCollisionDispatcher::needsResponse(a, b) &&
               world.pairFlags(a, b).isSet(PxPairFlag::eSOLVE_CONTACT);
    }

private:
    BulletWorld& world;
};

class ShaderFilter : public btOverlapFilterCallback {
public:
    explicit ShaderFilter(BulletWorld& w) : world(w) {}
    bool needBroadphaseCollision(btBroadphaseProxy* p0, btBroadphaseProxy* p1) const override {
        return world.admitsPair(static_cast<const btCollisionObject*>(p0->m_clientObject),
                                static_cast<const btCollisionObject*>(p1->m_clientObject));
    }

private:
    BulletWorld& world;
};

// Bullet's solver, with two changes.
//
// Penetration is pushed out as in the original: its solver's position passes aim every penetrating contact at
// 0.8 depth / dt apart and the bodies move with the velocities those passes leave; then the velocity passes
// aim at the contacts' targets without the push, and the bodies keep what they leave. So the push moves a
// body but does not launch it: along the normal it keeps the larger of its own velocity and zero. Bullet's
// split impulse sets every penetrating contact up with the push apart from its target (by default only those
// deeper than 4 cm); the position passes add it in, and the difference between the two passes' velocities is
// handed to Bullet as the push velocity that moves the body on top of the velocity it keeps.
//
// Its working lists are sized up front: they keep their size from step to step, but growing them for a step
// with more contacts than ever before would allocate mid-game.
class ContactSolver : public btSequentialImpulseConstraintSolver {
public:
    ContactSolver() {
        const int pairs = static_cast<int>(reservedPairs);
        m_tmpSolverBodyPool.reserve(pairs);
        m_tmpSolverContactConstraintPool.reserve(4 * pairs);
        m_tmpSolverContactFrictionConstraintPool.reserve(8 * pairs);
        m_orderTmpConstraintPool.reserve(4 * pairs);
        m_orderFrictionConstraintPool.reserve(8 * pairs);
    }

protected:
    btScalar solveGroupCacheFriendlyIterations(btCollisionObject** bodies, int numBodies,
                                               btPersistentManifold** manifolds, int numManifolds,
                                               btTypedConstraint** constraints, int numConstraints,
                                               const btContactSolverInfo& info,
                                               btIDebugDraw* debugDrawer) override {
        // Bullet solves contacts only in passes numbered below its iteration count.
        const auto pass = [&](int i) {
            return solveSingleIteration(std::min(i, info.m_numIterations - 1), bodies, numBodies, manifolds,
                                        numManifolds, constraints, numConstraints, info, debugDrawer);
        };
        // Either kind of pass ends early once a pass changes nothing, as Bullet's own loop does.
        const btScalar settled = info.m_leastSquaresResidualThreshold;
        addPush(1);
        for (int i = 0; i < positionPasses; ++i)
            if (pass(i) <= settled)
                break;
        for (int i = 0; i < m_tmpSolverBodyPool.size(); ++i) {
            btSolverBody& body = m_tmpSolverBodyPool[i];
            body.m_pushVelocity = body.m_deltaLinearVelocity;
            body.m_turnVelocity = body.m_deltaAngularVelocity;
        }
        addPush(-1);
        for (int i = positionPasses; i < positionPasses + velocityPasses; ++i)
            if ((m_leastSquaresResidual = pass(i)) <= settled)
                break;
        for (int i = 0; i < m_tmpSolverBodyPool.size(); ++i) {
            btSolverBody& body = m_tmpSolverBodyPool[i];
            body.m_pushVelocity -= body.m_deltaLinearVelocity;
            body.m_turnVelocity -= body.m_deltaAngularVelocity;
        }
        return 0;
    }

private:
    void addPush(btScalar sign) {
        for (int i = 0; i < m_tmpSolverContactConstraintPool.size(); ++i) {
            btSolverConstraint& c = m_tmpSolverContactConstraintPool[i];
            c.m_rhs += sign * c.m_rhsPenetration;
        }
    }
};

// Grows Bullet's table of overlapping pairs now, by adding and removing stand-in pairs: it never shrinks, and
// growing it in a step that meets more pairs than ever before would allocate mid-game.
void presizePairCache(btHashedOverlappingPairCache& cache, int pairs) {
    std::vector<btBroadphaseProxy> standIns(static_cast<size_t>(pairs) + 1);
    for (size_t i = 0; i < standIns.size(); ++i) {
        standIns[i].m_uniqueId = static_cast<int>(i) + 1;
        standIns[i].m_collisionFilterGroup = standIns[i].m_collisionFilterMask = -1;
    }
    for (size_t i = 1; i < standIns.size(); ++i)
        cache.addOverlappingPair(&standIns[0], &standIns[i]);
    for (size_t i = 1; i < standIns.size(); ++i)
        cache.removeOverlappingPair(&standIns[0], &standIns[i], nullptr);
}

// Steps like the original SDK: velocities get gravity and forces, then damping and the velocity limits,
// before the solver; restitution follows its bounce rule.
class SteppingWorld : public btDiscreteDynamicsWorld {
public:
    SteppingWorld(btDispatcher* d, btBroadphaseInterface* b, btConstraintSolver* s,
                  btCollisionConfiguration* c, const PxVec3& g)
        : btDiscreteDynamicsWorld(d, b, s, c), gravityAcceleration(g) {
        setGravity(toBt(g));
    }

protected:
    // Gravity is part of the velocity update below, never a Bullet force.
    void applyGravity() override {}

    void predictUnconstraintMotion(btScalar dt) override {
        for (int i = 0; i < m_nonStaticRigidBodies.size(); ++i) {
            btRigidBody* body = m_nonStaticRigidBodies[i];
            if (body->isStaticOrKinematicObject() || !body->isActive())
                continue;
            BulletWorld::integrateVelocity(*body, gravityAcceleration, dt);
            body->predictIntegratedTransform(dt, body->getInterpolationWorldTransform());
        }
    }

    void solveConstraints(btContactSolverInfo& info) override {
        applyBounceRule(info.m_timeStep);
        btDiscreteDynamicsWorld::solveConstraints(info);
    }

    // The original's wake counter replaces Bullet's sleep timer; Bullet's islands still decide when a group
    // of touching bodies falls asleep together (once every one of them is ready).
    void updateActivationState(btScalar dt) override {
        countTouchingPairs();
        for (int i = 0; i < m_nonStaticRigidBodies.size(); ++i) {
            btRigidBody* body = m_nonStaticRigidBodies[i];
            if (!body->isStaticOrKinematicObject())
                BulletWorld::updateSleep(*body, dt);
        }
    }

private:
    // A body's sleep threshold grows with the number of shape pairs it touches in this step.
    void countTouchingPairs() {
        for (int i = 0; i < m_nonStaticRigidBodies.size(); ++i)
            BulletWorld::touchingPairsOf(*m_nonStaticRigidBodies[i]) = 0;
        btDispatcher* d = getDispatcher();
        for (int i = 0; i < d->getNumManifolds(); ++i) {
            const btPersistentManifold* m = d->getManifoldByIndexInternal(i);
            if (m->getNumContacts() == 0)
                continue;
            for (const btCollisionObject* o : {m->getBody0(), m->getBody1()})
                if (!o->isStaticOrKinematicObject())
                    ++BulletWorld::touchingPairsOf(*o);
        }
    }

    // A contact bounces only if it closes faster than the threshold and would close within this step; then
    // the target is e times the approach speed with no extra push for the gap or the penetration. Bullet on
    // its own subtracts the gap from the bounce and loses it.
    void applyBounceRule(btScalar dt) {
        btDispatcher* d = getDispatcher();
        for (int i = 0; i < d->getNumManifolds(); ++i) {
            btPersistentManifold* m = d->getManifoldByIndexInternal(i);
            const btRigidBody* a = btRigidBody::upcast(m->getBody0());
            const btRigidBody* b = btRigidBody::upcast(m->getBody1());
            const btScalar e = averageRestitution(m->getBody0(), m->getBody1());
            for (int j = 0; j < m->getNumContacts(); ++j) {
                btManifoldPoint& p = m->getContactPoint(j);
                btVector3 va(0, 0, 0), vb(0, 0, 0);
                if (a)
                    va = a->getVelocityInLocalPoint(p.getPositionWorldOnA() - a->getCenterOfMassPosition());
                if (b)
                    vb = b->getVelocityInLocalPoint(p.getPositionWorldOnB() - b->getCenterOfMassPosition());
                const btScalar approach = p.m_normalWorldOnB.dot(va - vb);
                if (e > 0 && approach < -bounceThreshold && -approach > p.getDistance() / dt) {
                    p.m_combinedRestitution = e;
                    p.setDistance(0);
                } else {
                    p.m_combinedRestitution = 0;
                }
            }
        }
    }

    PxVec3 gravityAcceleration;
};

} // namespace

struct BulletWorld::Parts {
    btDefaultCollisionConfiguration config;
    LayerContacts contacts;
    std::unique_ptr<FilteringDispatcher> dispatcher;
    btHashedOverlappingPairCache pairCache;
    btDbvtBroadphase broadphase{&pairCache};
    ContactSolver solver;
    std::unique_ptr<ShaderFilter> filter;
    std::unique_ptr<SteppingWorld> world;
};

BulletWorld::BulletWorld(const PxVec3& gravity, PxSimulationFilterShader filterShader)
    : parts(new Parts), shader(filterShader) {
    setBulletGlobals();
    Parts& p = *parts;
    presizePairCache(p.pairCache, static_cast<int>(reservedPairs));
    p.dispatcher.reset(new FilteringDispatcher(&p.config, *this));
    p.contacts.useIn(*p.dispatcher, p.config);
    // New pairs are found during the step, as the filter shader expects.
    p.broadphase.m_deferedcollide = true;
    p.filter.reset(new ShaderFilter(*this));
    p.world.reset(new SteppingWorld(p.dispatcher.get(), &p.broadphase, &p.solver, &p.config, gravity));
    p.world->getPairCache()->setOverlapFilterCallback(p.filter.get());

    btContactSolverInfo& info = p.world->getSolverInfo();
    info.m_erp2 = penetrationErp;
    info.m_numIterations = solverIterations;
    info.m_restitutionVelocityThreshold = bounceThreshold;
    // Friction along and across the sliding direction. No warm starting, as in the original: with it a
    // sliding box keeps last step's friction impulse and stops 2 % early.
    info.m_solverMode |= SOLVER_USE_2_FRICTION_DIRECTIONS;
    info.m_solverMode &= ~SOLVER_USE_WARMSTARTING;
    // Every penetrating contact keeps its push apart from its velocity target (see ContactSolver), and the
    // push moves the body in full, turning included.
    info.m_splitImpulse = 1;
    info.m_splitImpulsePenetrationThreshold = 0;
    info.m_splitImpulseTurnErp = 1;

    filterResults.reserve(reservedPairs);
    touching.reserve(reservedPairs);
    touchingNow.reserve(reservedPairs);
    touchesFound.reserve(reservedPairs);
}

BulletWorld::~BulletWorld() {
    // Bodies belong to the actors; take any left out before the world goes.
    btCollisionObjectArray& objects = parts->world->getCollisionObjectArray();
    while (objects.size() > 0)
        parts->world->removeCollisionObject(objects[objects.size() - 1]);
}

void BulletWorld::addBody(btRigidBody& body) {
    parts->world->addRigidBody(&body);
}

void BulletWorld::removeBody(btRigidBody& body) {
    parts->world->removeRigidBody(&body);
    filterResults.erase(std::remove_if(filterResults.begin(), filterResults.end(),
                                       [&body](const FilterResult& r) {
                                           return r.objects.first == &body || r.objects.second == &body;
                                       }),
                        filterResults.end());
    const auto* actor = static_cast<const PxRigidActor*>(body.getUserPointer());
    touching.erase(std::remove_if(touching.begin(), touching.end(),
                                  [actor](const TouchKey& k) {
                                      return std::get<0>(k) == actor || std::get<2>(k) == actor;
                                  }),
                   touching.end());
}

void BulletWorld::updateBounds(btRigidBody& body) {
    parts->world->updateSingleAabb(&body);
}

void BulletWorld::step(PxReal dt) {
    // One step of exactly dt, whatever dt is.
    parts->world->stepSimulation(dt, 0);
    collectTouches();
}

void BulletWorld::integrateVelocity(btRigidBody& body, const PxVec3& gravity, PxReal dt) {
    auto* rb = static_cast<PxRigidBody*>(static_cast<PxRigidActor*>(body.getUserPointer()));
    btVector3 v = body.getLinearVelocity() + toBt(rb->stepVelocityChange) +
                  (toBt(rb->stepAcceleration) + toBt(gravity)) * dt;
    btVector3 w = body.getAngularVelocity();
    v *= std::max(0.0f, 1.0f - PxRigidBody::linearDamping * dt);
    w *= std::max(0.0f, 1.0f - PxRigidBody::angularDamping * dt);
    const btScalar maxLin = rb->stepMaxLinearVelocity;
    if (v.length2() > maxLin * maxLin)
        v *= maxLin / v.length();
    const btScalar maxAng = PxRigidBody::maxAngularVelocity;
    if (w.length2() > maxAng * maxAng)
        w *= maxAng / w.length();
    body.setLinearVelocity(v);
    body.setAngularVelocity(w);
    rb->stepAcceleration = PxVec3(0);
    rb->stepVelocityChange = PxVec3(0);
}

PxU32& BulletWorld::touchingPairsOf(const btCollisionObject& body) {
    return static_cast<PxRigidBody*>(static_cast<PxRigidActor*>(body.getUserPointer()))->touchingPairs;
}

// The original's rule: the wake counter runs down by dt. While it is below half its reset value, the body's
// velocities are summed step by step (the angular one in the body's frame); once the kinetic energy per unit
// mass of those sums reaches the threshold times (1 + touching pairs), the sums start again and the counter
// goes back up: to between half and all of its reset value, the more the energy exceeds the threshold, plus
// one step per touching pair. At zero the body is ready to sleep.
void BulletWorld::updateSleep(btRigidBody& body, PxReal dt) {
    auto* rb = static_cast<PxRigidBody*>(static_cast<PxRigidActor*>(body.getUserPointer()));
    if (body.getActivationState() == ISLAND_SLEEPING) {
        body.setLinearVelocity(btVector3(0, 0, 0));
        body.setAngularVelocity(btVector3(0, 0, 0));
        rb->asleep = true;
        return;
    }
    if (rb->asleep) {
        // Woken by an awake body that now shares its island.
        rb->asleep = false;
        rb->wakeCounter = PxRigidBody::wakeCounterReset;
        rb->sleepLinearSum = rb->sleepAngularSum = PxVec3(0);
    }
    PxReal wakeCounter = rb->wakeCounter;
    bool raised = false;
    if (wakeCounter < 0.5f * PxRigidBody::wakeCounterReset || wakeCounter < dt) {
        const btVector3 v = body.getLinearVelocity();
        const btVector3 w = body.getWorldTransform().getBasis().transpose() * body.getAngularVelocity();
        rb->sleepLinearSum += PxVec3(v.x(), v.y(), v.z());
        rb->sleepAngularSum += PxVec3(w.x(), w.y(), w.z());
        const btVector3& invInertia = body.getInvInertiaDiagLocal();
        const PxVec3 inertia(invInertia.x() > 0 ? 1.0f / invInertia.x() : 1.0f,
                             invInertia.y() > 0 ? 1.0f / invInertia.y() : 1.0f,
                             invInertia.z() > 0 ? 1.0f / invInertia.z() : 1.0f);
        const PxReal invMass = body.getInvMass() > 0 ? body.getInvMass() : 1.0f;
        const PxVec3& a = rb->sleepAngularSum;
        const PxReal angular = PxVec3(a.x * a.x, a.y * a.y, a.z * a.z).dot(inertia) * invMass;
        const PxReal linear = rb->sleepLinearSum.magnitudeSquared();
        const PxReal energy = 0.5f * (angular + linear);
        const PxReal cluster = static_cast<PxReal>(1 + rb->touchingPairs);
        const PxReal threshold = cluster * PxRigidBody::sleepThreshold;
        if (energy >= threshold) {
            rb->sleepLinearSum = rb->sleepAngularSum = PxVec3(0);
            const PxReal factor = threshold == 0 ? 2.0f : std::min(energy / threshold, 2.0f);
            wakeCounter = factor * 0.5f * PxRigidBody::wakeCounterReset + dt * (cluster - 1.0f);
            raised = true;
        }
    }
    if (!raised)
        wakeCounter = std::max(wakeCounter - dt, 0.0f);
    rb->wakeCounter = wakeCounter;
    if (wakeCounter == 0) {
        rb->sleepLinearSum = rb->sleepAngularSum = PxVec3(0);
        body.setActivationState(WANTS_DEACTIVATION);
    } else {
        body.setActivationState(ACTIVE_TAG);
    }
}

std::vector<BulletWorld::FilterResult>::const_iterator BulletWorld::findFilterResult(const ObjectPair& key) const {
    return std::lower_bound(filterResults.begin(), filterResults.end(), key,
                            [](const FilterResult& r, const ObjectPair& k) { return r.objects < k; });
}

bool BulletWorld::admitsPair(const btCollisionObject* a, const btCollisionObject* b) {
    // Static actors never interact with each other.
    if (a->isStaticObject() && b->isStaticObject())
        return false;
    if (b < a)
        std::swap(a, b);
    const ObjectPair key(a, b);
    const auto found = findFilterResult(key);
    if (found != filterResults.end() && found->objects == key)
        return found->admitted;
    const auto attributes = [](const btCollisionObject* o) -> PxFilterObjectAttributes {
        return o->isStaticObject() ? PxFilterObjectType::eRIGID_STATIC : PxFilterObjectType::eRIGID_DYNAMIC;
    };
    PxPairFlags flags;
    const PxFilterFlags verdict =
        shader(attributes(a), PxFilterData(), attributes(b), PxFilterData(), flags, nullptr, 0);
    const bool admitted = !(verdict & (PxFilterFlag::eKILL | PxFilterFlag::eSUPPRESS)) &&
                          flags.isSet(PxPairFlag::eDETECT_DISCRETE_CONTACT);
    filterResults.insert(found, FilterResult{key, admitted, flags});
    return admitted;
}

PxPairFlags BulletWorld::pairFlags(const btCollisionObject* a, const btCollisionObject* b) const {
    if (b < a)
        std::swap(a, b);
    const ObjectPair key(a, b);
    const auto found = findFilterResult(key);
    return found != filterResults.end() && found->objects == key ? found->flags : PxPairFlags();
}

PxShape* BulletWorld::shapeAt(const PxRigidActor& actor, int childIndex) const {
    const auto& shapes = actor.simShapes;
    if (shapes.empty())
        return nullptr;
    if (shapes.size() == 1 || childIndex < 0 || childIndex >= static_cast<int>(shapes.size()))
        return shapes[0];
    return shapes[static_cast<size_t>(childIndex)];
}

// A shape pair touches while its manifold holds a point, i.e. is within the contact distance at the start
// of the step. A touch is new if the pair did not touch after the previous step. Sleeping pairs keep their
// manifolds and so report nothing.
void BulletWorld::collectTouches() {
    touchingNow.clear();
    touchesFound.clear();
    btDispatcher* d = parts->dispatcher.get();
    for (int i = 0; i < d->getNumManifolds(); ++i) {
        const btPersistentManifold* m = d->getManifoldByIndexInternal(i);
        if (m->getNumContacts() == 0)
            continue;
        auto* a = static_cast<PxRigidActor*>(m->getBody0()->getUserPointer());
        auto* b = static_cast<PxRigidActor*>(m->getBody1()->getUserPointer());
        const PxPairFlags flags = pairFlags(m->getBody0(), m->getBody1());
        for (int j = 0; j < m->getNumContacts(); ++j) {
            const btManifoldPoint& p = m->getContactPoint(j);
            Touch t{{a, b}, {shapeAt(*a, p.m_index0), shapeAt(*b, p.m_index1)}, flags, 1};
            if (t.actors[1] < t.actors[0]) {
                std::swap(t.actors[0], t.actors[1]);
                std::swap(t.shapes[0], t.shapes[1]);
            }
            const TouchKey key(t.actors[0], t.shapes[0], t.actors[1], t.shapes[1]);
            if (std::find(touchingNow.begin(), touchingNow.end(), key) != touchingNow.end()) {
                for (Touch& seen : touchesFound)
                    if (seen.actors[0] == t.actors[0] && seen.shapes[0] == t.shapes[0] &&
                        seen.actors[1] == t.actors[1] && seen.shapes[1] == t.shapes[1])
                        ++seen.points;
                continue;
            }
            touchingNow.push_back(key);
            if (!std::binary_search(touching.begin(), touching.end(), key))
                touchesFound.push_back(t);
        }
    }
    std::sort(touchingNow.begin(), touchingNow.end());
    touching.swap(touchingNow);
}

} // namespace detail
} // namespace physx
