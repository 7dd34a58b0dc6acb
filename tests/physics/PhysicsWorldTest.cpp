// The level's world: what set-up builds, how it settles, and games won and lost inside a running scene.
#include "physics/PhysicsWorld.h"
#include "physics/GameRules.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace physx;

namespace {

// The game's list of level positions.
std::vector<glm::vec3> levelPositions() {
    return {{0, 2, 15},    {0, 2, -15},   {25, 6, -120}, {-25, 6, -120}, {0, 5, -150},
            {0, -12, -40}, {-45, 0, -75}, {0, 2, -40},   {45, 0, -75},   {0, -0.8f, 0}};
}

std::vector<std::string> actorNames(PxScene& scene) {
    std::vector<PxActor*> actors(
        scene.getNbActors(PxActorTypeFlag::eRIGID_STATIC | PxActorTypeFlag::eRIGID_DYNAMIC));
    scene.getActors(PxActorTypeFlag::eRIGID_STATIC | PxActorTypeFlag::eRIGID_DYNAMIC, actors.data(),
                    static_cast<PxU32>(actors.size()));
    std::vector<std::string> names;
    for (PxActor* a : actors)
        names.push_back(a->getName() ? a->getName() : "(null)");
    return names;
}

PxShape* onlyShape(const PxRigidActor& actor) {
    PxShape* shapes[2] = {nullptr, nullptr};
    return actor.getShapes(shapes, 2) == 1 ? shapes[0] : nullptr;
}

PxMaterial* materialOf(const PxRigidActor& actor) {
    PxMaterial* m = nullptr;
    onlyShape(actor)->getMaterials(&m, 1);
    return m;
}

void step(PhysicsWorld& world, int frames) {
    for (int i = 0; i < frames; ++i) {
        world.scene->simulate(1.0f / 60.0f, nullptr, nullptr, 0, true);
        world.scene->fetchResults(true);
    }
}

} // namespace

TEST(PhysicsWorld, BuildsTheLevelAsTheGameExpectsIt) {
    PhysicsWorld world;
    std::vector<glm::vec3> nine = levelPositions();
    nine.pop_back();
    world.build(nine);
    ASSERT_NE(world.scene, nullptr);
    EXPECT_EQ(
        actorNames(*world.scene),
        (std::vector<std::string>{"ground", "player", "star", "goal", "enemy1", "enemy2", "bridge", "wall1",
                                  "wall2", "wall3", "fence_a", "fence_b", "fence_c", "fence_d"}));
    EXPECT_EQ(world.scene->getNbActors(PxActorTypeFlag::eRIGID_DYNAMIC), 4u);
    EXPECT_EQ(world.scene->getGravity(), PxVec3(0, -6.81f, 0));

    // Fields hold the named actors, at their positions, upright.
    const std::pair<PxRigidActor*, const char*> fields[] = {
        {world.ground, "ground"}, {world.player, "player"}, {world.star, "star"},     {world.goal, "goal"},
        {world.enemy1, "enemy1"}, {world.enemy2, "enemy2"}, {world.bridge, "bridge"}, {world.wall1, "wall1"},
        {world.wall2, "wall2"},   {world.wall3, "wall3"}};
    for (const auto& f : fields) {
        ASSERT_NE(f.first, nullptr) << f.second;
        EXPECT_STREQ(f.first->getName(), f.second);
    }
    EXPECT_EQ(world.goal->getGlobalPose().p, PxVec3(0, 5, -150));
    EXPECT_EQ(world.bridge->getGlobalPose().p, PxVec3(0, -12, -40));
    EXPECT_EQ(world.wall3->getGlobalPose().p, PxVec3(45, 0, -75));
    EXPECT_EQ(world.enemy2->getGlobalPose().q, PxQuat(PxIdentity));

    // Shapes: names, sizes, the enemies' shared box, the ground plane as its factory makes it.
    EXPECT_STREQ(onlyShape(*world.player)->getName(), "player");
    PxSphereGeometry sphere;
    ASSERT_TRUE(onlyShape(*world.star)->getSphereGeometry(sphere));
    EXPECT_EQ(sphere.radius, 2.0f);
    PxCapsuleGeometry capsule;
    ASSERT_TRUE(onlyShape(*world.bridge)->getCapsuleGeometry(capsule));
    EXPECT_EQ(capsule.radius, 15.0f);
    EXPECT_EQ(capsule.halfHeight, 100.5f);
    PxShape* enemyShape = onlyShape(*world.enemy1);
    EXPECT_EQ(onlyShape(*world.enemy2), enemyShape);
    EXPECT_STREQ(enemyShape->getName(), "enemy");
    EXPECT_FALSE(enemyShape->isExclusive());
    EXPECT_EQ(enemyShape->getReferenceCount(), 2u); // the creator's reference is gone
    EXPECT_EQ(onlyShape(*world.wall2)->getReferenceCount(), 1u);
    PxBoxGeometry box;
    ASSERT_TRUE(onlyShape(*world.wall2)->getBoxGeometry(box));
    EXPECT_EQ(box.halfExtents, PxVec3(20, 5, 2.5f));
    EXPECT_EQ(onlyShape(*world.goal)->getFlags(),
              PxShapeFlag::eVISUALIZATION | PxShapeFlag::eSCENE_QUERY_SHAPE | PxShapeFlag::eSIMULATION_SHAPE);
    PxShape* plane = onlyShape(*world.ground);
    EXPECT_EQ(plane->getGeometryType(), PxGeometryType::ePLANE);
    EXPECT_EQ(plane->getName(), nullptr);

    // Materials: the ground's for ground and player, the other for the rest; both 0.5/0.5/0.1.
    EXPECT_NE(world.groundMaterial, world.objectMaterial);
    EXPECT_EQ(materialOf(*world.ground), world.groundMaterial);
    EXPECT_EQ(materialOf(*world.player), world.groundMaterial);
    EXPECT_EQ(materialOf(*world.star), world.objectMaterial);
    EXPECT_EQ(materialOf(*world.enemy1), world.objectMaterial);
    EXPECT_EQ(world.groundMaterial->getStaticFriction(), 0.5f);
    EXPECT_EQ(world.objectMaterial->getDynamicFriction(), 0.5f);
    EXPECT_EQ(world.objectMaterial->getRestitution(), 0.1f);

    // Masses from the densities.
    EXPECT_NEAR(world.player->getMass(), 669.0f, 0.1f);
    EXPECT_NEAR(world.star->getMass(), 670.2f, 0.1f);
    EXPECT_NEAR(world.enemy1->getMass(), 2880.0f, 0.01f);
    EXPECT_EQ(world.enemy2->getMass(), world.enemy1->getMass());

    // The fences' inner faces close the level at x = -74 and 74, z = 39 and -150.
    std::vector<PxActor*> all(14);
    world.scene->getActors(PxActorTypeFlag::eRIGID_STATIC, all.data(), 14);
    std::vector<float> faces;
    for (PxActor* a : all) {
        auto* fence = a ? a->is<PxRigidStatic>() : nullptr;
        if (!fence || std::strncmp(fence->getName(), "fence_", 6) != 0)
            continue;
        onlyShape(*fence)->getBoxGeometry(box);
        const PxVec3 p = fence->getGlobalPose().p;
        faces.push_back(box.halfExtents.x < box.halfExtents.z ? p.x - (p.x > 0 ? 1 : -1) * box.halfExtents.x
                                                              : p.z - (p.z > 0 ? 1 : -1) * box.halfExtents.z);
    }
    EXPECT_EQ(faces, (std::vector<float>{39, -74, -150, 74}));

    // The debugger client gets all three flags.
    EXPECT_EQ(world.scene->getScenePvdClient()->getScenePvdFlags(),
              PxPvdSceneFlag::eTRANSMIT_CONSTRAINTS | PxPvdSceneFlag::eTRANSMIT_CONTACTS |
                  PxPvdSceneFlag::eTRANSMIT_SCENEQUERIES);
}

TEST(PhysicsWorld, GroundPlaneIsPosedAsItsFactoryDoes) {
    PhysicsWorld world;
    world.build(levelPositions());
    const PxTransform pose = PxShapeExt::getGlobalPose(*onlyShape(*world.ground), *world.ground);
    EXPECT_NEAR(pose.q.z, 0.70710678f, 1e-6f);
    EXPECT_NEAR(pose.q.w, 0.70710678f, 1e-6f);
    EXPECT_EQ(pose.p, PxVec3(0));
    // As a matrix: the plane's local x (its normal) points up the world's y.
    const PxMat44 m(pose);
    EXPECT_NEAR(m.column0.y, 1.0f, 1e-6f);
    EXPECT_NEAR(m.column1.x, -1.0f, 1e-6f);
    EXPECT_NEAR(m.front()[1], 1.0f, 1e-6f);
    EXPECT_EQ(m.front()[15], 1.0f);
    // A normal that is not of unit length makes no plane.
    EXPECT_EQ(PxCreatePlane(*world.physics, PxPlane(0, 2, 0, 0), *world.groundMaterial), nullptr);
}

TEST(PhysicsWorld, GetInstanceBuildsOnceAndIgnoresLaterLists) {
    PhysicsWorld* first = PhysicsWorld::getInstance(levelPositions());
    ASSERT_NE(first, nullptr);
    std::vector<glm::vec3> other = levelPositions();
    other[0] = glm::vec3(10, 20, 30);
    EXPECT_EQ(PhysicsWorld::getInstance(other), first);
    EXPECT_EQ(PhysicsWorld::getInstance({}), first);
    // Built from the first list (other tests may have stepped the shared world since).
    EXPECT_NEAR(first->player->getGlobalPose().p.z, 15.0f, 0.5f);
    EXPECT_EQ(first->scene->getNbActors(PxActorTypeFlag::eRIGID_DYNAMIC), 4u);
}

TEST(PhysicsWorld, ShortListStopsAtTheGoalWithTheEarlierActorsInTheScene) {
    PhysicsWorld world;
    std::vector<glm::vec3> four = levelPositions();
    four.resize(4);
    try {
        world.build(four);
        FAIL() << "no exception";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "invalid vector subscript");
    }
    EXPECT_EQ(actorNames(*world.scene), (std::vector<std::string>{"ground", "player", "star"}));
    EXPECT_EQ(world.goal, nullptr);
}

TEST(PhysicsWorld, SetUpIsSilentAndQuickWithNoDebuggerListening) {
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::string> printed;
    {
        CoutCapture out;
        PhysicsWorld world;
        world.build(levelPositions());
        printed = out.lines();
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::cout << "world set-up and release took " << ms << " ms\n";
    EXPECT_TRUE(printed.empty());
    EXPECT_LT(ms, 100.0);
}

TEST(PhysicsWorld, EverythingComesToRestOnTheGround) {
    PhysicsWorld world;
    world.build(levelPositions());
    float lowest = 100;
    const PxRigidDynamic* bodies[] = {world.player, world.star, world.enemy1, world.enemy2};
    const float halfHeights[] = {1.1f, 2.0f, 6.0f, 6.0f};
    for (int frame = 0; frame < 600; ++frame) {
        step(world, 1);
        for (int i = 0; i < 4; ++i)
            lowest = std::min(lowest, bodies[i]->getGlobalPose().p.y - halfHeights[i]);
    }
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(bodies[i]->getName());
        std::cout << bodies[i]->getName() << " rests at y " << bodies[i]->getGlobalPose().p.y
                  << (bodies[i]->isSleeping() ? " (asleep)" : " (awake)") << "\n";
        EXPECT_NEAR(bodies[i]->getGlobalPose().p.y, halfHeights[i], 0.01f);
        EXPECT_TRUE(bodies[i]->isSleeping());
    }
    EXPECT_NEAR(world.player->getGlobalPose().p.x, 0.0f, 0.01f);
    EXPECT_NEAR(world.player->getGlobalPose().p.z, 15.0f, 0.01f);
    EXPECT_GT(lowest, -0.02f);
    EXPECT_STREQ(world.star->getName(), "star");
}

TEST(PhysicsWorld, PushedPlayerNeverExceedsItsSpeedLimit) {
    PhysicsWorld world;
    world.build(levelPositions());
    world.player->setMaxLinearVelocity(10.0f);
    float fastest = 0;
    for (int frame = 0; frame < 300; ++frame) {
        // Far more than needed: the limit, not the force, sets the speed.
        world.player->addForce(PxVec3(0, 0, -20000.0f), PxForceMode::eFORCE, true);
        step(world, 1);
        fastest = std::max(fastest, world.player->getLinearVelocity().magnitude());
    }
    std::cout << "fastest player speed " << fastest << "\n";
    EXPECT_LE(fastest, 10.0f + 1e-3f);
    EXPECT_GT(fastest, 9.9f);
}

TEST(PhysicsWorld, StarRolledIntoTheGoalWinsAndIntoAnEnemyLoses) {
    {
        PhysicsWorld world;
        world.build(levelPositions());
        step(world, 60);
        world.star->setGlobalPose(PxTransform(PxVec3(0, 2, -135)));
        world.star->setLinearVelocity(PxVec3(0, 0, -8));
        CoutCapture out;
        int frame = 0;
        while (frame < 300 && !gamerules::gameIsOver(world.star)) {
            step(world, 1);
            ++frame;
        }
        step(world, 30); // the game has ended: nothing further happens
        EXPECT_EQ(out.lines(),
                  std::vector<std::string>{"oh wow seems like u r a good boi and saved all glorbits"});
        EXPECT_STREQ(world.star->getName(), "won");
        EXPECT_STREQ(world.goal->getName(), "won");
        // The star touched the goal's face: z = -147.5 plus its radius, within the contact distance.
        EXPECT_LT(frame, 300);
    }
    {
        PhysicsWorld world;
        world.build(levelPositions());
        step(world, 60);
        world.star->setGlobalPose(PxTransform(PxVec3(25, 2, -105)));
        world.star->setLinearVelocity(PxVec3(0, 0, -8));
        CoutCapture out;
        for (int frame = 0; frame < 300 && !gamerules::gameIsOver(world.star); ++frame)
            step(world, 1);
        EXPECT_EQ(out.lines(), std::vector<std::string>{"ups u got eaten"});
        EXPECT_STREQ(world.star->getName(), "lost");
        EXPECT_STREQ(world.enemy1->getName(), "lost");
        EXPECT_STREQ(world.enemy2->getName(), "enemy2");
        EXPECT_STREQ(world.goal->getName(), "goal");
    }
}

TEST(PhysicsWorld, PlayerRunningIntoWallsAndEnemiesDecidesNothing) {
    PhysicsWorld world;
    world.build(levelPositions());
    step(world, 60);
    CoutCapture out;
    // Into wall2 (front face at z = -37.5), then into enemy1, then into the goal.
    const PxVec3 starts[] = {PxVec3(0, 1.1f, -30), PxVec3(25, 1.1f, -110), PxVec3(0, 1.1f, -140)};
    for (const PxVec3& start : starts) {
        world.player->setGlobalPose(PxTransform(start));
        world.player->setLinearVelocity(PxVec3(0, 0, -10));
        step(world, 90);
    }
    EXPECT_TRUE(out.lines().empty());
    EXPECT_STREQ(world.player->getName(), "player");
    EXPECT_STREQ(world.enemy1->getName(), "enemy1");
    EXPECT_STREQ(world.goal->getName(), "goal");
    EXPECT_STREQ(world.wall2->getName(), "wall2");
}

TEST(PhysicsWorld, FilterShaderAsksEveryPairToCollideAndReportItsTouch) {
    const PxFilterObjectAttributes kinds[] = {PxFilterObjectType::eRIGID_STATIC,
                                              PxFilterObjectType::eRIGID_DYNAMIC};
    for (PxFilterObjectAttributes a : kinds)
        for (PxFilterObjectAttributes b : kinds) {
            PxPairFlags flags;
            const PxFilterFlags verdict =
                contactReportFilterShader(a, PxFilterData(1, 2, 3, 4), b, PxFilterData(), flags, nullptr, 0);
            EXPECT_EQ(static_cast<PxU16>(flags), 0x405);
            EXPECT_EQ(verdict, PxFilterFlag::eDEFAULT);
        }
}
