#include "render/Shapes.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

TEST(ShapesGLTest, EveryShapeWearsItsOwnDefaultTextureAndOnlyTheStarAnnouncesBloom) {
    GLContext context;
    ASSERT_TRUE(context.ok());
    Shader lit; // the makers only keep the pointer
    CoutCapture out;
    const Model wall = makeBox(&lit, 60.0f, 10.0f, 2.5f, glm::vec4(1, 0, 0, 1));
    const Model bridge = makeCylinder(&lit, 15.0f, 200.0f, glm::vec4(0, 1, 1, 1));
    EXPECT_TRUE(out.lines().empty());
    const Model sphere = makeSphere(&lit, 2.0f, glm::vec4(1000.0f));
    EXPECT_EQ(out.lines(), std::vector<std::string>{"INIT BLOOM"});

    for (const Model* shape : {&wall, &bridge, &sphere}) {
        ASSERT_EQ(shape->meshes.size(), 1u);
        ASSERT_EQ(shape->meshes[0].textures.size(), 1u);
        EXPECT_EQ(shape->meshes[0].textures[0].id, shape->texturesLoaded.at(0).id);
        EXPECT_EQ(shape->shader, &lit);
    }
    EXPECT_NE(wall.texturesLoaded[0].id, sphere.texturesLoaded[0].id);
    // The uploaded element buffer holds the whole index list.
    GLint sphereIndexBytes = 0;
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, sphere.meshes[0].EBO);
    glGetBufferParameteriv(GL_ELEMENT_ARRAY_BUFFER, GL_BUFFER_SIZE, &sphereIndexBytes);
    EXPECT_EQ(sphereIndexBytes, static_cast<GLint>(sphere.meshes[0].indices.size() * 4));
}
