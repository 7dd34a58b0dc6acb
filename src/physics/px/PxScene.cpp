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

#include <btBulletDynamicsCommon.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <mutex>

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

// A body may sleep once it moves slower than this (the original's energy threshold of 0.005 per unit mass
// is reached at about 0.1 m/s) and spins with no more energy than that.
const btScalar sleepLinearSpeed = 0.1f;
btScalar sleepAngularSpeed(PxReal mass, const PxVec3& inertia) {
    const PxReal largest = std::max(inertia.x, std::max(inertia.y, inertia.z));
    return largest > 0 ? std::sqrt(sleepLinearSpeed * sleepLinearSpeed * mass / largest) : sleepLinearSpeed;
}

bool isDynamic(const PxRigidActor& actor) {
    return actor.getType() == PxActorType::eRIGID_DYNAMIC;
}

} // namespace

struct PxScene::StepSync {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
};

PxScene::PxScene(PxPhysics& physics, const PxSceneDesc& desc)
    : owner(&physics), gravity(desc.gravity), eventCallback(desc.simulationEventCallback),
      dispatcher(desc.cpuDispatcher), world(new detail::BulletWorld(desc.gravity, desc.filterShader)),
      sync(new StepSync) {}

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
    flushWrites();
    simulating = true;
    sync->done = false;
    dispatcher->submitTask([this, elapsedTime] { runStep(elapsedTime); });
    return true;
}

void PxScene::runStep(PxReal dt) {
    world->step(dt);
    // Notified under the lock: once fetchResults sees `done` the worker no longer touches the scene, which
    // may then be released at once.
    std::lock_guard<std::mutex> lock(sync->mutex);
    sync->done = true;
    sync->finished.notify_all();
}

bool PxScene::fetchResults(bool block, PxU32* errorState) {
    if (errorState)
        *errorState = 0;
    if (!simulating)
        return false;
    {
        std::unique_lock<std::mutex> lock(sync->mutex);
        if (!block && !sync->done)
            return false;
        sync->finished.wait(lock, [this] { return sync->done; });
    }
    // Reports first, while every actor still shows its pose from before the step.
    deliverContacts();
    publishResults();
    simulating = false;
    return true;
}

// Hands what the API side wrote since the last step to Bullet; the worker is idle here.
void PxScene::flushWrites() {
    for (PxRigidActor* actor : actors) {
        PxRigidBody* rb = isDynamic(*actor) ? static_cast<PxRigidBody*>(actor) : nullptr;
        if (actor->bodyOutdated) {
            removeFromWorld(*actor);
            actor->simShapes = actor->shapes;
            btCollisionShape* shape;
            if (actor->shapes.size() == 1) {
                shape = actor->shapes[0]->bullet;
            } else if (actor->shapes.empty()) {
                shape = actor->ownShape = new btEmptyShape();
            } else {
                // Shapes sit at the actor's origin, which is also the centre of mass.
                auto* compound = new btCompoundShape(false, static_cast<int>(actor->shapes.size()));
                for (PxShape* s : actor->shapes)
                    compound->addChildShape(btTransform::getIdentity(), s->bullet);
                shape = actor->ownShape = compound;
            }
            const PxReal mass = rb ? rb->mass : 0.0f;
            btRigidBody::btRigidBodyConstructionInfo info(mass, nullptr, shape,
                                                          rb ? toBt(rb->inertia) : btVector3(0, 0, 0));
            info.m_startWorldTransform = toBt(actor->pose);
            if (!actor->shapes.empty()) {
                info.m_friction = actor->shapes[0]->material->getDynamicFriction();
                info.m_restitution = actor->shapes[0]->material->getRestitution();
            }
            auto* body = new btRigidBody(info);
            body->setUserPointer(actor);
            // The original integrates no gyroscopic torque.
            body->setFlags(body->getFlags() & ~BT_ENABLE_GYROSCOPIC_FORCE_IMPLICIT_BODY);
            if (rb) {
                body->setSleepingThresholds(sleepLinearSpeed, sleepAngularSpeed(rb->mass, rb->inertia));
                body->setLinearVelocity(toBt(rb->linearVelocity));
                body->setAngularVelocity(toBt(rb->angularVelocity));
                static_cast<PxRigidDynamic*>(rb)->sleeping = false;
                rb->massChanged = false;
            }
            actor->body = body;
            actor->bodyOutdated = false;
            actor->poseWritten = false;
            world->addBody(*body);
        }
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
            body->setSleepingThresholds(sleepLinearSpeed, sleepAngularSpeed(rb->mass, rb->inertia));
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
            rb->wakeRequested = false;
        }
    }
}

// One onContact per pair of actors, holding every shape pair of theirs that began to touch.
void PxScene::deliverContacts() {
    if (!eventCallback)
        return;
    struct Group {
        PxRigidActor* actors[2];
        std::vector<PxContactPair> pairs;
    };
    std::vector<Group> groups;
    for (const detail::BulletWorld::Touch& t : world->newTouches()) {
        if (!t.flags.isSet(PxPairFlag::eNOTIFY_TOUCH_FOUND))
            continue;
        // Dynamic before static; of two dynamic actors the later-added first.
        int first = 0;
        const bool dyn0 = isDynamic(*t.actors[0]), dyn1 = isDynamic(*t.actors[1]);
        if ((dyn1 && !dyn0) || (dyn0 == dyn1 && t.actors[1]->insertionId > t.actors[0]->insertionId))
            first = 1;
        PxContactPair pair;
        pair.shapes[0] = t.shapes[first];
        pair.shapes[1] = t.shapes[1 - first];
        pair.contactCount = t.points;
        pair.events = PxPairFlag::eNOTIFY_TOUCH_FOUND;
        auto group = std::find_if(groups.begin(), groups.end(), [&](const Group& g) {
            return g.actors[0] == t.actors[first] && g.actors[1] == t.actors[1 - first];
        });
        if (group == groups.end())
            group = groups.insert(groups.end(), Group{{t.actors[first], t.actors[1 - first]}, {}});
        group->pairs.push_back(pair);
    }
    for (const Group& g : groups) {
        PxContactPairHeader header;
        header.actors[0] = g.actors[0];
        header.actors[1] = g.actors[1];
        header.pairs = g.pairs.data();
        header.nbPairs = static_cast<PxU32>(g.pairs.size());
        eventCallback->onContact(header, g.pairs.data(), header.nbPairs);
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
