#include "physics/PhysicsWorld.h"

#include "physics/CustomPhysXCallbackHandler.h"

#include <cassert>
#include <iostream>
#include <stdexcept>

using namespace physx;

namespace {

const PxVec3 gravity(0.0f, -6.81f, 0.0f);
const PxU32 workerThreads = 2;
const char* const debuggerHost = "127.0.0.1";
const int debuggerPort = 5425;
const unsigned int debuggerTimeoutMs = 10;
// Every level material: static friction, dynamic friction, restitution.
const PxReal friction = 0.5f, restitution = 0.1f;
const PxReal playerDensity = 120.0f, starDensity = 20.0f, enemyDensity = 12.0f;

const PxShapeFlags levelShapeFlags =
    PxShapeFlag::eVISUALIZATION | PxShapeFlag::eSCENE_QUERY_SHAPE | PxShapeFlag::eSIMULATION_SHAPE;

void say(const char* line) {
    std::cout << line << std::endl;
}

// Checked like a bounds-tested container lookup, with the message the game reports for a short list.
const glm::vec3& entry(const std::vector<glm::vec3>& positions, size_t index) {
    if (index >= positions.size())
        throw std::out_of_range("invalid vector subscript");
    return positions[index];
}

PxTransform at(const glm::vec3& p) {
    return PxTransform(PxVec3(p.x, p.y, p.z));
}

PhysicsWorld*& instance() {
    static PhysicsWorld* world = nullptr;
    return world;
}

} // namespace

PxFilterFlags contactReportFilterShader(PxFilterObjectAttributes, PxFilterData, PxFilterObjectAttributes,
                                        PxFilterData, PxPairFlags& pairFlags, const void*, PxU32) {
    pairFlags =
        PxPairFlag::eSOLVE_CONTACT | PxPairFlag::eDETECT_DISCRETE_CONTACT | PxPairFlag::eNOTIFY_TOUCH_FOUND;
    return PxFilterFlag::eDEFAULT;
}

PhysicsWorld* PhysicsWorld::getInstance(std::vector<glm::vec3> levelPositions) {
    if (!instance()) {
        // Built aside and stored only once complete. The game's world is never destroyed.
        auto world = std::make_unique<PhysicsWorld>();
        world->build(std::move(levelPositions));
        instance() = world.release();
    }
    return instance();
}

PhysicsWorld::~PhysicsWorld() {
    // Reverse order of creation: scene before physics, debugger connection after it, foundation last.
    if (scene)
        scene->release();
    if (dispatcher)
        dispatcher->release();
    if (physics)
        physics->release();
    if (pvd)
        pvd->release();
    if (transport)
        transport->release();
    if (foundation)
        foundation->release();
}

void PhysicsWorld::build(std::vector<glm::vec3> levelPositions) {
    assert(!foundation && "a world is built once");
    foundation = PxCreateFoundation(PX_PHYSICS_VERSION, allocator, errorCallback);
    if (!foundation) {
        say("PhysX failed to init foundation");
        return;
    }

    // A visual debugger may be listening; nobody answering is normal and not reported.
    pvd = PxCreatePvd(*foundation);
    transport = PxDefaultPvdSocketTransportCreate(debuggerHost, debuggerPort, debuggerTimeoutMs);
    if (pvd && transport)
        pvd->connect(*transport, PxPvdInstrumentationFlag::eALL);

    physics = PxCreateBasePhysics(PX_PHYSICS_VERSION, *foundation, PxTolerancesScale(), true, pvd);
    if (!physics) {
        say("PhysX failed to init physics");
        return;
    }
    PxRegisterArticulations(*physics);
    PxRegisterArticulationsReducedCoordinate(*physics);
    PxRegisterHeightFields(*physics);

    PxSceneDesc sceneDesc(physics->getTolerancesScale());
    sceneDesc.gravity = gravity;
    dispatcher = PxDefaultCpuDispatcherCreate(workerThreads);
    if (!dispatcher)
        say("PhysX failed to init CPU dispatcher");
    sceneDesc.cpuDispatcher = dispatcher;
    sceneDesc.filterShader = contactReportFilterShader;
    contactRules.reset(new CustomPhysXCallbackHandler());
    sceneDesc.simulationEventCallback = contactRules.get();

    scene = physics->createScene(sceneDesc);
    if (!scene) {
        say("PhysX failed to init scene");
        return;
    }
    if (PxPvdSceneClient* client = scene->getScenePvdClient()) {
        client->setScenePvdFlag(PxPvdSceneFlag::eTRANSMIT_CONSTRAINTS, true);
        client->setScenePvdFlag(PxPvdSceneFlag::eTRANSMIT_CONTACTS, true);
        client->setScenePvdFlag(PxPvdSceneFlag::eTRANSMIT_SCENEQUERIES, true);
    }

    objectMaterial = physics->createMaterial(friction, friction, restitution);
    if (!objectMaterial)
        say("PhysX failed to init material");
    groundMaterial = physics->createMaterial(friction, friction, restitution);
    if (!groundMaterial)
        say("PhysX failed to init material");
    if (!objectMaterial || !groundMaterial)
        return;

    ground = PxCreatePlane(*physics, PxPlane(0, 1, 0, 0), *groundMaterial);
    if (!ground) {
        say("PhysX failed to init gournd plane");
    } else {
        ground->setName("ground");
        scene->addActor(*ground);
    }

    // Each level actor: shape made (unless shared) and named, actor named, shape attached, mass from density
    // for bodies, actor added; the creator's reference to a shape is dropped once every user holds it.
    const auto makeShape = [&](const PxGeometry& geometry, PxMaterial& material, bool exclusive,
                               const char* name) {
        PxShape* shape = physics->createShape(geometry, material, exclusive, levelShapeFlags);
        shape->setName(name);
        return shape;
    };
    const auto addDynamic = [&](const char* name, const glm::vec3& position, PxShape* shape, PxReal density) {
        PxRigidDynamic* body = physics->createRigidDynamic(at(position));
        body->setName(name);
        body->attachShape(*shape);
        PxRigidBodyExt::updateMassAndInertia(*body, density);
        scene->addActor(*body);
        return body;
    };
    const auto addStatic = [&](const char* name, const glm::vec3& position, PxShape* shape) {
        PxRigidStatic* actor = physics->createRigidStatic(at(position));
        actor->setName(name);
        actor->attachShape(*shape);
        scene->addActor(*actor);
        return actor;
    };

    const glm::vec3& playerAt = entry(levelPositions, 0);
    PxShape* playerShape = makeShape(PxSphereGeometry(1.1f), *groundMaterial, true, "player");
    player = addDynamic("player", playerAt, playerShape, playerDensity);
    playerShape->release();

    const glm::vec3& starAt = entry(levelPositions, 1);
    PxShape* starShape = makeShape(PxSphereGeometry(2.0f), *objectMaterial, true, "star");
    star = addDynamic("star", starAt, starShape, starDensity);
    starShape->release();

    const glm::vec3& goalAt = entry(levelPositions, 4);
    PxShape* goalShape = makeShape(PxBoxGeometry(25.0f, 5.0f, 2.5f), *objectMaterial, true, "goal");
    goal = addStatic("goal", goalAt, goalShape);
    goalShape->release();

    // Both enemies share one shape; it stays named "enemy", which is what the rules look for.
    PxShape* enemyShape = makeShape(PxBoxGeometry(5.0f, 6.0f, 1.0f), *objectMaterial, false, "enemy");
    enemy1 = addDynamic("enemy1", entry(levelPositions, 2), enemyShape, enemyDensity);
    enemy2 = addDynamic("enemy2", entry(levelPositions, 3), enemyShape, enemyDensity);
    enemyShape->release();

    const glm::vec3& bridgeAt = entry(levelPositions, 5);
    PxShape* bridgeShape = makeShape(PxCapsuleGeometry(15.0f, 100.5f), *objectMaterial, true, "bridge");
    bridge = addStatic("bridge", bridgeAt, bridgeShape);
    bridgeShape->release();

    const glm::vec3& wall1At = entry(levelPositions, 6);
    PxShape* wall1Shape = makeShape(PxBoxGeometry(30.0f, 5.0f, 2.5f), *objectMaterial, true, "wall1");
    wall1 = addStatic("wall1", wall1At, wall1Shape);
    const glm::vec3& wall2At = entry(levelPositions, 7);
    PxShape* wall2Shape = makeShape(PxBoxGeometry(20.0f, 5.0f, 2.5f), *objectMaterial, true, "wall2");
    wall2 = addStatic("wall2", wall2At, wall2Shape);
    const glm::vec3& wall3At = entry(levelPositions, 8);
    PxShape* wall3Shape = makeShape(PxBoxGeometry(30.0f, 5.0f, 2.5f), *objectMaterial, true, "wall3");
    wall3 = addStatic("wall3", wall3At, wall3Shape);
    wall1Shape->release();
    wall2Shape->release();
    wall3Shape->release();

    // The fences close the level; their inner faces lie at x = -74 and 74, z = 39 and -150.
    struct Fence {
        const char* name;
        glm::vec3 position;
        PxVec3 halfExtents;
    };
    const Fence fences[] = {{"fence_a", {0.0f, 0.0f, 40.0f}, PxVec3(75.0f, 15.0f, 1.0f)},
                            {"fence_b", {-75.0f, 0.0f, -60.0f}, PxVec3(1.0f, 15.0f, 100.0f)},
                            {"fence_c", {0.0f, 0.0f, -151.0f}, PxVec3(75.0f, 15.0f, 1.0f)},
                            {"fence_d", {75.0f, 0.0f, -60.0f}, PxVec3(1.0f, 15.0f, 100.0f)}};
    for (const Fence& fence : fences) {
        PxShape* shape = makeShape(PxBoxGeometry(fence.halfExtents), *objectMaterial, false, fence.name);
        addStatic(fence.name, fence.position, shape);
        shape->release();
    }
}
