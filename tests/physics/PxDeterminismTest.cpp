// The same scripted input gives the same bits: every pose, velocity and contact report, whatever the
// dispatcher's thread count.
#include "PxTestScene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

using namespace physx;

namespace {

const int scriptSteps = 900;

// FNV-1a over everything the game could observe.
struct Digest {
    std::uint64_t value = 1469598103934665603ull;
    void add(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i)
            value = (value ^ bytes[i]) * 1099511628211ull;
    }
    void add(float f) { add(&f, sizeof f); }
    void add(const std::string& s) { add(s.data(), s.size() + 1); }
};

// A small level: the player pushed about by a held key, into the star, the star into a wall, an enemy box
// dropping in, and the reports of every touch.
std::uint64_t scriptedRun(PxU32 threads) {
    PxTestScene world(PxVec3(0, -6.81f, 0), PxTestScene::touchShader, threads);
    world.addGround();
    world.addStatic("wall", PxBoxGeometry(20, 5, 2.5f), PxVec3(0, 2, -40));
    PxRigidDynamic* player = world.addBody("player", PxSphereGeometry(1.1f), PxVec3(0, 2, 15), 120.0f);
    PxRigidDynamic* star = world.addBody("star", PxSphereGeometry(2.0f), PxVec3(0, 2, -15), 20.0f);
    PxRigidDynamic* enemy = world.addBody("enemy", PxBoxGeometry(5, 6, 1), PxVec3(12, 6.5f, -25), 12.0f);
    player->setMaxLinearVelocity(10.0f);
    PxRigidDynamic* const bodies[] = {player, star, enemy};
    Digest digest;
    for (int s = 0; s < scriptSteps; ++s) {
        const float turn = static_cast<float>(s) * 0.0005f;
        player->addForce(PxVec3(std::sin(turn), 0, -std::cos(turn)) * 6000.0f);
        const std::size_t reportsBefore = world.reports.size();
        world.simulate();
        for (PxRigidDynamic* b : bodies) {
            const PxTransform t = b->getGlobalPose();
            const PxVec3 v = b->getLinearVelocity(), w = b->getAngularVelocity();
            for (float f : {t.p.x, t.p.y, t.p.z, t.q.x, t.q.y, t.q.z, t.q.w, v.x, v.y, v.z, w.x, w.y, w.z})
                digest.add(f);
            const bool sleeping = b->isSleeping();
            digest.add(&sleeping, sizeof sleeping);
        }
        for (std::size_t r = reportsBefore; r < world.reports.size(); ++r) {
            const PxTestScene::Report& report = world.reports[r];
            digest.add(&s, sizeof s);
            digest.add(PxTestScene::pairName(report));
            for (const PxContactPair& pair : report.pairs) {
                digest.add(pair.shapes[0]->getName());
                digest.add(pair.shapes[1]->getName() ? pair.shapes[1]->getName() : "plane");
                digest.add(&pair.contactCount, sizeof pair.contactCount);
            }
        }
    }
    // The run must have done something worth comparing.
    EXPECT_GE(world.reports.size(), 4u);
    EXPECT_LT(star->getGlobalPose().p.z, -20.0f);
    return digest.value;
}

} // namespace

TEST(PxDeterminism, SameScriptSameBitsForAnyThreadCount) {
    const std::uint64_t reference = scriptedRun(2);
    for (PxU32 threads : {0u, 1u, 4u})
        EXPECT_EQ(scriptedRun(threads), reference) << threads << " dispatcher threads";
}
