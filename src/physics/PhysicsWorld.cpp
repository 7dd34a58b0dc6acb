#include "physics/PhysicsWorld.h"

#include "physics/CustomPhysXCallbackHandler.h"
#include "physics/Level.h"

#include <cassert>
#include <cstring>
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

// The fields that keep a piece's actor, by piece name; the fences are kept by none.
const std::pair<const char*, PxRigidDynamic * PhysicsWorld::*> BodyFields[] = {
    {"player", &PhysicsWorld::player},
    {"star", &PhysicsWorld::star},
    {"enemy1", &PhysicsWorld::enemy1},
    {"enemy2", &PhysicsWorld::enemy2}};
const std::pair<const char*, PxRigidStatic * PhysicsWorld::*> StaticFields[] = {
    {"ground", &PhysicsWorld::ground}, {"goal", &PhysicsWorld::goal},   {"bridge", &PhysicsWorld::bridge},
    {"wall1", &PhysicsWorld::wall1},   {"wall2", &PhysicsWorld::wall2}, {"wall3", &PhysicsWorld::wall3}};

PxShape* createShape(PxPhysics& physics, const LevelPiece& piece, const PxMaterial& material) {
    const glm::vec3& h = piece.halfExtents;
    PxShape* shape = nullptr;
    if (piece.shape == CollisionShape::Sphere)
        shape = physics.createShape(PxSphereGeometry(h.x), material, piece.exclusive, levelShapeFlags);
    else if (piece.shape == CollisionShape::Capsule)
        shape = physics.createShape(PxCapsuleGeometry(h.x, h.y), material, piece.exclusive, levelShapeFlags);
    else
        shape = physics.createShape(PxBoxGeometry(h.x, h.y, h.z), material, piece.exclusive, levelShapeFlags);
    shape->setName(piece.shapeName);
    return shape;
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

    // The level's pieces in table order. Each: shape made (unless it shares the one before) and named,
    // actor named, shape attached, mass from density for bodies, actor added; the creator's reference
    // to a shape is dropped once every piece that uses it holds it.
    const std::vector<LevelPiece>& pieces = levelPieces();
    PxShape* shape = nullptr;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const LevelPiece& piece = pieces[i];
        PxMaterial& material = piece.material == PieceMaterial::Ground ? *groundMaterial : *objectMaterial;
        if (piece.shape == CollisionShape::Plane) {
            PxRigidStatic* plane = PxCreatePlane(*physics, PxPlane(0, 1, 0, 0), material);
            if (!plane) {
                say("PhysX failed to init gournd plane");
                continue;
            }
            plane->setName(piece.name);
            scene->addActor(*plane);
            keep(piece, *plane);
            continue;
        }
        // The ground's entry only places its drawing: the plane needs none.
        const glm::vec3& position = piece.entry < 0 ? piece.fixedAt : entry(levelPositions, piece.entry);
        if (!shape)
            shape = createShape(*physics, piece, material);
        PxRigidActor* actor = nullptr;
        if (piece.density > 0.0f) {
            PxRigidDynamic* body = physics->createRigidDynamic(at(position));
            body->setName(piece.name);
            body->attachShape(*shape);
            PxRigidBodyExt::updateMassAndInertia(*body, piece.density);
            actor = body;
        } else {
            actor = physics->createRigidStatic(at(position));
            actor->setName(piece.name);
            actor->attachShape(*shape);
        }
        scene->addActor(*actor);
        keep(piece, *actor);
        const bool sharedWithNext = !piece.exclusive && i + 1 < pieces.size() &&
                                    std::strcmp(pieces[i + 1].shapeName, piece.shapeName) == 0;
        if (!sharedWithNext) {
            shape->release();
            shape = nullptr;
        }
    }
}

void PhysicsWorld::keep(const LevelPiece& piece, PxRigidActor& actor) {
    for (const auto& [name, field] : BodyFields)
        if (std::strcmp(name, piece.name) == 0)
            this->*field = actor.is<PxRigidDynamic>();
    for (const auto& [name, field] : StaticFields)
        if (std::strcmp(name, piece.name) == 0)
            this->*field = actor.is<PxRigidStatic>();
}

PxRigidActor* PhysicsWorld::actorOf(const char* pieceName) const {
    for (const auto& [name, field] : BodyFields)
        if (std::strcmp(name, pieceName) == 0)
            return this->*field;
    for (const auto& [name, field] : StaticFields)
        if (std::strcmp(name, pieceName) == 0)
            return this->*field;
    return nullptr;
}
