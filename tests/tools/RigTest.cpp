#include "AssetSet.h"
#include "Skeleton.h"
#include "ZubModel.h"
#include "ZubRig.h"
#include "ZubShape.h"

#include <gtest/gtest.h>

#include <set>

using namespace assetgen;

namespace {

float matrixDistance(const glm::mat4& a, const glm::mat4& b) {
    float worst = 0.0f;
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            worst = std::max(worst, std::fabs(a[c][r] - b[c][r]));
    return worst;
}

} // namespace

TEST(ZubRig, ClipsLoopWithoutAJumpAndIdleAndWaveStartAtRest) {
    const std::vector<ClipKeys> clips = zub::clipKeys();
    for (const ClipKeys& clip : clips) {
        ASSERT_EQ(clip.keys.size(), static_cast<size_t>(clip.ticks + 1));
        for (size_t j = 0; j < zub::JointCount; ++j) {
            EXPECT_EQ(clip.keys.front()[j].position, clip.keys.back()[j].position)
                << clip.name << " joint " << j;
            EXPECT_EQ(clip.keys.front()[j].rotation, clip.keys.back()[j].rotation)
                << clip.name << " joint " << j;
        }
        // Neighbouring keys are close: a step of the cycle, never a jump.
        float biggestTurn = 0.0f, biggestShift = 0.0f;
        for (int k = 1; k <= clip.ticks; ++k)
            for (size_t j = 0; j < zub::JointCount; ++j) {
                const JointKey& a = clip.keys[static_cast<size_t>(k - 1)][j];
                const JointKey& b = clip.keys[static_cast<size_t>(k)][j];
                const float c = std::min(1.0f, std::fabs(glm::dot(a.rotation, b.rotation)));
                biggestTurn = std::max(biggestTurn, glm::degrees(2.0f * std::acos(c)));
                biggestShift = std::max(biggestShift, glm::length(a.position - b.position));
            }
        EXPECT_LT(biggestTurn, 25.0f) << clip.name;
        EXPECT_LT(biggestShift, 0.25f) << clip.name;
    }
    for (int c : {zub::Idle, zub::Wave})
        for (const glm::mat4& m : zub::designedMotion(c, 0.0f))
            EXPECT_LT(matrixDistance(m, glm::mat4(1.0f)), 1e-6f) << clips[static_cast<size_t>(c)].name;
    // The walk is a cycle with no rest frame: it starts mid-stride.
    float walkStart = 0.0f;
    for (const glm::mat4& m : zub::designedMotion(zub::Walk, 0.0f))
        walkStart = std::max(walkStart, matrixDistance(m, glm::mat4(1.0f)));
    EXPECT_GT(walkStart, 0.05f);
}

TEST(ZubRig, SkeletonAndWeightsFitTheGamesLoader) {
    const std::vector<SkeletonJoint>& joints = zub::skeleton();
    ASSERT_LT(joints.size(), 20u);
    EXPECT_EQ(joints[0].name, "Armature");
    EXPECT_EQ(joints[0].parent, -1);
    std::set<std::string> names;
    for (size_t j = 1; j < joints.size(); ++j) {
        // Pre-order: a parent always comes first, so the game's ids equal these indices.
        EXPECT_LT(joints[j].parent, static_cast<int>(j));
        EXPECT_GE(joints[j].parent, 0);
        names.insert(joints[j].name);
    }
    EXPECT_EQ(names.size(), joints.size() - 1);

    const MeshData mesh = zub::mesh();
    std::vector<int> verticesPerJoint(joints.size(), 0);
    for (const MeshVertex& v : mesh.vertices) {
        float sum = 0.0f;
        for (const Influence& in : v.influences)
            if (in.weight > 0.0f) {
                // Nothing that must move hangs on joints 0 and 1.
                EXPECT_GE(in.joint, static_cast<int>(zub::Body));
                ++verticesPerJoint[static_cast<size_t>(in.joint)];
                sum += in.weight;
            }
        EXPECT_NEAR(sum, 1.0f, 1e-5f);
    }
    for (size_t j = zub::Body; j < joints.size(); ++j)
        EXPECT_GT(verticesPerJoint[j], 50) << joints[j].name << " moves nothing";
}

TEST(ZubShape, BodyFitsTheRollingSphereAndTheFaceLooksDownMinusX) {
    const std::vector<PaintedPart> parts = zub::parts();
    float bodyReach = 0.0f, everything = 0.0f;
    glm::vec3 lo(1e9f), hi(-1e9f);
    for (const PaintedPart& part : parts) {
        MeshData one;
        addSurface(one, part.surface);
        for (const MeshVertex& v : one.vertices) {
            if (part.surface.name == "Body")
                bodyReach = std::max(bodyReach, glm::length(v.position));
            everything = std::max(everything, glm::length(v.position));
            lo = glm::min(lo, v.position);
            hi = glm::max(hi, v.position);
        }
        if (part.surface.name.rfind("Eye", 0) == 0 || part.surface.name == "Nose") {
            for (const MeshVertex& v : one.vertices)
                ASSERT_LT(v.position.x, 0.0f) << part.surface.name << " is not on the front (-x)";
        }
        if (part.surface.name == "Tail") {
            for (const MeshVertex& v : one.vertices)
                ASSERT_GT(v.position.x, 0.0f);
        }
    }
    EXPECT_LE(bodyReach, 1.1f);
    EXPECT_GT(bodyReach, 0.85f);
    // Ears and tail may poke out of the sphere a little, not a lot.
    EXPECT_LT(everything, 1.6f);
    EXPECT_NEAR(lo.y, -hi.y, 0.02f); // left and right mirror each other
    EXPECT_LT(lo.z, -0.9f);          // feet reach the bottom of the ball
}
