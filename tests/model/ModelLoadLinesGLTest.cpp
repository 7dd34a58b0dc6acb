// What loading a model prints comes mesh by mesh, and a copy standing for a second load of the
// same file prints it again.
#include "model/Model.h"

#include "SceneBuilder.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace testscene;

TEST(ModelLoadLines, EachMeshSaysItsMissingUvsThenItsTexturesAndACopySaysItAgain) {
    GLContext gl;
    ASSERT_TRUE(gl.ok());
    auto scene = newScene();
    addMaterial(scene.get(), {"first.png"});
    addMaterial(scene.get(), {"second.png"});
    MeshOptions noUvs;
    noUvs.uvs = false;
    addMesh(scene.get(), "A", 1, noUvs);
    noUvs.material = 1;
    addMesh(scene.get(), "B", 1, noUvs);
    attachMesh(addNode(scene->mRootNode, "A"), 0);
    attachMesh(addNode(scene->mRootNode, "B"), 1);
    const std::string path = "glorbit-model-lines-test.fbx";
    ASSERT_TRUE(writeScene(scene.get(), path, "fbxa"));

    CoutCapture out;
    Model model(path.c_str(), nullptr);
    model.repeatLoadLines(); // what the second enemy, a copy of the first, prints
    std::remove(path.c_str());
    ASSERT_EQ(model.meshes.size(), 2u);
    const std::vector<std::string> uvs(3, "Model from directory " + path + " hat keine Texturkoordinaten");
    std::vector<std::string> load = uvs;
    load.push_back("Texture failed to load at path: first.png");
    load.insert(load.end(), uvs.begin(), uvs.end());
    load.push_back("Texture failed to load at path: second.png");
    std::vector<std::string> twice = load;
    twice.insert(twice.end(), load.begin(), load.end());
    EXPECT_EQ(out.lines(), twice);
}
