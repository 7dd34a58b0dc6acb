// The step computes in the original's floating-point mode whatever rounding its caller has set, and gives the
// caller's mode back.
#include "PxTestScene.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cstring>
#include <vector>

using namespace physx;

namespace {

// A ball rolls off a box onto the ground, a box tumbles down, a second ball hits the first: 300 steps, every
// pose and velocity kept. The scene is built in the default mode; only the steps run in `rounding`.
std::vector<float> trajectory(int rounding) {
    PxTestScene world;
    world.addGround();
    world.addStatic("step", PxBoxGeometry(2, 1, 2), PxVec3(0, 1, 0));
    PxRigidDynamic* bodies[] = {
        world.addBody("ball", PxSphereGeometry(0.7f), PxVec3(0.5f, 2.8f, 0.3f), 3.0f),
        world.addBody("box", PxBoxGeometry(0.4f, 0.3f, 0.5f), PxVec3(-1.0f, 3.5f, 0.0f), 2.0f),
        world.addBody("hitter", PxSphereGeometry(0.5f), PxVec3(-6.0f, 0.5f, 0.2f), 5.0f),
    };
    bodies[0]->setLinearVelocity(PxVec3(1.3f, 0, 0.1f));
    bodies[1]->setAngularVelocity(PxVec3(0.3f, 1.1f, -0.7f));
    bodies[2]->setLinearVelocity(PxVec3(4.1f, 0, 0));
    std::vector<float> out;
    const int callerRounding = std::fegetround();
    std::fesetround(rounding);
    for (int i = 0; i < 300; ++i) {
        world.simulate();
        for (PxRigidDynamic* b : bodies) {
            const PxTransform t = b->getGlobalPose();
            const PxVec3 v = b->getLinearVelocity(), w = b->getAngularVelocity();
            out.insert(out.end(),
                       {t.p.x, t.p.y, t.p.z, t.q.x, t.q.y, t.q.z, t.q.w, v.x, v.y, v.z, w.x, w.y, w.z});
        }
    }
    // The caller's mode is its own again after every step.
    EXPECT_EQ(std::fegetround(), rounding);
    std::fesetround(callerRounding);
    return out;
}

} // namespace

TEST(SimulationFloatMode, CallersRoundingModeChangesNoBitOfTheTrajectory) {
    const std::vector<float> nearest = trajectory(FE_TONEAREST);
    for (int rounding : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        SCOPED_TRACE(testing::Message() << "rounding mode " << rounding);
        const std::vector<float> other = trajectory(rounding);
        ASSERT_EQ(other.size(), nearest.size());
        EXPECT_EQ(std::memcmp(other.data(), nearest.data(), nearest.size() * sizeof(float)), 0);
    }
}
