#include "physics/px/PxScene.h"

#include "physics/px/BulletWorld.h"
#include "physics/px/PxCpuDispatcher.h"
#include "physics/px/PxErrorReport.h"
#include "physics/px/PxMaterial.h"
#include "physics/px/PxPhysics.h"
#include "physics/px/PxRigidDynamic.h"
#include "physics/px/PxRigidStatic.h"
#include "physics/px/PxShape.h"
#include "physics/px/PxSimulationEventCallback.h"
#include "physics/px/SimulationFloatMode.h"

#include <btBulletDynamicsCommon.h>

#include <algorithm>

namespace physx {

namespace {

btVector3 toBt(const PxVec3& v) {
    return btVector3(v.x, v.y, v.z);
}
PxVec3 toPx(const btVector3& v) {
    return PxVec3(v.x(), v.y(), v.z());
}
btTransform toBt(const PxTransform& t) {
    return btTransform(btQuaternion(t.q.x, t.q.y, t.q.z, t.q.w), toBt(t.p));
}
PxTransform toPx(const btTransform& t) {
    const btQuaternion q = t.getRotation();
    return PxTransform(toPx(t.getOrigin()), PxQuat(q.x(), q.y(), q.z(), q.w()));
}

// Room for this many reported shape pairs in one step before the report lists first grow.
const size_t reservedReports = 64;

bool isDynamic(const PxRigidActor& actor) {
    return actor.getType() == PxActorType::eRIGID_DYNAMIC;
}

} // namespace

PxScene::PxScene(PxPhysics& physics, const PxSceneDesc& desc)
    : owner(&physics), gravity(desc.gravity), eventCallback(desc.simulationEventCallback),
      world(new detail::BulletWorld(desc.gravity, desc.filterShader)) {
    reportPairs.reserve(reservedReports);
    reportGroups.reserve(reservedReports);
}

PxScene::~PxScene() = default;

void PxScene::release() {
    if (simulating)
        fetchResults(true);
    while (!actors.empty())
        removeActor(*actors.back());
    owner->scenes.erase(this);
    delete this;
}

void PxScene::addActor(PxActor& actor) {
    auto* rigid = dynamic_cast<PxRigidActor*>(&actor);
    if (!rigid)
        return;
    if (actor.scene) {
        PX_REPORT_INVALID_OPERATION("PxScene::addActor(): the actor is already in a scene; call ignored");
        return;
    }
    actor.scene = this;
    rigid->insertionId = nextInsertionId++;
    rigid->bodyOutdated = true;
    actors.push_back(rigid);
    // Built now, as the original inserts an actor at once outside a step: the first step then finds the level
    // in place and allocates nothing for it.
    if (!simulating) {
        detail::SimulationFloatMode mode;
        buildBody(*rigid);
    }
}

void PxScene::removeActor(PxActor& actor, bool) {
    auto* rigid = dynamic_cast<PxRigidActor*>(&actor);
    if (!rigid || actor.scene != this)
        return;
    if (simulating) {
        PX_REPORT_INVALID_OPERATION("PxScene::removeActor(): not allowed while a step runs; call ignored");
        return;
    }
    removeFromWorld(*rigid);
    actors.erase(std::find(actors.begin(), actors.end(), rigid));
    actor.scene = nullptr;
}

void PxScene::removeFromWorld(PxRigidActor& actor) {
    if (actor.body) {
        world->removeBody(*actor.body);
        delete actor.body;
        actor.body = nullptr;
    }
    delete actor.ownShape;
    actor.ownShape = nullptr;
    actor.simShapes.clear();
    actor.bodyOutdated = true;
}

static bool typeWanted(const PxRigidActor& actor, PxActorTypeFlags types) {
    return types.isSet(isDynamic(actor) ? PxActorTypeFlag::eRIGID_DYNAMIC : PxActorTypeFlag::eRIGID_STATIC);
}

PxU32 PxScene::getNbActors(PxActorTypeFlags types) const {
    return static_cast<PxU32>(std::count_if(actors.begin(), actors.end(),
                                            [&](const PxRigidActor* a) { return typeWanted(*a, types); }));
}

PxU32 PxScene::getActors(PxActorTypeFlags types, PxActor** userBuffer, PxU32 bufferSize,
                         PxU32 startIndex) const {
    PxU32 seen = 0, written = 0;
    for (PxRigidActor* a : actors) {
        if (!typeWanted(*a, types))
            continue;
        if (seen++ < startIndex)
            continue;
        if (written == bufferSize)
            break;
        userBuffer[written++] = a;
    }
    return written;
}

bool PxScene::simulate(PxReal elapsedTime, PxBaseTask*, void*, PxU32, bool) {
    if (simulating) {
        PX_REPORT_INVALID_OPERATION(
            "PxScene::simulate(): a step is already running; call fetchResults first");
        return false;
    }
    {
        detail::SimulationFloatMode mode;
        flushWrites();
    }
    stepTime = elapsedTime;
    simulating = true;
    return true;
}

bool PxScene::fetchResults(bool, PxU32* errorState) {
    if (errorState)
        *errorState = 0;
    if (!simulating)
        return false;
    // The step itself runs here, on the caller: handing it to a worker thread and back cost two thread
    // wake-ups per step, more than the step. Either way, with or without block, it has finished on return.
    detail::SimulationFloatMode mode;
    world->step(stepTime);
    // Reports first, while every actor still shows its pose from before the step.
    deliverContacts();
    publishResults();
    simulating = false;
    return true;
}

// Makes the actor's Bullet body from its current shapes, mass and state, replacing any body it had.
void PxScene::buildBody(PxRigidActor& actor) {
    PxRigidBody* rb = isDynamic(actor) ? static_cast<PxRigidBody*>(&actor) : nullptr;
    removeFromWorld(actor);
    actor.simShapes = actor.shapes;
    btCollisionShape* shape;
    if (actor.shapes.size() == 1) {
        shape = actor.shapes[0]->bullet;
    } else if (actor.shapes.empty()) {
        shape = actor.ownShape = new btEmptyShape();
    } else {
        // Shapes sit at the actor's origin, which is also the centre of mass.
        auto* compound = new btCompoundShape(false, static_cast<int>(actor.shapes.size()));
        for (PxShape* s : actor.shapes)
            compound->addChildShape(btTransform::getIdentity(), s->bullet);
        shape = actor.ownShape = compound;
    }
    const PxReal mass = rb ? rb->mass : 0.0f;
    btRigidBody::btRigidBodyConstructionInfo info(mass, nullptr, shape,
                                                  rb ? toBt(rb->inertia) : btVector3(0, 0, 0));
    info.m_startWorldTransform = toBt(actor.pose);
    if (!actor.shapes.empty()) {
        info.m_friction = actor.shapes[0]->material->getDynamicFriction();
        info.m_restitution = actor.shapes[0]->material->getRestitution();
    }
    auto* body = new btRigidBody(info);
    body->setUserPointer(&actor);
    // The original integrates no gyroscopic torque.
    body->setFlags(body->getFlags() & ~BT_ENABLE_GYROSCOPIC_FORCE_IMPLICIT_BODY);
    if (rb) {
        body->setLinearVelocity(toBt(rb->linearVelocity));
        body->setAngularVelocity(toBt(rb->angularVelocity));
        static_cast<PxRigidDynamic*>(rb)->sleeping = false;
        rb->massChanged = false;
        rb->wakeCounter = PxRigidBody::wakeCounterReset;
        rb->sleepLinearSum = rb->sleepAngularSum = PxVec3(0);
        rb->asleep = false;
    }
    actor.body = body;
    actor.bodyOutdated = false;
    actor.poseWritten = false;
    world->addBody(*body);
}

// Hands what the API side wrote since the last step to Bullet; no step runs here.
void PxScene::flushWrites() {
    for (PxRigidActor* actor : actors) {
        PxRigidBody* rb = isDynamic(*actor) ? static_cast<PxRigidBody*>(actor) : nullptr;
        if (actor->bodyOutdated)
            buildBody(*actor);
        btRigidBody* body = actor->body;
        if (actor->poseWritten) {
            body->setWorldTransform(toBt(actor->pose));
            body->setInterpolationWorldTransform(body->getWorldTransform());
            world->updateBounds(*body);
            actor->poseWritten = false;
        }
        if (!rb)
            continue;
        if (rb->massChanged) {
            body->setMassProps(rb->mass, toBt(rb->inertia));
            body->updateInertiaTensor();
            rb->massChanged = false;
        }
        if (rb->linearVelocityWritten) {
            body->setLinearVelocity(toBt(rb->linearVelocity));
            rb->linearVelocityWritten = false;
        }
        if (rb->angularVelocityWritten) {
            body->setAngularVelocity(toBt(rb->angularVelocity));
            rb->angularVelocityWritten = false;
        }
        rb->stepAcceleration = rb->pendingAcceleration;
        rb->stepVelocityChange = rb->pendingVelocityChange;
        rb->pendingAcceleration = PxVec3(0);
        rb->pendingVelocityChange = PxVec3(0);
        rb->stepMaxLinearVelocity = rb->maxLinearVelocity;
        if (rb->wakeRequested) {
            body->activate(true);
            if (rb->asleep) {
                rb->asleep = false;
                rb->sleepLinearSum = rb->sleepAngularSum = PxVec3(0);
            }
            rb->wakeCounter = std::max(rb->wakeCounter, PxRigidBody::wakeCounterReset);
            rb->wakeRequested = false;
        }
    }
}

// One onContact per pair of actors, holding every shape pair of theirs that began to touch, in the order the
// pairs were first met. Two passes over the step's touches (count per actor pair, then fill), so that each
// call's shape pairs lie together in one reused list.
void PxScene::deliverContacts() {
    if (!eventCallback)
        return;
    reportGroups.clear();
    for (int pass = 0; pass < 2; ++pass) {
        for (const detail::BulletWorld::Touch& t : world->newTouches()) {
            if (!t.flags.isSet(PxPairFlag::eNOTIFY_TOUCH_FOUND))
                continue;
            // Dynamic before static; of two dynamic actors the later-added first.
            int first = 0;
            const bool dyn0 = isDynamic(*t.actors[0]), dyn1 = isDynamic(*t.actors[1]);
            if ((dyn1 && !dyn0) || (dyn0 == dyn1 && t.actors[1]->insertionId > t.actors[0]->insertionId))
                first = 1;
            PxRigidActor* a = t.actors[first];
            PxRigidActor* b = t.actors[1 - first];
            auto group = std::find_if(reportGroups.begin(), reportGroups.end(),
                                      [&](const ReportGroup& g) { return g.actors[0] == a && g.actors[1] == b; });
            if (pass == 0) {
                if (group == reportGroups.end())
                    group = reportGroups.insert(reportGroups.end(), ReportGroup{{a, b}, 0, 0});
                ++group->count;
                continue;
            }
            PxContactPair& pair = reportPairs[group->first + group->count++];
            pair = PxContactPair();
            pair.shapes[0] = t.shapes[first];
            pair.shapes[1] = t.shapes[1 - first];
            pair.contactCount = t.points;
            pair.events = PxPairFlag::eNOTIFY_TOUCH_FOUND;
        }
        if (pass == 0) {
            PxU32 offset = 0;
            for (ReportGroup& g : reportGroups) {
                g.first = offset;
                offset += g.count;
                g.count = 0;
            }
            reportPairs.resize(offset);
        }
    }
    for (const ReportGroup& g : reportGroups) {
        PxContactPairHeader header;
        header.actors[0] = g.actors[0];
        header.actors[1] = g.actors[1];
        header.pairs = reportPairs.data() + g.first;
        header.nbPairs = g.count;
        eventCallback->onContact(header, header.pairs, header.nbPairs);
    }
}

// Copies the step's result to the API side, except what was written during the step.
void PxScene::publishResults() {
    for (PxRigidActor* actor : actors) {
        if (!isDynamic(*actor) || !actor->body || actor->bodyOutdated)
            continue;
        auto* rb = static_cast<PxRigidDynamic*>(actor);
        const btRigidBody* body = actor->body;
        if (!actor->poseWritten)
            actor->pose = toPx(body->getWorldTransform());
        if (!rb->linearVelocityWritten)
            rb->linearVelocity = toPx(body->getLinearVelocity());
        if (!rb->angularVelocityWritten)
            rb->angularVelocity = toPx(body->getAngularVelocity());
        rb->sleeping = !rb->wakeRequested && body->getActivationState() == ISLAND_SLEEPING;
    }
}

} // namespace physx
