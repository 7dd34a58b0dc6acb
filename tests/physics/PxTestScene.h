#pragma once

#include "physics/px/PxPhysicsAPI.h"

#include <string>
#include <thread>
#include <vector>

// The level's gravity and the game's step, for closed-form results.
constexpr float g = 6.81f;
constexpr float dt = 1.0f / 60.0f;

// A scene of its own for one test: foundation, physics, a dispatcher (two threads unless told otherwise) and
// a scene with the given gravity and filter shader; every onContact is recorded. Released in reverse order on
// destruction.
class PxTestScene : public physx::PxSimulationEventCallback {
public:
    // One onContact call, copied out: actors and names in report order, each shape pair with its events.
    struct Report {
        physx::PxRigidActor* actors[2];
        std::string names[2];
        std::vector<physx::PxContactPair> pairs;
        std::thread::id thread;
    };

    static constexpr float step = dt;

    explicit PxTestScene(physx::PxVec3 gravity = physx::PxVec3(0.0f, -g, 0.0f),
                         physx::PxSimulationFilterShader shader = touchShader,
                         physx::PxU32 dispatcherThreads = 2) {
        using namespace physx;
        foundation = PxCreateFoundation(PX_PHYSICS_VERSION, allocator, errors);
        physics = PxCreatePhysics(PX_PHYSICS_VERSION, *foundation, PxTolerancesScale());
        dispatcher = PxDefaultCpuDispatcherCreate(dispatcherThreads);
        PxSceneDesc desc(physics->getTolerancesScale());
        desc.gravity = gravity;
        desc.cpuDispatcher = dispatcher;
        desc.filterShader = shader;
        desc.simulationEventCallback = this;
        scene = physics->createScene(desc);
        material = physics->createMaterial(0.5f, 0.5f, 0.1f);
    }
    ~PxTestScene() override {
        scene->release();
        dispatcher->release();
        physics->release();
        foundation->release();
    }
    PxTestScene(const PxTestScene&) = delete;
    PxTestScene& operator=(const PxTestScene&) = delete;

    // Every pair collides and reports its touches, like the game's shader.
    static physx::PxFilterFlags touchShader(physx::PxFilterObjectAttributes, physx::PxFilterData,
                                            physx::PxFilterObjectAttributes, physx::PxFilterData,
                                            physx::PxPairFlags& flags, const void*, physx::PxU32) {
        flags = physx::PxPairFlag::eCONTACT_DEFAULT | physx::PxPairFlag::eNOTIFY_TOUCH_FOUND;
        return physx::PxFilterFlag::eDEFAULT;
    }

    void simulate(int steps = 1) {
        for (int i = 0; i < steps; ++i) {
            scene->simulate(step);
            scene->fetchResults(true);
        }
    }

    physx::PxRigidStatic* addGround() {
        physx::PxRigidStatic* g = physx::PxCreatePlane(*physics, physx::PxPlane(0, 1, 0, 0), *material);
        g->setName("ground");
        scene->addActor(*g);
        return g;
    }
    physx::PxRigidDynamic* addBody(const char* name, const physx::PxGeometry& geometry,
                                   const physx::PxVec3& at, float density = 1.0f) {
        physx::PxRigidDynamic* body = physics->createRigidDynamic(physx::PxTransform(at));
        attach(*body, name, geometry);
        physx::PxRigidBodyExt::updateMassAndInertia(*body, density);
        scene->addActor(*body);
        return body;
    }
    physx::PxRigidStatic* addStatic(const char* name, const physx::PxGeometry& geometry,
                                    const physx::PxVec3& at) {
        physx::PxRigidStatic* actor = physics->createRigidStatic(physx::PxTransform(at));
        attach(*actor, name, geometry);
        scene->addActor(*actor);
        return actor;
    }

    // The name a report gives an actor pair, as "first/second".
    static std::string pairName(const Report& r) { return r.names[0] + "/" + r.names[1]; }

    void onContact(const physx::PxContactPairHeader& header, const physx::PxContactPair* pairs,
                   physx::PxU32 nbPairs) override {
        Report r;
        for (int i = 0; i < 2; ++i) {
            r.actors[i] = header.actors[i];
            r.names[i] = header.actors[i]->getName() ? header.actors[i]->getName() : "";
        }
        r.pairs.assign(pairs, pairs + nbPairs);
        r.thread = std::this_thread::get_id();
        reports.push_back(r);
    }
    void onConstraintBreak(physx::PxConstraintInfo*, physx::PxU32) override {}
    void onWake(physx::PxActor**, physx::PxU32) override {}
    void onSleep(physx::PxActor**, physx::PxU32) override {}
    void onTrigger(physx::PxTriggerPair*, physx::PxU32) override {}
    void onAdvance(const physx::PxRigidBody* const*, const physx::PxTransform*, const physx::PxU32) override {
    }

    physx::PxDefaultAllocator allocator;
    physx::PxDefaultErrorCallback errors;
    physx::PxFoundation* foundation = nullptr;
    physx::PxPhysics* physics = nullptr;
    physx::PxDefaultCpuDispatcher* dispatcher = nullptr;
    physx::PxScene* scene = nullptr;
    physx::PxMaterial* material = nullptr;
    std::vector<Report> reports;

private:
    void attach(physx::PxRigidActor& actor, const char* name, const physx::PxGeometry& geometry) {
        physx::PxShape* shape = physics->createShape(geometry, *material, true);
        shape->setName(name);
        actor.setName(name);
        actor.attachShape(*shape);
        shape->release();
    }
};
