// The layer's stepping against closed-form results for gravity 6.81 and steps of 1/60 s.
#include "PxTestScene.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace physx;

namespace {

const float pi = 3.14159265f;

} // namespace

TEST(PxSimulation, FreeFallIsSemiImplicitEulerOneStepPerSimulate) {
    PxTestScene world;
    PxRigidDynamic* ball = world.addBody("ball", PxSphereGeometry(0.5f), PxVec3(0, 100, 0));
    world.simulate(60);
    // v_n = n g dt and y drops by v_n dt every step: g dt^2 (1 + ... + 60) = 3.4618.
    const float expectedDrop = g * dt * dt * (60.0f * 61.0f / 2.0f);
    EXPECT_NEAR(100.0f - ball->getGlobalPose().p.y, expectedDrop, 1e-3f);
    EXPECT_NEAR(ball->getLinearVelocity().y, -g, 1e-4f);
    // No linear damping and nothing sideways.
    EXPECT_EQ(ball->getGlobalPose().p.x, 0.0f);
}

TEST(PxSimulation, MassesFollowDensityAndVolume) {
    PxTestScene world(PxVec3(0));
    PxRigidDynamic* player = world.addBody("player", PxSphereGeometry(1.1f), PxVec3(0, 5, 0), 120.0f);
    PxRigidDynamic* star = world.addBody("star", PxSphereGeometry(2.0f), PxVec3(10, 5, 0), 20.0f);
    PxRigidDynamic* box = world.addBody("box", PxBoxGeometry(5, 6, 1), PxVec3(20, 5, 0), 12.0f);
    EXPECT_NEAR(player->getMass(), 669.03f, 0.05f);
    EXPECT_NEAR(star->getMass(), 670.21f, 0.05f);
    EXPECT_NEAR(box->getMass(), 2880.0f, 0.01f);
    EXPECT_NEAR(player->getMassSpaceInertiaTensor().y, 0.4f * 669.03f * 1.21f, 0.1f);
    EXPECT_NEAR(box->getMassSpaceInertiaTensor().z, 2880.0f / 3.0f * (25 + 36), 0.5f);

    // A capsule's axis is x: a cylinder of length 2h plus a sphere.
    PxRigidDynamic* capsule = world.addBody("capsule", PxCapsuleGeometry(0.5f, 1.0f), PxVec3(30, 5, 0), 1.0f);
    EXPECT_NEAR(capsule->getMass(), pi * 0.25f * 2.0f + 4.0f / 3.0f * pi * 0.125f, 1e-4f);
    EXPECT_LT(capsule->getMassSpaceInertiaTensor().x, capsule->getMassSpaceInertiaTensor().y);

    // Without a simulation shape: the defaults and false.
    PxRigidDynamic* bare = world.physics->createRigidDynamic(PxTransform(PxIdentity));
    EXPECT_FALSE(PxRigidBodyExt::updateMassAndInertia(*bare, 10.0f));
    EXPECT_EQ(bare->getMass(), 1.0f);
    EXPECT_EQ(bare->getMassSpaceInertiaTensor(), PxVec3(1.0f));
}

TEST(PxSimulation, SlidingBoxStopsAfterTheFrictionDistance) {
    PxTestScene world;
    world.addGround();
    PxRigidDynamic* box = world.addBody("box", PxBoxGeometry(0.5f, 0.5f, 0.5f), PxVec3(0, 0.5f, 0), 100.0f);
    box->setLinearVelocity(PxVec3(5, 0, 0));
    int steps = 0;
    while (steps < 600 && (steps < 2 || box->getLinearVelocity().magnitude() > 1e-3f)) {
        world.simulate();
        ++steps;
    }
    // Friction averages to 0.5, so the box decelerates at 0.5 g: 5^2 / (2 * 0.5 * 6.81) = 3.671.
    const float expected = 25.0f / (2.0f * 0.5f * g);
    const float slid = box->getGlobalPose().p.x;
    EXPECT_NEAR(slid, expected, 0.03f * expected);
    EXPECT_NEAR(box->getGlobalPose().p.y, 0.5f, 0.01f);
}

TEST(PxSimulation, ForceActsForOneStepWithTheMassAtTheCall) {
    PxTestScene world(PxVec3(0));
    PxRigidDynamic* body = world.addBody("body", PxSphereGeometry(1.0f), PxVec3(0), 3.0f);
    const float mass = body->getMass();
    body->addForce(PxVec3(120, 0, 0), PxForceMode::eFORCE, true);
    // A later change of mass does not change a force already given.
    PxRigidBodyExt::updateMassAndInertia(*body, 6.0f);
    world.simulate();
    EXPECT_NEAR(body->getLinearVelocity().x, 120.0f / mass * dt, 1e-5f);
    EXPECT_NEAR(body->getGlobalPose().p.x, 120.0f / mass * dt * dt, 1e-6f);
    world.simulate();
    EXPECT_NEAR(body->getLinearVelocity().x, 120.0f / mass * dt, 1e-5f);

    // Acceleration ignores mass; a velocity change applies in full at once.
    body->addForce(PxVec3(0, 6, 0), PxForceMode::eACCELERATION);
    body->addForce(PxVec3(0, 0, 2), PxForceMode::eVELOCITY_CHANGE);
    world.simulate();
    EXPECT_NEAR(body->getLinearVelocity().y, 6 * dt, 1e-5f);
    EXPECT_NEAR(body->getLinearVelocity().z, 2.0f, 1e-5f);
}

TEST(PxSimulation, DampingAndVelocityLimits) {
    PxTestScene world(PxVec3(0));
    PxRigidDynamic* spinner = world.addBody("spinner", PxSphereGeometry(1.0f), PxVec3(0), 1.0f);
    spinner->setAngularVelocity(PxVec3(0, 10, 0));
    spinner->setLinearVelocity(PxVec3(3, 0, 0));
    world.simulate(60);
    // Angular damping 0.05 as (1 - c dt) per step; linear damping 0.
    EXPECT_NEAR(spinner->getAngularVelocity().y, 10.0f * std::pow(1.0f - 0.05f * dt, 60.0f), 1e-4f);
    EXPECT_EQ(spinner->getLinearVelocity().x, 3.0f);

    // A force held for five seconds, enough for 200 m/s, stops at the limit.
    spinner->setMaxLinearVelocity(10.0f);
    float fastest = 0;
    for (int i = 0; i < 300; ++i) {
        spinner->addForce(PxVec3(0, 0, 40.0f * spinner->getMass()));
        world.simulate();
        fastest = std::max(fastest, spinner->getLinearVelocity().magnitude());
    }
    EXPECT_LE(fastest, 10.0f + 1e-4f);
    EXPECT_GT(fastest, 9.99f);
}

TEST(PxSimulation, BouncesOnlyAboveTwoMetresPerSecond) {
    PxTestScene world;
    world.addGround();
    // From 2 m up the ball hits at 5.2 m/s and comes back with a tenth of it.
    PxRigidDynamic* high = world.addBody("high", PxSphereGeometry(0.5f), PxVec3(0, 2.5f, 0));
    // From 0.2 m it hits at 1.65 m/s, below the threshold: it stays down.
    PxRigidDynamic* low = world.addBody("low", PxSphereGeometry(0.5f), PxVec3(5, 0.7f, 0));
    float impact = 0, rebound = 0, highestLowAfterLanding = 0;
    bool lowLanded = false;
    for (int i = 0; i < 120; ++i) {
        const float before = high->getLinearVelocity().y;
        world.simulate();
        const float after = high->getLinearVelocity().y;
        if (before < 0 && after > 0 && impact == 0) {
            impact = -before;
            rebound = after;
        }
        const float y = low->getGlobalPose().p.y;
        if (y < 0.51f)
            lowLanded = true;
        if (lowLanded)
            highestLowAfterLanding = std::max(highestLowAfterLanding, y);
    }
    EXPECT_NEAR(rebound / impact, 0.1f, 0.01f);
    EXPECT_LT(highestLowAfterLanding, 0.5f + 0.002f); // no hop
}
