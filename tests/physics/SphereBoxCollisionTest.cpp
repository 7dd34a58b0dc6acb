// A sphere meets a box in one contact on the line from its centre to the box's closest point, whichever of
// the two the broadphase lists first.
#include "PxTestScene.h"

#include <gtest/gtest.h>

using namespace physx;

namespace {

struct WallHit {
    PxVec3 velocity, spin;
};

// A ball of radius 1 rolling at 10 m/s hits a wall face-on, high above the ground, 0.02 m from the wall when
// the step begins (within the contact distance of 0.04).
WallHit hitWall(bool sphereFirst) {
    PxTestScene world;
    const float radius = 1.0f, speed = 10.0f;
    const PxVec3 at(0, 10, radius + 0.02f);
    PxRigidDynamic* ball = nullptr;
    if (sphereFirst)
        ball = world.addBody("ball", PxSphereGeometry(radius), at);
    // Front face at z = 0.
    world.addStatic("wall", PxBoxGeometry(5, 5, 2.5f), PxVec3(0, 10, -2.5f));
    if (!sphereFirst)
        ball = world.addBody("ball", PxSphereGeometry(radius), at);
    ball->setLinearVelocity(PxVec3(0, 0, -speed));
    // Rolling as if on the ground: the point facing the wall moves down at the speed of travel.
    ball->setAngularVelocity(PxVec3(-speed / radius, 0, 0));
    world.simulate();
    EXPECT_EQ(world.reports.size(), 1u);
    return {ball->getLinearVelocity(), ball->getAngularVelocity()};
}

} // namespace

TEST(SphereBoxCollision, WallHitInTheAirBouncesAndLiftsAsTheClosedFormSays) {
    // Normal: restitution 0.1 of the 10 m/s approach. Along the wall: gravity and the damped spin make the
    // contact point slide down at g dt + 10 (1 - 0.05 dt); friction (0.5 x 11 m/s of normal impulse would
    // allow far more) stops the slide, and a solid ball takes 1 / (1 + 5/2) of that as velocity:
    // -g dt + slide / 3.5 = 2.774 m/s upward.
    const float slide = g * dt + 10.0f * (1.0f - 0.05f * dt);
    const float upward = -g * dt + slide / 3.5f;
    EXPECT_NEAR(upward, 2.774f, 5e-4f);
    for (bool sphereFirst : {true, false}) {
        SCOPED_TRACE(sphereFirst ? "sphere added first" : "box added first");
        const WallHit hit = hitWall(sphereFirst);
        EXPECT_NEAR(hit.velocity.z, 1.000f, 1e-4f);
        EXPECT_NEAR(hit.velocity.y, upward, 1e-4f);
        // Nothing sideways: the contact lies on the centre line.
        EXPECT_EQ(hit.velocity.x, 0.0f);
        EXPECT_EQ(hit.spin.y, 0.0f);
        EXPECT_EQ(hit.spin.z, 0.0f);
    }
}

TEST(SphereBoxCollision, RestsOnABoxAtItsRadiusAndTouchesWithinTheContactDistance) {
    PxTestScene world;
    // A ball dropped from 0.1 m onto a box's top, off the box's centre: too slow to bounce, so one touch.
    world.addStatic("table", PxBoxGeometry(2, 0.5f, 2), PxVec3(0, 0.5f, 0));
    PxRigidDynamic* ball = world.addBody("ball", PxSphereGeometry(0.5f), PxVec3(1.2f, 1.6f, -0.7f));
    world.simulate(180);
    EXPECT_NEAR(ball->getGlobalPose().p.y, 1.5f, 0.005f);
    EXPECT_NEAR(ball->getGlobalPose().p.x, 1.2f, 1e-4f);
    EXPECT_NEAR(ball->getGlobalPose().p.z, -0.7f, 1e-4f);
    EXPECT_EQ(world.reports.size(), 1u);
}

TEST(SphereBoxCollision, CentreInsideTheBoxLeavesThroughTheNearestFace) {
    PxTestScene world(PxVec3(0));
    world.addStatic("block", PxBoxGeometry(3, 3, 3), PxVec3(0));
    // Deep inside, nearest to the +x face: pushed out along +x only.
    PxRigidDynamic* ball = world.addBody("ball", PxSphereGeometry(0.5f), PxVec3(2.5f, 0.3f, -0.2f));
    world.simulate(60);
    const PxTransform pose = ball->getGlobalPose();
    EXPECT_GT(pose.p.x, 3.45f);
    EXPECT_NEAR(pose.p.y, 0.3f, 1e-5f);
    EXPECT_NEAR(pose.p.z, -0.2f, 1e-5f);
}
