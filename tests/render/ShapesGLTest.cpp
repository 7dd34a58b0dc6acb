#include "render/Shapes.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

long countLines(const std::vector<std::string>& lines, const std::string& text) {
    return std::count(lines.begin(), lines.end(), text);
}

void expectFreshShape(const Model& model, Shader* shader, const glm::vec4& color) {
    ASSERT_EQ(model.meshes.size(), 1u);
    ASSERT_EQ(model.texturesLoaded.size(), 1u);
    ASSERT_EQ(model.meshes[0].textures.size(), 1u);
    EXPECT_EQ(model.texturesLoaded[0].type, "texture_diffuse");
    EXPECT_EQ(model.meshes[0].textures[0].id, model.texturesLoaded[0].id);
    EXPECT_NE(model.meshes[0].VAO, 0u);
    EXPECT_TRUE(model.directory.empty());
    EXPECT_EQ(model.objCol, color);
    EXPECT_EQ(model.shader, shader);
    EXPECT_EQ(model.materialCoefficients, glm::vec4(0.05f, 0.5f, 0.6f, 4.0f));
    EXPECT_EQ(model.modelMatrix, glm::mat4(1.0f));
    EXPECT_EQ(model.scale, glm::vec3(1.0f));
    EXPECT_EQ(model.quadVAO, 0u);
    EXPECT_EQ(model.bloomTargets, nullptr);
}

} // namespace

TEST(ShapesGLTest, EveryShapeWearsItsOwnDefaultTextureAndOnlyTheStarAnnouncesBloom) {
    GLContext context;
    ASSERT_TRUE(context.ok());
    Shader lit; // the makers only keep the pointer
    const glm::vec4 red(1.0f, 0.0f, 0.0f, 1.0f), star(1000.0f);

    CoutCapture out;
    const Model wall = makeBox(&lit, 60.0f, 10.0f, 2.5f, red);
    const Model otherWall = makeBox(&lit, 40.0f, 10.0f, 2.5f, red);
    const Model bridge = makeCylinder(&lit, 15.0f, 200.0f, glm::vec4(0.0f, 1.0f, 1.0f, 1.0f));
    EXPECT_EQ(countLines(out.lines(), "INIT BLOOM"), 0);
    const Model sphere = makeSphere(&lit, 2.0f, star);
    EXPECT_EQ(countLines(out.lines(), "INIT BLOOM"), 1);

    expectFreshShape(wall, &lit, red);
    expectFreshShape(bridge, &lit, glm::vec4(0.0f, 1.0f, 1.0f, 1.0f));
    expectFreshShape(sphere, &lit, star);
    EXPECT_NE(wall.texturesLoaded[0].id, otherWall.texturesLoaded[0].id);
    EXPECT_NE(wall.texturesLoaded[0].id, sphere.texturesLoaded[0].id);

    // The uploaded element buffers hold the whole index lists.
    GLint sphereIndexBytes = 0;
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, sphere.meshes[0].EBO);
    glGetBufferParameteriv(GL_ELEMENT_ARRAY_BUFFER, GL_BUFFER_SIZE, &sphereIndexBytes);
    EXPECT_EQ(sphereIndexBytes, 2880 * 4);
}
