// Touch-found reports: when they come, how often, in which order and on which thread.
#include "PxTestScene.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

using namespace physx;

TEST(PxContactReport, LandingSphereReportsOnceDynamicFirstThenNothingWhileResting) {
    PxTestScene world;
    PxRigidStatic* ground = world.addGround();
    // The player's sphere at the player's start: it falls 0.9 m.
    PxRigidDynamic* ball = world.addBody("player", PxSphereGeometry(1.1f), PxVec3(0, 2, 15), 120.0f);
    bool landed = false;
    for (int i = 0; i < 300; ++i) {
        const float gapAtStart = ball->getGlobalPose().p.y - 1.1f;
        const size_t before = world.reports.size();
        world.simulate();
        if (world.reports.size() > before && !landed) {
            landed = true;
            // Reported in the first step that starts within the contact distance of 0.04 ...
            EXPECT_LE(gapAtStart, 0.04f);
            // ... and the step before did not.
            EXPECT_GT(gapAtStart + ball->getLinearVelocity().y * PxTestScene::step, -0.5f);
        }
    }
    ASSERT_EQ(world.reports.size(), 1u);
    const PxTestScene::Report& r = world.reports[0];
    EXPECT_EQ(r.actors[0], ball);
    EXPECT_EQ(r.actors[1], ground);
    ASSERT_EQ(r.pairs.size(), 1u);
    EXPECT_EQ(r.pairs[0].shapes[0]->getName(), std::string("player"));
    EXPECT_TRUE(r.pairs[0].events == PxPairFlag::eNOTIFY_TOUCH_FOUND); // found, nothing else
    EXPECT_EQ(r.thread, std::this_thread::get_id());
    EXPECT_NEAR(ball->getGlobalPose().p.y, 1.1f, 0.01f);
}

TEST(PxContactReport, RollingKeepsTheTouchOnlyASeparationStartsANewOne) {
    PxTestScene world;
    world.addGround();
    PxRigidDynamic* ball = world.addBody("ball", PxSphereGeometry(0.5f), PxVec3(0, 0.6f, 0));
    world.simulate(30);
    ASSERT_EQ(world.reports.size(), 1u);
    ball->setLinearVelocity(PxVec3(5, 0, 0));
    world.simulate(60);
    EXPECT_GT(ball->getGlobalPose().p.x, 3.0f);
    EXPECT_EQ(world.reports.size(), 1u);
    // Thrown up, it leaves the ground for about half a second and touches anew when it comes down.
    ball->setLinearVelocity(PxVec3(0, 3, 0));
    world.simulate(60);
    EXPECT_EQ(world.reports.size(), 2u);
}

TEST(PxContactReport, TouchBeginsWithinTheContactDistanceNotOnlyOnPenetration) {
    PxTestScene world(PxVec3(0));
    world.addGround();
    world.addBody("near", PxSphereGeometry(1.0f), PxVec3(0, 1.03f, 0));
    world.addBody("far", PxSphereGeometry(1.0f), PxVec3(5, 1.06f, 0));
    world.addBody("a", PxSphereGeometry(1.0f), PxVec3(10, 5, 0));
    world.addBody("b", PxSphereGeometry(1.0f), PxVec3(12.03f, 5, 0));
    world.addBody("box", PxBoxGeometry(1, 1, 1), PxVec3(20, 1.03f, 0));
    world.addBody("farbox", PxBoxGeometry(1, 1, 1), PxVec3(25, 1.06f, 0));
    world.addBody("c", PxBoxGeometry(1, 1, 1), PxVec3(30, 5, 0));
    world.addBody("d", PxBoxGeometry(1, 1, 1), PxVec3(32.03f, 5, 0));
    world.addBody("e", PxSphereGeometry(1.0f), PxVec3(40, 5, 0));
    world.addBody("f", PxBoxGeometry(1, 1, 1), PxVec3(42.03f, 5, 0));
    world.addBody("g", PxCapsuleGeometry(1, 1), PxVec3(50, 5, 0));
    world.addBody("h", PxBoxGeometry(1, 1, 1), PxVec3(50, 7.03f, 0));
    world.simulate(10);
    std::vector<std::string> names;
    for (const auto& r : world.reports)
        names.push_back(PxTestScene::pairName(r));
    std::sort(names.begin(), names.end());
    // The later-added of two dynamic actors comes first.
    EXPECT_EQ(names, (std::vector<std::string>{"b/a", "box/ground", "d/c", "f/e", "h/g", "near/ground"}));
}

TEST(PxContactReport, OneCallPerActorPairAndNamesWritableInside) {
    struct Renamer : PxTestScene {
        using PxTestScene::PxTestScene;
        void onContact(const PxContactPairHeader& h, const PxContactPair* p, PxU32 n) override {
            PxTestScene::onContact(h, p, n);
            // The second report of the same fetch must see this at once.
            h.actors[1]->setName("touched");
        }
    };
    Renamer world;
    PxRigidStatic* ground = world.addGround();
    // Two balls landing in the same step, and a box whose four bottom corners touch at once.
    world.addBody("a", PxSphereGeometry(0.5f), PxVec3(0, 0.52f, 0));
    world.addBody("b", PxSphereGeometry(0.5f), PxVec3(3, 0.52f, 0));
    world.addBody("box", PxBoxGeometry(0.5f, 0.5f, 0.5f), PxVec3(6, 0.52f, 0));
    world.simulate();
    ASSERT_EQ(world.reports.size(), 3u);
    EXPECT_EQ(world.reports[0].names[1], "ground");
    EXPECT_EQ(world.reports[1].names[1], "touched");
    EXPECT_STREQ(ground->getName(), "touched");
    for (const auto& r : world.reports)
        EXPECT_EQ(r.pairs.size(), 1u) << PxTestScene::pairName(r);
    const auto boxReport = std::find_if(world.reports.begin(), world.reports.end(),
                                        [](const PxTestScene::Report& r) { return r.names[0] == "box"; });
    ASSERT_NE(boxReport, world.reports.end());
    EXPECT_GE(boxReport->pairs[0].contactCount, 3);
}

namespace {
std::atomic<int> staticPairsSeen{0};
std::atomic<int> shaderCalls{0};
std::thread::id shaderThread;

PxFilterFlags countingShader(PxFilterObjectAttributes a0, PxFilterData, PxFilterObjectAttributes a1,
                             PxFilterData, PxPairFlags& flags, const void*, PxU32) {
    ++shaderCalls;
    shaderThread = std::this_thread::get_id();
    if (PxGetFilterObjectType(a0) == PxFilterObjectType::eRIGID_STATIC &&
        PxGetFilterObjectType(a1) == PxFilterObjectType::eRIGID_STATIC)
        ++staticPairsSeen;
    flags = PxPairFlag::eCONTACT_DEFAULT | PxPairFlag::eNOTIFY_TOUCH_FOUND;
    return PxFilterFlag::eDEFAULT;
}

} // namespace

TEST(PxContactReport, FilterShaderDecidesAndStaticPairsNeverReachIt) {
    {
        PxTestScene world(PxVec3(0, -6.81f, 0), countingShader);
        world.addGround();
        // Overlapping statics, touching the ground too.
        world.addStatic("wall1", PxBoxGeometry(2, 2, 2), PxVec3(0, 1, 0));
        world.addStatic("wall2", PxBoxGeometry(2, 2, 2), PxVec3(1, 1, 0));
        world.addBody("ball", PxSphereGeometry(0.5f), PxVec3(10, 0.5f, 0));
        world.simulate(5);
        EXPECT_EQ(staticPairsSeen.load(), 0);
        EXPECT_EQ(shaderCalls.load(), 1); // ball and ground, asked once
        EXPECT_EQ(shaderThread,
                  std::this_thread::get_id()); // the step runs inside fetchResults, on its caller
        ASSERT_EQ(world.reports.size(), 1u);
        EXPECT_EQ(PxTestScene::pairName(world.reports[0]), "ball/ground");
    }
}
