#include "model/Model.h"

#include "SceneBuilder.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

using namespace testscene;

namespace {

int countLines(const std::vector<std::string>& lines, const std::string& wanted) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), wanted));
}

GLint attribute(GLuint location, GLenum what) {
    GLint value = 0;
    glGetVertexAttribiv(location, what, &value);
    return value;
}

std::size_t attributeOffset(GLuint location) {
    void* pointer = nullptr;
    glGetVertexAttribPointerv(location, GL_VERTEX_ATTRIB_ARRAY_POINTER, &pointer);
    return reinterpret_cast<std::size_t>(pointer);
}

} // namespace

TEST(ModelLoadGL, MeshUploadRecordsTheVertexFormat) {
    GLContext gl;
    ASSERT_TRUE(gl.ok());
    std::vector<SkinnedVertex> vertices(3);
    SkinnedMesh mesh(vertices, {0, 1, 2}, {});
    ASSERT_NE(mesh.VAO, 0u);
    EXPECT_NE(mesh.VBO, mesh.EBO);
    GLint bound = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &bound);
    EXPECT_EQ(bound, 0);

    glBindVertexArray(mesh.VAO);
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), mesh.EBO);
    const GLint sizes[5] = {3, 3, 2, 3, 3};
    const std::size_t offsets[5] = {0, 12, 24, 32, 44};
    for (GLuint location = 0; location < 5; ++location) {
        EXPECT_EQ(attribute(location, GL_VERTEX_ATTRIB_ARRAY_ENABLED), GL_TRUE) << location;
        EXPECT_EQ(attribute(location, GL_VERTEX_ATTRIB_ARRAY_SIZE), sizes[location]) << location;
        EXPECT_EQ(attribute(location, GL_VERTEX_ATTRIB_ARRAY_STRIDE), 56) << location;
        EXPECT_EQ(attributeOffset(location), offsets[location]) << location;
        EXPECT_EQ(attribute(location, GL_VERTEX_ATTRIB_ARRAY_NORMALIZED), GL_FALSE) << location;
        // Joint ids must arrive as integers, everything else as floats.
        EXPECT_EQ(attribute(location, GL_VERTEX_ATTRIB_ARRAY_INTEGER), location == 3 ? GL_TRUE : GL_FALSE)
            << location;
        EXPECT_EQ(attribute(location, GL_VERTEX_ATTRIB_ARRAY_TYPE), location == 3 ? GL_INT : GL_FLOAT)
            << location;
    }
    GLint bytes = 0;
    glBindBuffer(GL_ARRAY_BUFFER, mesh.VBO);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &bytes);
    EXPECT_EQ(bytes, 3 * 56);

    std::vector<Vertex> plain(4);
    Mesh flat(plain, {0, 1, 2, 2, 1, 3}, {});
    glBindVertexArray(flat.VAO);
    EXPECT_EQ(attribute(2, GL_VERTEX_ATTRIB_ARRAY_STRIDE), 32);
    EXPECT_EQ(attribute(3, GL_VERTEX_ATTRIB_ARRAY_ENABLED), GL_FALSE);
    glBindVertexArray(0);
}

TEST(ModelLoadGL, NodesRepeatMeshesAndOneImageServesEveryMeshNamingIt) {
    GLContext gl;
    ASSERT_TRUE(gl.ok());
    auto scene = newScene();
    addMaterial(scene.get(), {"shared.png"});
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
    ASSERT_EQ(model.texturesLoaded.size(), 1u);
    EXPECT_EQ(countLines(out.lines(), "Texture failed to load at path: shared.png"), 1);
    for (const Mesh& mesh : model.meshes) {
        ASSERT_EQ(mesh.textures.size(), 1u);
        EXPECT_EQ(mesh.textures[0].id, model.texturesLoaded[0].id);
        EXPECT_EQ(mesh.textures[0].path, "shared.png");
        EXPECT_EQ(mesh.textures[0].type, "texture_diffuse");
    }
    EXPECT_NE(model.texturesLoaded[0].id, 0u);
    EXPECT_EQ(model.meshes[2].indices.size(), 6u);
    EXPECT_EQ(model.objCol, glm::vec4(0.0f));
    EXPECT_EQ(model.materialCoefficients, glm::vec4(0.05f, 0.5f, 0.6f, 4.0f));
    EXPECT_EQ(model.quadVAO, 0u);

    // A second model naming the same file loads its own copy.
    Model other(path.c_str(), nullptr);
    EXPECT_NE(other.texturesLoaded[0].id, model.texturesLoaded[0].id);
}

TEST(ModelLoadGL, MaterialTexturesBindToUnitsInOrder) {
    GLContext gl;
    ASSERT_TRUE(gl.ok());
    auto scene = newScene();
    addMaterial(scene.get(), {"d0.png", "d1.png"}, {"s0.png"});
    addMesh(scene.get(), "M", 1);
    attachMesh(addNode(scene->mRootNode, "M"), 0);
    TempDir dir;
    // FBX keeps one texture per slot; this scene format keeps the whole material.
    const std::string path = dir.file("layers.assbin");
    ASSERT_TRUE(writeScene(scene.get(), path, "assbin"));

    CoutCapture out;
    Model model(path.c_str(), nullptr);
    ASSERT_EQ(model.meshes.size(), 1u);
    const Mesh& mesh = model.meshes[0];
    ASSERT_EQ(mesh.textures.size(), 3u);
    EXPECT_EQ(mesh.textures[0].path, "d0.png");
    EXPECT_EQ(mesh.textures[1].path, "d1.png");
    EXPECT_EQ(mesh.textures[2].path, "s0.png");
    EXPECT_EQ(mesh.textures[2].type, "texture_specular");

    mesh.draw();
    for (GLuint unit = 0; unit < 3; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<GLuint>(bound), mesh.textures[unit].id) << unit;
    }
    glActiveTexture(GL_TEXTURE0);
}

TEST(ModelLoadGL, MissingUvsPrintPerVertexAndBarePathsAreTheirOwnDirectory) {
    GLContext gl;
    ASSERT_TRUE(gl.ok());
    auto scene = newScene();
    addMaterial(scene.get(), {"bare.png"});
    MeshOptions noUvs;
    noUvs.uvs = false;
    addMesh(scene.get(), "M", 2, noUvs);
    attachMesh(addNode(scene->mRootNode, "M"), 0);
    // Written into the working folder, so that the path has no '/'.
    const std::string path = "glorbit-model-test-bare.fbx";
    ASSERT_TRUE(writeScene(scene.get(), path, "fbxa"));

    CoutCapture out;
    Model model(path.c_str(), nullptr);
    std::remove(path.c_str());
    EXPECT_EQ(model.directory, path);
    ASSERT_EQ(model.meshes.size(), 1u);
    EXPECT_EQ(countLines(out.lines(), "Model from directory " + path + " hat keine Texturkoordinaten"),
              static_cast<int>(model.meshes[0].vertices.size()));
    EXPECT_EQ(model.meshes[0].vertices.size(), 6u);
    EXPECT_EQ(model.meshes[0].vertices[3].texCoords, glm::vec2(0.0f));
}

TEST(ModelLoadGL, AStaticModelRefusesFilesItCannotDraw) {
    GLContext gl;
    ASSERT_TRUE(gl.ok());
    TempDir dir;
    {
        CoutCapture out;
        const std::string path = dir.file("absent.fbx");
        Model model(path.c_str(), nullptr);
        ASSERT_EQ(out.lines().size(), 2u);
        EXPECT_EQ(out.lines()[0].rfind("ERROR::ASSIMP::1", 0), 0u) << out.lines()[0];
        EXPECT_EQ(out.lines()[1],
                  "Model file " + path +
                      " refused: Assimp could not read it; the game goes on with an empty model");
        EXPECT_TRUE(model.meshes.empty());
        EXPECT_EQ(model.materialCoefficients, glm::vec4(0.05f, 0.5f, 0.6f, 4.0f));
    }
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
        EXPECT_EQ(out.lines(),
                  std::vector<std::string>{"Model file " + path +
                                           " refused: mesh \"Flat\" has no normals; the game goes on with an "
                                           "empty model"});
        EXPECT_TRUE(model.meshes.empty());
        EXPECT_TRUE(model.texturesLoaded.empty());
    }
}
