#include "model/Joint.h"
#include "model/ModelLoadError.h"

#include "SceneBuilder.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

using namespace testscene;

TEST(JointTree, TheArmatureGetsPreOrderIdsAndPrintsItsLines) {
    auto scene = creatureScene();
    CoutCapture out;
    int jointCount = 0;
    Joint* root = buildJointTree(scene->mRootNode, jointCount);
    ASSERT_NE(root, nullptr);
    printJointTree(root, 0);
    EXPECT_EQ(jointCount, 5);
    EXPECT_EQ(out.lines(),
              (std::vector<std::string>{"Created Joint: Armature; jointCount now: 1", "ID: 0, name: Armature",
                                        "  ID: 1, name: Bone1", "    ID: 2, name: Bone2",
                                        "      ID: 3, name: Bone3", "        ID: 4, name: End"}));
    ASSERT_NE(findJointById(root, 3), nullptr);
    EXPECT_EQ(findJointById(root, 3)->parent->name, "Bone2");
    EXPECT_EQ(findJointById(root, 5), nullptr);
    EXPECT_EQ(findJointId(root, "End"), 4);
    EXPECT_EQ(findJointId(root, "Body"), -1);
    deleteJointTree(root);
}

TEST(JointTree, OnlyARootChildNamedExactlyArmatureIsTaken) {
    std::vector<std::unique_ptr<aiScene>> scenes;
    for (const char* name : {"armature", "Armature.001", "Armatur"}) {
        scenes.push_back(newScene());
        addNode(addNode(scenes.back()->mRootNode, name), "Bone");
    }
    scenes.push_back(newScene()); // nor an "Armature" deeper than the root's children
    addNode(addNode(scenes.back()->mRootNode, "Rig"), "Armature");
    for (const auto& scene : scenes) {
        int jointCount = 0;
        EXPECT_EQ(buildJointTree(scene->mRootNode, jointCount), nullptr);
        EXPECT_EQ(jointCount, 0);
    }
}

TEST(BindBones, SlotsFillInBoneOrderUpToThree) {
    auto scene = newScene();
    aiNode* armature = addNode(scene->mRootNode, "Armature");
    for (const char* name : {"A", "B", "C", "D"})
        addNode(armature, name); // ids 1 to 4
    addMaterial(scene.get());
    aiMesh* mesh = addMesh(scene.get(), "M", 1);
    aiMatrix4x4 offsetA;
    offsetA.a4 = 7.0f; // row-major translation x
    addBone(mesh, "A", {{0, 0.4f}, {1, 0.0f}}, offsetA);
    addBone(mesh, "B", {{0, 0.3f}, {1, 0.6f}});
    addBone(mesh, "C", {{0, 0.2f}});
    addBone(mesh, "D", {{0, 0.1f}, {1, 0.4f}});

    int jointCount = 0;
    Joint* root = nullptr;
    {
        CoutCapture quiet;
        root = buildJointTree(scene->mRootNode, jointCount);
    }
    std::vector<SkinnedVertex> vertices(3, SkinnedVertex{});
    CoutCapture out;
    std::vector<glm::mat4> offsets = bindBones(mesh, root, jointCount, vertices, "d");
    EXPECT_EQ(out.lines(), std::vector<std::string>{"jointOffsets Size: 5, mesh->NumBones: 4"});

    // Four influences keep the first three in bone order; the fourth is lost.
    EXPECT_EQ(vertices[0].jointIds, glm::ivec3(1, 2, 3));
    EXPECT_EQ(vertices[0].weights, glm::vec3(0.4f, 0.3f, 0.2f));
    // A zero weight takes no slot.
    EXPECT_EQ(vertices[1].jointIds, glm::ivec3(2, 4, 0));
    EXPECT_EQ(vertices[1].weights, glm::vec3(0.6f, 0.4f, 0.0f));

    ASSERT_EQ(offsets.size(), 5u);
    EXPECT_EQ(offsets[1][3], glm::vec4(7.0f, 0.0f, 0.0f, 1.0f)); // stored column-major
    EXPECT_EQ(offsets[4], glm::mat4(1.0f));
    deleteJointTree(root);
}

TEST(BindBones, RefusesBonesAndWeightsOutsideTheTablesAndJointZeroReadsEmpty) {
    auto scene = newScene();
    addNode(addNode(scene->mRootNode, "Armature"), "Bone");
    addMaterial(scene.get());
    aiMesh* stranger = addMesh(scene.get(), "M", 1);
    addBone(stranger, "Elsewhere", {{0, 1.0f}});
    aiMesh* farWeight = addMesh(scene.get(), "N", 1);
    addBone(farWeight, "Bone", {{0, 1.0f}, {3, 1.0f}});
    aiMesh* bare = addMesh(scene.get(), "O", 1);
    aiMesh* onRoot = addMesh(scene.get(), "P", 1);
    addBone(onRoot, "Armature", {{0, 0.7f}});
    addBone(onRoot, "Bone", {{0, 0.2f}});

    CoutCapture out;
    int jointCount = 0;
    std::unique_ptr<Joint, JointTreeDeleter> root(buildJointTree(scene->mRootNode, jointCount));
    std::vector<SkinnedVertex> vertices(3, SkinnedVertex{});
    EXPECT_THROW(bindBones(stranger, root.get(), jointCount, vertices, "d"), ModelLoadError);
    EXPECT_THROW(bindBones(farWeight, root.get(), jointCount, vertices, "d"), ModelLoadError);
    EXPECT_TRUE(bindBones(bare, root.get(), jointCount, vertices, "../assets/zub").empty());
    EXPECT_EQ(out.lines().back(), "Model from directory ../assets/zub hat keine Knochen");
    // A bone on joint 0 takes slot 0, which reads as empty: the next bone writes over it.
    vertices.assign(3, SkinnedVertex{});
    bindBones(onRoot, root.get(), jointCount, vertices, "d");
    EXPECT_EQ(vertices[0].jointIds, glm::ivec3(1, 0, 0));
    EXPECT_EQ(vertices[0].weights, glm::vec3(0.2f, 0.0f, 0.0f));
}
