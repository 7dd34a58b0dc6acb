#include "render/Shader.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

std::string writeFile(const std::string& name, const std::string& text) {
    const std::string path = testing::TempDir() + name;
    std::ofstream(path) << text;
    return path;
}

const char* const VertexSource = R"(#version 440 core
layout(location = 0) in vec3 aPosition;
uniform mat4 modelMatrix;
uniform mat4 bones[3];
void main() { gl_Position = bones[1] * modelMatrix * vec4(aPosition, 1.0); }
)";

const char* const FragmentSource = R"(#version 440 core
uniform vec4 objCol;
uniform vec3 tint;
uniform float gain;
uniform int mode;
uniform mat3 normalMatrix;
layout(location = 0) out vec4 fragColor;
void main() { fragColor = objCol * gain + vec4(normalMatrix * tint, float(mode)); }
)";

class ShaderGL : public testing::Test {
protected:
    GLContext context;
    void SetUp() override { ASSERT_TRUE(context.ok()) << "no GL context (is DISPLAY set?)"; }
};

} // namespace

TEST_F(ShaderGL, SettersSendValuesAndReportMissingNames) {
    Shader shader(writeFile("a.vert", VertexSource), writeFile("a.frag", FragmentSource));
    Shader other(writeFile("b.vert", VertexSource), writeFile("b.frag", FragmentSource));
    ASSERT_NE(shader.ID, other.ID);

    other.use();
    shader.setVec4("objCol", glm::vec4(0.25f, 0.5f, 0.75f, 1.0f));
    GLfloat v[4] = {};
    glGetUniformfv(shader.ID, glGetUniformLocation(shader.ID, "objCol"), v);
    EXPECT_FLOAT_EQ(v[2], 0.75f);

    shader.setFloat("gain", 2.5f);
    shader.setInt("mode", 7);
    shader.setVec3("tint", glm::vec3(1, 2, 3));
    glm::mat3 n(1.0f);
    n[2][0] = 4.0f; // column 2, row 0: must arrive untransposed
    shader.setMat3("normalMatrix", n);
    GLfloat m3[9] = {};
    glGetUniformfv(shader.ID, glGetUniformLocation(shader.ID, "normalMatrix"), m3);
    EXPECT_FLOAT_EQ(m3[6], 4.0f);
    GLfloat tint[3] = {};
    glGetUniformfv(shader.ID, glGetUniformLocation(shader.ID, "tint"), tint);
    EXPECT_EQ(glm::vec3(tint[0], tint[1], tint[2]), glm::vec3(1, 2, 3));
    GLint mode = 0;
    glGetUniformiv(shader.ID, glGetUniformLocation(shader.ID, "mode"), &mode);
    EXPECT_EQ(mode, 7);

    // An array: the count is the vector's size; an empty vector sends nothing and raises no error.
    std::vector<glm::mat4> bones(3, glm::mat4(1.0f));
    bones[1][3][0] = 9.0f;
    shader.setMat4Array("bones", bones);
    GLfloat m4[16] = {};
    glGetUniformfv(shader.ID, glGetUniformLocation(shader.ID, "bones[1]"), m4);
    EXPECT_FLOAT_EQ(m4[12], 9.0f);
    while (glGetError() != GL_NO_ERROR) {
    }
    shader.setMat4Array("bones", {});
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glGetUniformfv(shader.ID, glGetUniformLocation(shader.ID, "bones[1]"), m4);
    EXPECT_FLOAT_EQ(m4[12], 9.0f);

    CoutCapture out;
    shader.setVec4("missingColour", glm::vec4(0.4f, 0.4f, 0.4f, 1.0f));
    shader.setMat4("missingMatrix", glm::mat4(1.0f));
    shader.setMat4Array("jointTransforms", bones);
    shader.setInt("missingInt", 1);
    const std::vector<std::string> expected = {
        "ERROR couldnt set vec4 uniform",
        "missingColour; Daten: vec4(0.400000, 0.400000, 0.400000, 1.000000)",
        "ERROR couldnt set mat4 uniform",
        "missingMatrix",
        "ERROR couldnt set std::vector<glm::mat4> uniform",
        "jointTransforms",
        "ERROR couldnt set int uniform",
        "missingInt"};
    EXPECT_EQ(out.lines(), expected);
}
