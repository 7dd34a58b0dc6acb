#pragma once

#include "physics/CustomPhysXCallbackHandler.h"
#include "physics/px/PxPhysicsAPI.h"

#include <glm/glm.hpp>

#include <memory>
#include <vector>

class GameObject;
struct LevelPiece;

// The level's simulation: SDK objects, the scene with its contact rules, the materials and the named actors.
// The game uses one, made by getInstance and never destroyed. Tests may build more: a world made with
// build() on its own object releases its simulation objects when destroyed.
class PhysicsWorld {
  public:
    std::vector<GameObject*> objects; // non-owning; appended by the game, never read here
    physx::PxRigidStatic* ground = nullptr;
    physx::PxRigidDynamic* player = nullptr;
    physx::PxRigidDynamic* star = nullptr;
    physx::PxRigidStatic* goal = nullptr;
    physx::PxRigidDynamic* enemy1 = nullptr;
    physx::PxRigidDynamic* enemy2 = nullptr;
    physx::PxRigidStatic* bridge = nullptr;
    physx::PxRigidStatic* wall1 = nullptr;
    physx::PxRigidStatic* wall2 = nullptr;
    physx::PxRigidStatic* wall3 = nullptr;
    physx::PxDefaultAllocator allocator;
    physx::PxDefaultErrorCallback errorCallback;
    physx::PxFoundation* foundation = nullptr;
    physx::PxPhysics* physics = nullptr;
    physx::PxDefaultCpuDispatcher* dispatcher = nullptr;
    physx::PxScene* scene = nullptr;
    physx::PxMaterial* objectMaterial = nullptr; // every level shape but the ground's and the player's
    physx::PxMaterial* groundMaterial = nullptr; // ground plane and player
    physx::PxPvd* pvd = nullptr;

    // The game's world, built from levelPositions on the first call; later calls return it and ignore their
    // argument. Throws std::out_of_range ("invalid vector subscript") for fewer than nine positions, and
    // then stores nothing.
    static PhysicsWorld* getInstance(std::vector<glm::vec3> levelPositions);

    PhysicsWorld() = default;
    ~PhysicsWorld();
    PhysicsWorld(const PhysicsWorld&) = delete;
    PhysicsWorld& operator=(const PhysicsWorld&) = delete;

    // Builds everything in order, once per object; a failed step prints its line and the steps that need it
    // are skipped.
    // The pieces and the entries of levelPositions they stand at are the table of Level.h.
    // Throws std::out_of_range ("invalid vector subscript") at the first actor whose entry is missing,
    // with the actors before it already in the scene.
    void build(std::vector<glm::vec3> levelPositions);

    // The actor of the level piece of that name (see Level.h), as its field holds it; null for
    // the fences, which no field keeps.
    physx::PxRigidActor* actorOf(const char* pieceName) const;

private:
    void keep(const LevelPiece& piece, physx::PxRigidActor& actor);

    physx::PxPvdTransport* transport = nullptr;
    std::unique_ptr<CustomPhysXCallbackHandler> contactRules;
};

// The scene's filter shader: every pair collides and reports when it begins to touch.
physx::PxFilterFlags contactReportFilterShader(physx::PxFilterObjectAttributes attributes0,
                                               physx::PxFilterData filterData0,
                                               physx::PxFilterObjectAttributes attributes1,
                                               physx::PxFilterData filterData1, physx::PxPairFlags& pairFlags,
                                               const void* constantBlock, physx::PxU32 constantBlockSize);
