#include "model/Animator.h"
#include "model/Joint.h"
#include "support/GLContext.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>

using namespace animator;

namespace {

// A clip of `duration` ticks; each frame k moves every joint to (k, 0, 0).
Animation rampClip(unsigned duration, unsigned ticksPerSecond, std::size_t joints) {
    Animation clip;
    clip.duration = duration;
    clip.ticksPerSecond = ticksPerSecond;
    clip.lengthSeconds = static_cast<float>(duration) / static_cast<float>(ticksPerSecond);
    clip.keyFrames.resize(duration + 1);
    for (unsigned k = 0; k <= duration; ++k) {
        clip.keyFrames[k].tick = k;
        clip.keyFrames[k].transforms.resize(joints);
        for (JointTransform& t : clip.keyFrames[k].transforms)
            t.position = glm::vec3(static_cast<float>(k), 0.0f, 0.0f);
    }
    return clip;
}

// A chain of `count` joints, each the only child of the one before.
Joint* chain(unsigned count) {
    Joint* root = new Joint;
    root->name = "Armature";
    Joint* last = root;
    for (unsigned id = 1; id < count; ++id) {
        Joint* joint = new Joint;
        joint->id = id;
        joint->name = "J" + std::to_string(id);
        joint->parent = last;
        last->children.push_back(joint);
        last = joint;
    }
    return root;
}

} // namespace

TEST(ClipClock, WrapsOnlyStrictlyPastTheLength) {
    EXPECT_FLOAT_EQ(advanceClipTime(0.9f, 0.1f, 1.0f), 1.0f);
    EXPECT_NEAR(advanceClipTime(1.0f, 0.02f, 1.0f), 0.02f, 1e-6f);
    EXPECT_NEAR(advanceClipTime(0.5f, 2.25f, 1.0f), 0.75f, 1e-6f);
    // Zero ticks per second: the length is infinite or NaN, and the time never wraps.
    EXPECT_FLOAT_EQ(advanceClipTime(5.0f, 1.0f, INFINITY), 6.0f);
    EXPECT_FLOAT_EQ(advanceClipTime(5.0f, 1.0f, NAN), 6.0f);
}

TEST(RotationBlend, SlerpsEvenlyAndTakesTheLongerArcForANegativeDot) {
    const glm::quat identity(1.0f, 0.0f, 0.0f, 0.0f);
    const glm::quat quarter = glm::angleAxis(glm::radians(90.0f), glm::vec3(0, 0, 1));
    // At an even pace along the arc (a linear blend would lag at a quarter and lead at three).
    for (float t : {0.25f, 0.5f, 0.75f})
        EXPECT_NEAR(glm::angle(blendRotation(identity, quarter, t)), glm::radians(90.0f * t), 1e-5f) << t;

    // -quarter is the same rotation with a negative dot: no flip, so the blend goes the long way
    // round: halfway is a turn of 135 degrees the other way, not 45.
    const glm::quat longWay = blendRotation(identity, -quarter, 0.5f);
    const glm::vec3 x = longWay * glm::vec3(1, 0, 0);
    EXPECT_NEAR(x.x, std::cos(glm::radians(-135.0f)), 1e-5f);
    EXPECT_NEAR(x.y, std::sin(glm::radians(-135.0f)), 1e-5f);

    // Nearly equal rotations blend linearly and come back normalised.
    const glm::quat close = glm::angleAxis(1e-5f, glm::vec3(1, 0, 0));
    EXPECT_NEAR(glm::length(blendRotation(identity, close, 0.3f)), 1.0f, 1e-6f);
    // Opposite zero-length inputs cannot be normalised: identity.
    EXPECT_EQ(blendRotation(glm::quat(0, 0, 0, 0), glm::quat(0, 0, 0, 0), 0.5f), identity);
}

TEST(Posing, FirstTwoJointsStayPutAndTwentyOnAreNotPosed) {
    Joint* root = chain(22);
    Animation clip = rampClip(4, 24, 22);
    for (KeyFrame& frame : clip.keyFrames)
        frame.transforms[1].rotation = glm::angleAxis(1.0f, glm::vec3(0, 1, 0));
    std::vector<glm::mat4> transforms(22, glm::mat4(2.0f));

    poseSkeleton(clip, 2.0f / 24.0f, root, transforms); // frame 2: every joint keyed to (2, 0, 0)
    EXPECT_TRUE(matricesNear(transforms[0], glm::mat4(1.0f)));
    EXPECT_TRUE(matricesNear(transforms[1], glm::mat4(1.0f)));
    // Each posed joint stacks its parent's translation: joint j sits at 2 · (j - 1).
    EXPECT_TRUE(matricesNear(transforms[2], glm::translate(glm::mat4(1.0f), glm::vec3(2, 0, 0))));
    EXPECT_TRUE(matricesNear(transforms[19], glm::translate(glm::mat4(1.0f), glm::vec3(36, 0, 0))));
    EXPECT_EQ(transforms[20], glm::mat4(1.0f));
    EXPECT_EQ(transforms[21], glm::mat4(1.0f));
    EXPECT_EQ(findJointById(root, 20)->finalTransform, glm::mat4(1.0f));
    deleteJointTree(root);
}

TEST(Posing, ComposesLocalThenOffsetThenParent) {
    Joint* root = chain(4);
    const glm::mat4 rootOffset = glm::translate(glm::mat4(1.0f), glm::vec3(0, 5, 0));
    const glm::mat4 jointOffset = glm::scale(glm::mat4(1.0f), glm::vec3(2.0f));
    root->offset = rootOffset;
    findJointById(root, 3)->offset = jointOffset;

    Animation clip = rampClip(2, 1, 4);
    const glm::quat turn = glm::angleAxis(glm::radians(90.0f), glm::vec3(0, 0, 1));
    for (KeyFrame& frame : clip.keyFrames) {
        frame.transforms[2].position = glm::vec3(1, 0, 0);
        frame.transforms[2].rotation = turn;
        frame.transforms[3].position = glm::vec3(0, 0, 3);
    }
    std::vector<glm::mat4> transforms(4);
    poseSkeleton(clip, 0.0f, root, transforms);

    const glm::mat4 l2 = glm::translate(glm::mat4(1.0f), glm::vec3(1, 0, 0)) * glm::mat4_cast(turn);
    const glm::mat4 l3 = glm::translate(glm::mat4(1.0f), glm::vec3(0, 0, 3));
    EXPECT_TRUE(matricesNear(transforms[0], rootOffset));
    EXPECT_TRUE(matricesNear(transforms[1], rootOffset)); // identity local, identity offset, root's matrix
    EXPECT_TRUE(matricesNear(transforms[2], l2 * rootOffset));
    EXPECT_TRUE(matricesNear(transforms[3], l3 * jointOffset * l2 * rootOffset));
    // The parent is applied to a vertex first: root's (0, 5, 0), then the turn, then x + 1.
    const glm::vec4 moved = transforms[2] * glm::vec4(0, 0, 0, 1);
    EXPECT_NEAR(moved.x, -4.0f, 1e-5f);
    EXPECT_NEAR(moved.y, 0.0f, 1e-5f);
    deleteJointTree(root);
}

TEST(Posing, BlendsPositionsBetweenFramesAndWrapsToFrameZero) {
    Joint* root = chain(3);
    const Animation clip = rampClip(30, 30, 3);
    std::vector<glm::mat4> transforms(3);
    poseSkeleton(clip, 0.25f, root, transforms); // tick 7.5
    EXPECT_NEAR(transforms[2][3].x, 7.5f, 1e-4f);
    poseSkeleton(clip, 1.0f, root, transforms); // frame 30 blending into frame 0 at t = 0
    EXPECT_NEAR(transforms[2][3].x, 30.0f, 1e-4f);

    const Animation still = rampClip(30, 0, 3);
    poseSkeleton(still, 50.0f, root, transforms); // no tick rate: always frame 0
    EXPECT_NEAR(transforms[2][3].x, 0.0f, 1e-6f);
    poseSkeleton(clip, -0.5f, root, transforms); // before the clip: frame 0, not outside the frames
    EXPECT_NEAR(transforms[2][3].x, 0.0f, 1e-6f);
    deleteJointTree(root);
}
