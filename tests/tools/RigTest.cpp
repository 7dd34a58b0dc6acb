#include "AssetSet.h"
#include "ZubRig.h"

#include <gtest/gtest.h>

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
}
