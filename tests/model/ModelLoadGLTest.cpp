#include "model/Model.h"

#include "SceneBuilder.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace testscene;

namespace {

int countLines(const std::vector<std::string>& lines, const std::string& wanted) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), wanted));
}

} // namespace

TEST(ModelLoadGL, NodesRepeatMeshesOneImageServesEveryMeshNamingItAndTexturesTakeUnitsInOrder) {
    GLContext gl;
    ASSERT_TRUE(gl.ok());
    auto scene = newScene();
    addMaterial(scene.get(), {"shared.png"}, {"shine.png"});
    addMesh(scene.get(), "Rock", 1);
    addMesh(scene.get(), "Moss", 2);
    attachMesh(addNode(scene->mRootNode, "RockA"), 0);
    attachMesh(addNode(scene->mRootNode, "RockB"), 0);
    attachMesh(addNode(scene->mRootNode, "Moss"), 1);
    TempDir dir;
    const std::string path = dir.file("rocks.fbx");
    ASSERT_TRUE(writeScene(scene.get(), path, "fbxa"));

    CoutCapture out;
    Model model(path.c_str(), nullptr);
    EXPECT_EQ(model.meshes.size(), 3u);
    EXPECT_EQ(model.directory, dir.path());
    ASSERT_EQ(model.texturesLoaded.size(), 2u);
    EXPECT_EQ(countLines(out.lines(), "Texture failed to load at path: shared.png"), 1);
    for (const Mesh& mesh : model.meshes)
        EXPECT_EQ(mesh.textures.at(0).id, model.texturesLoaded[0].id);
    model.meshes[0].draw();
    for (GLuint unit : {1u, 0u}) {
        glActiveTexture(GL_TEXTURE0 + unit);
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<GLuint>(bound), model.meshes[0].textures.at(unit).id) << "unit " << unit;
    }
    EXPECT_EQ(model.meshes[2].indices.size(), 6u);

    // A second model naming the same file loads its own copy.
    Model other(path.c_str(), nullptr);
    EXPECT_NE(other.texturesLoaded[0].id, model.texturesLoaded[0].id);
}

TEST(ModelLoadGL, AStaticModelRefusesFilesItCannotDraw) {
    GLContext gl;
    ASSERT_TRUE(gl.ok());
    TempDir dir;
    {
        auto scene = newScene();
        addMaterial(scene.get(), {"t.png"});
        addMesh(scene.get(), "Good", 1);
        MeshOptions noNormals;
        noNormals.normals = false;
        addMesh(scene.get(), "Flat", 1, noNormals);
        attachMesh(addNode(scene->mRootNode, "Good"), 0);
        attachMesh(addNode(scene->mRootNode, "Flat"), 1);
        const std::string path = dir.file("flat.fbx");
        ASSERT_TRUE(writeScene(scene.get(), path, "fbxa"));
        CoutCapture out;
        Model model(path.c_str(), nullptr);
        // Refused before any texture is loaded or mesh uploaded: the good mesh does not stay behind.
        ASSERT_EQ(out.lines().size(), 1u);
        EXPECT_NE(out.lines()[0].find(path), std::string::npos) << out.lines()[0];
        EXPECT_TRUE(model.meshes.empty() && model.texturesLoaded.empty());
    }
}
