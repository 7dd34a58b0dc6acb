#include "render/Bloom.h"
#include "render/EnvironmentMap.h"
#include "render/RenderTestSupport.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include <chrono>
#include <string>
#include <vector>

using rendertest::ScratchDir;

namespace {

std::vector<unsigned char> solid(int width, int height, std::vector<unsigned char> texel) {
    std::vector<unsigned char> pixels;
    for (int i = 0; i < width * height; ++i)
        pixels.insert(pixels.end(), texel.begin(), texel.end());
    return pixels;
}

// Six solid faces with telling colours. The files keep the game's .jpg names but hold PNG data
// (the decoder goes by content), so the colours survive exactly and faces can have 1 to 4
// channels: the back face, which a camera at rest looks at, is grey with one channel, the front
// face has four.
void writeFaces(const ScratchDir& dir) {
    const int s = 8;
    rendertest::writePng(dir.file("right.jpg"), s, s, 3, solid(s, s, {200, 30, 30}));
    rendertest::writePng(dir.file("left.jpg"), s, s, 3, solid(s, s, {30, 200, 30}));
    rendertest::writePng(dir.file("top.jpg"), s, s, 2, solid(s, s, {90, 255}));
    rendertest::writePng(dir.file("bottom.jpg"), s, s, 3, solid(s, s, {200, 200, 30}));
    rendertest::writePng(dir.file("front.jpg"), s, s, 4, solid(s, s, {180, 40, 160, 255}));
    rendertest::writePng(dir.file("back.jpg"), s, s, 1, solid(s, s, {128}));
}

Pixel centreOf(GLenum attachment) {
    glReadBuffer(attachment);
    return readPixel(16, 16);
}

} // namespace

TEST(EnvironmentMapGLTest, SkyShowsTheFaceInViewAtTheFarPlaneAndRestoresState) {
    GLContext context(32, 32);
    ASSERT_TRUE(context.ok());
    ScratchDir dir("emap-draw");
    writeFaces(dir);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);

    Shader emap("res/shader/vsemap.shader", "res/shader/fsemap.shader");
    emap.setInt("emap", 0);
    EnvironmentMap environment;
    CoutCapture out;
    initEnvironmentMap(environment, dir.path());
    EXPECT_EQ(out.text(), "");
    GLint cubeOnUnit0 = 0;
    glActiveTexture(GL_TEXTURE0);
    glGetIntegerv(GL_TEXTURE_BINDING_CUBE_MAP, &cubeOnUnit0);
    EXPECT_EQ(static_cast<GLuint>(cubeOnUnit0), environment.cubemapTexture);

    BloomTargets targets;
    Model carrier;
    initBloom(targets, carrier, 32, 32);
    glViewport(0, 0, 32, 32);
    const glm::mat4 projection = glm::perspective(glm::radians(90.0f), 1.0f, 0.1f, 100.0f);
    emap.setMat4("projectionMatrix", projection);
    // The camera stands far from the origin: the sky must not care.
    const glm::vec3 eye(300.0f, -50.0f, 80.0f);

    auto drawLookingAlong = [&](const glm::vec3& forward, const glm::vec3& up, float clearDepth) {
        glBindFramebuffer(GL_FRAMEBUFFER, targets.hdrFBO);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClearDepth(clearDepth);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        emap.setMat4("viewMatrix", skyboxViewMatrix(glm::lookAt(eye, eye + forward, up)));
        drawSkybox(environment, emap);
    };

    drawLookingAlong({0, 0, -1}, {0, 1, 0}, 1.0f);
    GLint depthFunc = 0, vertexArray = -1;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertexArray);
    EXPECT_EQ(depthFunc, GL_LESS);
    EXPECT_EQ(vertexArray, 0);

    const Pixel back = centreOf(GL_COLOR_ATTACHMENT0);
    EXPECT_NEAR(back.r, 128, 1); // one grey channel shown as grey, not red
    EXPECT_NEAR(back.g, 128, 1);
    EXPECT_NEAR(back.b, 128, 1);
    const Pixel glow = centreOf(GL_COLOR_ATTACHMENT1);
    EXPECT_EQ(glow.r + glow.g + glow.b, 0) << "an ordinary sky must not glow";

    drawLookingAlong({0, 0, 1}, {0, 1, 0}, 1.0f);
    const Pixel front = centreOf(GL_COLOR_ATTACHMENT0);
    EXPECT_NEAR(front.r, 180, 1);
    EXPECT_NEAR(front.g, 40, 1);
    EXPECT_NEAR(front.b, 160, 1);

    drawLookingAlong({0, 1, 0}, {0, 0, 1}, 1.0f);
    const Pixel top = centreOf(GL_COLOR_ATTACHMENT0);
    EXPECT_NEAR(top.r, 90, 1);
    EXPECT_NEAR(top.b, 90, 1);

    // Anything already drawn, however far, stays in front of the sky.
    drawLookingAlong({0, 0, -1}, {0, 1, 0}, 0.999f);
    const Pixel hidden = centreOf(GL_COLOR_ATTACHMENT0);
    EXPECT_EQ(hidden.r + hidden.g + hidden.b, 0);
}

TEST(EnvironmentMapGLTest, EachUnusableFaceIsNamedOnceAndTheRestStillLoads) {
    GLContext context;
    ASSERT_TRUE(context.ok());
    {
        ScratchDir dir("emap-missing");
        writeFaces(dir);
        std::filesystem::remove(dir.file("top.jpg"));
        EnvironmentMap environment;
        CoutCapture out;
        initEnvironmentMap(environment, dir.path());
        const std::vector<std::string> expected = {"Cubemap tex failed to load at path: " + dir.path() +
                                                   "/top.jpg"};
        EXPECT_EQ(out.lines(), expected);
        EXPECT_NE(environment.cubemapTexture, 0u);
        GLint rightWidth = 0;
        glBindTexture(GL_TEXTURE_CUBE_MAP, environment.cubemapTexture);
        glGetTexLevelParameteriv(GL_TEXTURE_CUBE_MAP_POSITIVE_X, 0, GL_TEXTURE_WIDTH, &rightWidth);
        EXPECT_EQ(rightWidth, 8);
    }
    {
        // A face that is not square, or not the size of the others, cannot join a cube map.
        ScratchDir dir("emap-shape");
        writeFaces(dir);
        rendertest::writePng(dir.file("front.jpg"), 8, 4, 3, solid(8, 4, {1, 2, 3}));
        rendertest::writePng(dir.file("back.jpg"), 16, 16, 3, solid(16, 16, {1, 2, 3}));
        EnvironmentMap environment;
        CoutCapture out;
        initEnvironmentMap(environment, dir.path());
        const std::vector<std::string> expected = {
            "Cubemap tex failed to load at path: " + dir.path() + "/front.jpg",
            "Sky face " + dir.path() + "/front.jpg is 8x4, not square",
            "Cubemap tex failed to load at path: " + dir.path() + "/back.jpg",
            "Sky face " + dir.path() + "/back.jpg is 16x16, the other faces are 8x8"};
        EXPECT_EQ(out.lines(), expected);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    {
        // The first face alone of another size: it is the one named, and the other five load.
        ScratchDir dir("emap-odd-first");
        writeFaces(dir);
        rendertest::writePng(dir.file("right.jpg"), 4, 4, 3, solid(4, 4, {1, 2, 3}));
        EnvironmentMap environment;
        CoutCapture out;
        initEnvironmentMap(environment, dir.path());
        const std::vector<std::string> expected = {
            "Cubemap tex failed to load at path: " + dir.path() + "/right.jpg",
            "Sky face " + dir.path() + "/right.jpg is 4x4, the other faces are 8x8"};
        EXPECT_EQ(out.lines(), expected);
        GLint leftWidth = 0;
        glBindTexture(GL_TEXTURE_CUBE_MAP, environment.cubemapTexture);
        glGetTexLevelParameteriv(GL_TEXTURE_CUBE_MAP_NEGATIVE_X, 0, GL_TEXTURE_WIDTH, &leftWidth);
        EXPECT_EQ(leftWidth, 8);
    }
    {
        // Sizes are judged from the header, before decoding: a small file claiming a huge square
        // is refused at once, and so is one wider than the GL takes.
        GLint maxSide = 0;
        glGetIntegerv(GL_MAX_CUBE_MAP_TEXTURE_SIZE, &maxSide);
        ScratchDir dir("emap-huge");
        writeFaces(dir);
        rendertest::writePngHeader(dir.file("top.jpg"), 9000, 9000);
        rendertest::writePngHeader(dir.file("left.jpg"), maxSide + 1, maxSide + 1);
        EnvironmentMap environment;
        CoutCapture out;
        const auto start = std::chrono::steady_clock::now();
        initEnvironmentMap(environment, dir.path());
        EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 2.0);
        const std::string side = std::to_string(maxSide + 1);
        const std::vector<std::string> expected = {
            "Cubemap tex failed to load at path: " + dir.path() + "/left.jpg",
            "Sky face " + dir.path() + "/left.jpg is " + side + "x" + side +
                " pixels, the GL takes at most " + std::to_string(maxSide) + " a side",
            "Cubemap tex failed to load at path: " + dir.path() + "/top.jpg",
            "Sky face " + dir.path() +
                "/top.jpg is 9000x9000 pixels, more than the 67108864 an image may have"};
        EXPECT_EQ(out.lines(), expected);
    }
}
