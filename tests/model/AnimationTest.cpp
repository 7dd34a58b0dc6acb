#include "model/Animation.h"
#include "model/Joint.h"
#include "model/ModelLoadError.h"

#include "SceneBuilder.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace testscene;

namespace {

// root / Armature / Hip / Leg: ids 0, 1, 2.
struct Rig {
    std::unique_ptr<aiScene> scene = newScene();
    Joint* root = nullptr;
    int jointCount = 0;

    Rig() {
        addNode(addNode(addNode(scene->mRootNode, "Armature"), "Hip"), "Leg");
        CoutCapture quiet;
        root = buildJointTree(scene->mRootNode, jointCount);
    }
    ~Rig() { deleteJointTree(root); }
    std::unique_ptr<Animation> build(const char* name, double duration, double rate,
                                     const std::vector<Key>& keys = {}, const char* node = "Leg") {
        aiAnimation* clip = addClip(scene.get(), name, duration, rate);
        if (!keys.empty())
            addChannel(clip, node, keys);
        return buildClip(clip, root, jointCount);
    }
};

} // namespace

TEST(ClipBuilding, DenseFramesWithKeysPairedOnTheRotationTick) {
    Rig rig;
    aiAnimation* walk = addClip(rig.scene.get(), "walk", 30.0, 30.0);
    // Position key i pairs with rotation key i, placed at the rotation key's truncated tick.
    aiNodeAnim* leg = addChannel(walk, "Leg",
                                 {{0.0, {1, 2, 3}, aiQuaternion(0.5f, 0.5f, 0.5f, 0.5f)},
                                  {7.0, {4, 5, 6}, aiQuaternion(0.0f, 1.0f, 0.0f, 0.0f)}});
    leg->mPositionKeys[1].mTime = 20.0;  // not looked at
    leg->mRotationKeys[1].mTime = 12.75; // lands on frame 12

    std::unique_ptr<Animation> clip = buildClip(walk, rig.root, rig.jointCount);
    ASSERT_EQ(clip->keyFrames.size(), 31u);
    EXPECT_FLOAT_EQ(clip->lengthSeconds, 1.0f);
    EXPECT_EQ(clip->keyFrames[17].tick, 17u);
    ASSERT_EQ(clip->keyFrames[0].transforms.size(), 3u);
    EXPECT_EQ(clip->keyFrames[0].transforms[2].position, glm::vec3(1, 2, 3));
    // Assimp's (w, x, y, z) is the same rotation in GLM's x, y, z, w storage.
    EXPECT_EQ(clip->keyFrames[0].transforms[2].rotation, glm::quat(0.5f, 0.5f, 0.5f, 0.5f));
    EXPECT_EQ(clip->keyFrames[12].transforms[2].position, glm::vec3(4, 5, 6));
    EXPECT_EQ(clip->keyFrames[12].transforms[2].rotation, glm::quat(0.0f, 1.0f, 0.0f, 0.0f));
    // Ticks without a key and joints without a channel keep the rest pose.
    EXPECT_EQ(clip->keyFrames[7].transforms[2].position, glm::vec3(0.0f));
    EXPECT_EQ(clip->keyFrames[20].transforms[2].rotation, glm::quat(1.0f, 0.0f, 0.0f, 0.0f));
    EXPECT_EQ(clip->keyFrames[12].transforms[1].position, glm::vec3(0.0f));

    // Fractional durations and rates are cut down; no tick rate means a clip that never ends.
    std::unique_ptr<Animation> odd = rig.build("odd", 30.5, 24.9);
    EXPECT_EQ(odd->keyFrames.size(), 31u);
    EXPECT_EQ(describeClip(*odd), "Animation: odd; Duration(1.25), TicksPS(24)");
    EXPECT_TRUE(std::isinf(rig.build("still", 10.0, 0.0)->lengthSeconds));
    EXPECT_EQ(rig.build("empty", 0.0, 0.0)->keyFrames.size(), 1u);
}

TEST(ClipBuilding, RefusesKeysChannelsAndTimingsOutsideTheTables) {
    Rig rig;
    const Key at0{0.0, {}, aiQuaternion()}, at4{4.0, {}, aiQuaternion()}, at5{5.0, {}, aiQuaternion()};
    EXPECT_NO_THROW(rig.build("last-frame", 4.0, 24.0, {at0, at4}));
    EXPECT_THROW(rig.build("past-last", 4.0, 24.0, {at0, at5}), ModelLoadError);
    EXPECT_THROW(rig.build("early", 4.0, 24.0, {{-0.5, {}, aiQuaternion()}}), ModelLoadError);
    EXPECT_THROW(rig.build("stranger", 4.0, 24.0, {at0}, "Tail"), ModelLoadError);
    EXPECT_THROW(rig.build("endless", 1.0e12, 24.0), ModelLoadError);
    EXPECT_THROW(rig.build("backwards", -3.0, 24.0), ModelLoadError);
    EXPECT_THROW(rig.build("nan", 3.0, std::nan("")), ModelLoadError);
    // The largest tick rate the clip's unsigned count holds, and the next.
    EXPECT_EQ(rig.build("fast", 4.0, 4294967295.0)->ticksPerSecond, 4294967295u);
    EXPECT_THROW(rig.build("faster", 4.0, 4294967296.0), ModelLoadError);

    aiAnimation* lopsided = addClip(rig.scene.get(), "lopsided", 4.0, 24.0);
    addChannel(lopsided, "Leg", {at0, at4})->mNumRotationKeys = 1; // the arrays are still freed whole
    EXPECT_THROW(buildClip(lopsided, rig.root, rig.jointCount), ModelLoadError);
}
