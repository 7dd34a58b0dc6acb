// When bodies fall asleep: the original's wake counter of 0.4 s, and the energy of the velocities summed over
// its last 0.2 s against 0.005 x (1 + touching pairs).
#include "PxTestScene.h"

#include <gtest/gtest.h>

using namespace physx;

namespace {

const float starRadius = 2.0f, starDensity = 20.0f;

// The star resting on the ground, rolling along x at `speed`.
PxRigidDynamic* rollingStar(PxTestScene& world, float speed) {
    world.addGround();
    PxRigidDynamic* star =
        world.addBody("star", PxSphereGeometry(starRadius), PxVec3(0, starRadius, 0), starDensity);
    star->setLinearVelocity(PxVec3(speed, 0, 0));
    star->setAngularVelocity(PxVec3(0, 0, -speed / starRadius));
    return star;
}

// Steps until the body sleeps; -1 if it is still awake after a second.
int stepsUntilAsleep(PxTestScene& world, const PxRigidDynamic& body) {
    for (int i = 1; i <= 60; ++i) {
        world.simulate();
        if (body.isSleeping())
            return i;
    }
    return -1;
}

} // namespace

TEST(PxSleep, RollingSleepsBelowAboutOneCentimetrePerSecond) {
    // Rolling at v, the energy per unit mass of k summed steps is (1 + 2/5) k^2 v^2 / 2; about 12 steps run
    // below 0.2 s before the counter ends, and one touching pair doubles the threshold to 0.01:
    // v = sqrt(0.01 / 0.7) / 12 = 0.010 m/s.
    for (float speed : {0.008f, 0.012f}) {
        SCOPED_TRACE(testing::Message() << "rolling at " << speed);
        PxTestScene world;
        PxRigidDynamic* star = rollingStar(world, speed);
        world.simulate(120);
        EXPECT_EQ(star->isSleeping(), speed < 0.010f);
    }
}

TEST(PxSleep, AWakeUpGivesAnotherFullWakeCounterAsDoesANewSpin) {
    PxTestScene world;
    PxRigidDynamic* star = rollingStar(world, 0.0f);
    // Resting, it sleeps when its wake counter runs out: 0.4 s is 24 steps; the body is ready then and its
    // island sleeps with the next step at the latest.
    int asleepAt = stepsUntilAsleep(world, *star);
    EXPECT_GE(asleepAt, 24);
    EXPECT_LE(asleepAt, 25);
    EXPECT_EQ(star->getLinearVelocity(), PxVec3(0));
    star->wakeUp();
    EXPECT_FALSE(star->isSleeping());
    asleepAt = stepsUntilAsleep(world, *star);
    EXPECT_GE(asleepAt, 24);
    EXPECT_LE(asleepAt, 25);
    // Setting a spin wakes it too, unless told not to; a zero spin never does.
    world.simulate(30);
    ASSERT_TRUE(star->isSleeping());
    star->setAngularVelocity(PxVec3(0, 1, 0), false);
    star->setAngularVelocity(PxVec3(0), true);
    star->setLinearVelocity(PxVec3(0), true);
    EXPECT_TRUE(star->isSleeping());
    star->setAngularVelocity(PxVec3(0, 1, 0));
    EXPECT_FALSE(star->isSleeping());
}
