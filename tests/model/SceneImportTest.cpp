#include "model/SceneImport.h"
#include "model/ModelLoadError.h"

#include "SceneBuilder.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

using namespace testscene;

TEST(SceneImport, DirectoryIsThePathUpToItsLastSlash) {
    EXPECT_EQ(sceneimport::directoryOf("../assets/zub/zub.fbx"), "../assets/zub");
    EXPECT_EQ(sceneimport::directoryOf("zub.fbx"), "zub.fbx");
}

TEST(SceneImport, MeshesFollowNodesInPreOrderAndRepeatPerReference) {
    auto scene = newScene();
    addMaterial(scene.get());
    addMesh(scene.get(), "A", 1);
    addMesh(scene.get(), "B", 1);
    aiNode* first = addNode(scene->mRootNode, "first");
    attachMesh(first, 1);
    attachMesh(addNode(first, "inner"), 0);
    attachMesh(addNode(scene->mRootNode, "second"), 1);
    EXPECT_EQ(sceneimport::meshOrder(scene.get()), (std::vector<unsigned>{1, 0, 1}));
}

TEST(SceneImport, ConvertsPositionsNormalsUvsAndIndices) {
    auto scene = newScene();
    addMaterial(scene.get(), {"a.png", "b.png"}, {"s.png"});
    aiMesh* mesh = addMesh(scene.get(), "M", 2);
    mesh->mNormals[4] = aiVector3D(0, 1, 0);
    mesh->mFaces[1].mIndices[0] = 1; // faces may share vertices

    CoutCapture out;
    MeshData<Vertex> data = sceneimport::convertMesh<Vertex>(scene.get(), mesh, "dir");
    EXPECT_TRUE(out.lines().empty());
    ASSERT_EQ(data.vertices.size(), 6u);
    EXPECT_EQ(data.vertices[4].position, glm::vec3(2.0f, 0.0f, 0.0f));
    EXPECT_EQ(data.vertices[4].normal, glm::vec3(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(data.vertices[1].texCoords, glm::vec2(0.25f, 0.5f));
    EXPECT_EQ(data.indices, (std::vector<unsigned>{0, 1, 2, 1, 4, 5}));
    ASSERT_EQ(data.textures.size(), 3u);
    EXPECT_EQ(data.textures[2].type, "texture_specular");
}

TEST(SceneImport, MissingUvsPrintOneLinePerVertex) {
    auto scene = newScene();
    addMaterial(scene.get());
    MeshOptions noUvs;
    noUvs.uvs = false;
    aiMesh* mesh = addMesh(scene.get(), "M", 2, noUvs);
    CoutCapture out;
    MeshData<Vertex> data = sceneimport::convertMesh<Vertex>(scene.get(), mesh, "../assets/thing");
    EXPECT_EQ(out.lines(), std::vector<std::string>(
                               6, "Model from directory ../assets/thing hat keine Texturkoordinaten"));
    EXPECT_EQ(data.vertices[1].texCoords, glm::vec2(0.0f));
}

TEST(SceneImport, MeshesThatCannotBeDrawnAreRefused) {
    auto scene = newScene();
    addMaterial(scene.get());
    MeshOptions noNormals;
    noNormals.normals = false;
    aiMesh* flat = addMesh(scene.get(), "Flat", 1, noNormals);
    EXPECT_THROW(sceneimport::convertMesh<Vertex>(scene.get(), flat, "d"), ModelLoadError);

    aiMesh* pastEnd = addMesh(scene.get(), "PastEnd", 1);
    pastEnd->mFaces[0].mIndices[2] = 3;
    EXPECT_THROW(sceneimport::convertMesh<Vertex>(scene.get(), pastEnd, "d"), ModelLoadError);
    pastEnd->mFaces[0].mIndices[2] = 2; // the last vertex is fine
    EXPECT_NO_THROW(sceneimport::convertMesh<Vertex>(scene.get(), pastEnd, "d"));

    MeshOptions noMaterial;
    noMaterial.material = 4;
    aiMesh* orphan = addMesh(scene.get(), "Orphan", 1, noMaterial);
    EXPECT_THROW(sceneimport::convertMesh<SkinnedVertex>(scene.get(), orphan, "d"), ModelLoadError);
}

TEST(SceneImport, NodeStructurePrintsEveryNodeIndented) {
    auto scene = creatureScene();
    CoutCapture out;
    sceneimport::printNodeStructure(scene->mRootNode);
    EXPECT_EQ(out.lines(),
              (std::vector<std::string>{"Model node structure:", "root", "  Armature", "    Bone1",
                                        "      Bone2", "        Bone3", "          End", "  Body"}));
}
