#include "model/Animation.h"
#include "model/Joint.h"
#include "model/ModelLoadError.h"
#include "model/SceneImport.h"

#include "SceneBuilder.h"
#include "support/GLContext.h"

#include <assimp/Importer.hpp>
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
};

std::string refusal(const aiAnimation* clip, const Rig& rig) {
    try {
        buildClip(clip, rig.root, rig.jointCount);
    } catch (const ModelLoadError& e) {
        return e.what();
    }
    return "accepted";
}

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
    EXPECT_EQ(clip->duration, 30u);
    EXPECT_EQ(clip->ticksPerSecond, 30u);
    EXPECT_FLOAT_EQ(clip->lengthSeconds, 1.0f);
    EXPECT_EQ(clip->name, "walk");
    EXPECT_EQ(clip->keyFrames[17].tick, 17u);
    ASSERT_EQ(clip->keyFrames[0].transforms.size(), 3u);

    const JointTransform& first = clip->keyFrames[0].transforms[2];
    EXPECT_EQ(first.position, glm::vec3(1, 2, 3));
    // Assimp's (w, x, y, z) is the same rotation in GLM's x, y, z, w storage.
    EXPECT_EQ(first.rotation.w, 0.5f);
    EXPECT_EQ(first.rotation.x, 0.5f);
    const JointTransform& moved = clip->keyFrames[12].transforms[2];
    EXPECT_EQ(moved.position, glm::vec3(4, 5, 6));
    EXPECT_EQ(moved.rotation, glm::quat(0.0f, 1.0f, 0.0f, 0.0f));
    // Ticks without a key and joints without a channel keep the rest pose.
    EXPECT_EQ(clip->keyFrames[7].transforms[2].position, glm::vec3(0.0f));
    EXPECT_EQ(clip->keyFrames[20].transforms[2].rotation, glm::quat(1.0f, 0.0f, 0.0f, 0.0f));
    EXPECT_EQ(clip->keyFrames[12].transforms[1].position, glm::vec3(0.0f));

    aiAnimation* odd = addClip(rig.scene.get(), "odd", 30.5, 24.9);
    std::unique_ptr<Animation> truncated = buildClip(odd, rig.root, rig.jointCount);
    EXPECT_EQ(truncated->keyFrames.size(), 31u);
    EXPECT_EQ(truncated->duration, 30u);
    EXPECT_EQ(truncated->ticksPerSecond, 24u);
    EXPECT_EQ(describeClip(*truncated), "Animation: odd; Duration(1.25), TicksPS(24)");
}

TEST(ClipBuilding, ZeroTicksPerSecondKeepsNoDefault) {
    Rig rig;
    std::unique_ptr<Animation> still =
        buildClip(addClip(rig.scene.get(), "still", 10.0, 0.0), rig.root, rig.jointCount);
    EXPECT_EQ(still->ticksPerSecond, 0u);
    EXPECT_TRUE(std::isinf(still->lengthSeconds));
    std::unique_ptr<Animation> empty =
        buildClip(addClip(rig.scene.get(), "empty", 0.0, 0.0), rig.root, rig.jointCount);
    EXPECT_TRUE(std::isnan(empty->lengthSeconds));
    EXPECT_EQ(empty->keyFrames.size(), 1u);
}

TEST(ClipBuilding, RefusesKeysAndChannelsOutsideTheTables) {
    Rig rig;
    aiAnimation* stranger = addClip(rig.scene.get(), "a", 4.0, 24.0);
    addChannel(stranger, "Tail", {{0.0, {}, aiQuaternion()}});
    EXPECT_EQ(refusal(stranger, rig), "clip \"a\" animates \"Tail\", which is no joint");

    aiAnimation* late = addClip(rig.scene.get(), "b", 4.0, 24.0);
    addChannel(late, "Leg", {{0.0, {}, aiQuaternion()}, {5.0, {}, aiQuaternion()}});
    EXPECT_EQ(refusal(late, rig), "clip \"b\" has a key for \"Leg\" at tick 5.000000, outside its 5 frames");

    aiAnimation* early = addClip(rig.scene.get(), "c", 4.0, 24.0);
    addChannel(early, "Leg", {{-0.5, {}, aiQuaternion()}});
    EXPECT_NE(refusal(early, rig), "accepted");

    aiAnimation* lopsided = addClip(rig.scene.get(), "d", 4.0, 24.0);
    aiNodeAnim* channel = addChannel(lopsided, "Leg", {{0.0, {}, aiQuaternion()}, {1.0, {}, aiQuaternion()}});
    channel->mNumRotationKeys = 1; // the arrays are still freed whole
    EXPECT_EQ(refusal(lopsided, rig), "clip \"d\" has fewer rotation than position keys for \"Leg\"");

    aiAnimation* endless = addClip(rig.scene.get(), "e", 1.0e12, 24.0);
    EXPECT_NE(refusal(endless, rig), "accepted");
    aiAnimation* backwards = addClip(rig.scene.get(), "f", -3.0, 24.0);
    EXPECT_EQ(refusal(backwards, rig), "clip \"f\" has an invalid duration");
    aiAnimation* nan = addClip(rig.scene.get(), "g", 3.0, std::nan(""));
    EXPECT_EQ(refusal(nan, rig), "clip \"g\" has an invalid tick rate");
}

TEST(ClipBuilding, ExportedClipsComeBackAtTwentyFourTicksPerSecond) {
    TempDir dir;
    ASSERT_TRUE(writeScene(creatureScene(3, 5).get(), dir.file("clips.fbx"), "fbxa"));
    Assimp::Importer importer;
    std::string error;
    const aiScene* scene = sceneimport::readScene(importer, dir.file("clips.fbx").c_str(), error);
    ASSERT_NE(scene, nullptr) << error;
    int jointCount = 0;
    CoutCapture quiet;
    Joint* root = buildJointTree(scene->mRootNode, jointCount);
    std::vector<std::unique_ptr<Animation>> clips = loadAnimations(scene, root, jointCount);
    ASSERT_EQ(clips.size(), 3u);
    EXPECT_EQ(clips[1]->name, "clip1");
    EXPECT_EQ(clips[1]->duration, 4u);
    EXPECT_EQ(clips[1]->ticksPerSecond, 24u);
    ASSERT_EQ(clips[1]->keyFrames.size(), 5u);
    // Bone2 (id 2) moves along z by 0.1 per frame and turns about z by 0.1 rad per frame.
    const JointTransform& last = clips[1]->keyFrames[4].transforms[2];
    EXPECT_NEAR(last.position.z, 1.4f, 1e-5f);
    EXPECT_NEAR(glm::angle(last.rotation), 0.4f, 1e-4f);
    EXPECT_NEAR(last.rotation.z, std::sin(0.2f), 1e-5f);
    deleteJointTree(root);
}
