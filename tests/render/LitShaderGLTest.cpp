#include "render/Shader.h"
#include "render/Shapes.h"
#include "support/GLContext.h"

#include <glm/gtc/matrix_transform.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr int Size = 64;

// The scene pass's two outputs, in floating point like the game's target: colour and glow.
struct LitTarget {
    GLuint frameBuffer = 0, colour = 0, glow = 0, depth = 0;

    LitTarget() {
        glGenFramebuffers(1, &frameBuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, frameBuffer);
        for (GLuint* texture : {&colour, &glow}) {
            glGenTextures(1, texture);
            glBindTexture(GL_TEXTURE_2D, *texture);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, Size, Size, 0, GL_RGBA, GL_FLOAT, nullptr);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        }
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT1, GL_TEXTURE_2D, glow, 0);
        glGenRenderbuffers(1, &depth);
        glBindRenderbuffer(GL_RENDERBUFFER, depth);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, Size, Size);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
        const GLenum buffers[2] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};
        glDrawBuffers(2, buffers);
    }

    std::vector<float> read(GLenum attachment) const {
        std::vector<float> pixels(static_cast<size_t>(Size * Size * 4));
        glBindFramebuffer(GL_READ_FRAMEBUFFER, frameBuffer);
        glReadBuffer(attachment);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, Size, Size, GL_RGBA, GL_FLOAT, pixels.data());
        return pixels;
    }
};

float luminance(const float* rgb) {
    return 0.2126f * rgb[0] + 0.7152f * rgb[1] + 0.0722f * rgb[2];
}

// A texture whose every texel is white: the brightest a surface's own texture can make it.
GLuint whiteTexture() {
    GLuint id = 0;
    const unsigned char white[4] = {255, 255, 255, 255};
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    return id;
}

struct Seen {
    float brightest = 0.0f; // largest luminance of the colour output over the sphere
    int glowing = 0;        // pixels with anything in the glow output
    int covered = 0;        // pixels the sphere covers
};

// Draws the sphere from each of the six axis directions, so that every normal is seen.
Seen drawFromEverySide(Model& sphere, Shader& lit, const LitTarget& target) {
    Seen seen;
    const glm::vec3 sides[6] = {{6, 0, 0}, {-6, 0, 0}, {0, 6, 0.01f}, {0, -6, 0.01f}, {0, 0, 6}, {0, 0, -6}};
    for (const glm::vec3& eye : sides) {
        glBindFramebuffer(GL_FRAMEBUFFER, target.frameBuffer);
        glViewport(0, 0, Size, Size);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        lit.setMat4("viewProjMatrix", glm::perspective(glm::radians(45.0f), 1.0f, 0.1f, 50.0f) *
                                          glm::lookAt(eye, glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f)));
        lit.setVec3("camera_world", eye);
        sphere.draw();
        const std::vector<float> colour = target.read(GL_COLOR_ATTACHMENT0),
                                 glow = target.read(GL_COLOR_ATTACHMENT1);
        for (size_t p = 0; p < colour.size(); p += 4) {
            if (colour[p + 3] == 0.0f)
                continue; // the cleared background
            ++seen.covered;
            seen.brightest = std::max(seen.brightest, luminance(&colour[p]));
            seen.glowing += (glow[p] + glow[p + 1] + glow[p + 2]) > 0.0f ? 1 : 0;
        }
    }
    return seen;
}

struct Surface {
    const char* what;
    glm::vec4 colour;
    glm::vec4 coefficients;
    float brightestAllowed; // what the night alone may make of it at texture value 1
};

} // namespace

// The glow pass only takes what the star lights: the night's own light (sky, ground and moon) must
// keep every surface of the level well under the glow threshold, even a pure white texel, while
// still lighting the level enough to read.
TEST(LitShaderGLTest, TheNightAloneNeverMakesASurfaceGlowButTheStarStillDoes) {
    GLContext context(Size, Size);
    ASSERT_TRUE(context.ok());
    CoutCapture out;
    Shader lit("res/shader/texture.vert", "res/shader/texture.frag");
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    lit.setVec3("pointL.attenuation", glm::vec3(0.6f, 0.2f, 0.05f));
    lit.setVec3("pointL.color", glm::vec3(0.98f, 0.95f, 0.8f));
    LitTarget target;
    const GLuint white = whiteTexture();

    const glm::vec4 usual(0.05f, 0.5f, 0.6f, 4.0f);
    const Surface surfaces[] = {
        {"untinted model", glm::vec4(0.0f), usual, 0.64f},
        {"red wall", glm::vec4(1.0f, 0.0f, 0.0f, 1.0f), usual, 0.14f},
        {"ground", glm::vec4(0.31f, 0.25f, 0.123f, 1.0f), usual, 0.17f},
        {"bridge", glm::vec4(0.0f, 1.0f, 1.0f, 1.0f), glm::vec4(0.02f, 0.01f, 0.7f, 2.0f), 0.35f},
    };
    for (const Surface& s : surfaces) {
        Model sphere = makeSphere(&lit, 2.0f, s.colour);
        sphere.meshes[0].textures[0].id = white;
        sphere.materialCoefficients = s.coefficients;

        // The star switched off: only the night lights the sphere.
        lit.setFloat("pointL.brightness", 0.0f);
        lit.setVec3("pointL.position", glm::vec3(0.0f, 0.0f, 40.0f));
        const Seen night = drawFromEverySide(sphere, lit, target);
        ASSERT_GT(night.covered, 6 * 500) << s.what;
        EXPECT_EQ(night.glowing, 0) << s.what;
        EXPECT_LE(night.brightest, s.brightestAllowed) << s.what;
        // Readable away from the star: not far under the bound either.
        EXPECT_GE(night.brightest, 0.8f * s.brightestAllowed) << s.what;

        // The star beside the sphere: its highlight still reaches the glow output.
        lit.setFloat("pointL.brightness", 1.0f);
        lit.setVec3("pointL.position", glm::vec3(0.0f, 0.0f, 3.0f));
        const Seen starlit = drawFromEverySide(sphere, lit, target);
        EXPECT_GT(starlit.glowing, 0) << s.what;
        EXPECT_GT(starlit.brightest, 1.0f) << s.what;
    }
    EXPECT_EQ(out.text().find("ERROR"), std::string::npos) << out.text();
}
