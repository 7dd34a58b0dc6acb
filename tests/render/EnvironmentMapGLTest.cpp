#include "render/Bloom.h"
#include "render/EnvironmentMap.h"
#include "render/RenderTestSupport.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include <filesystem>
#include <string>
#include <vector>

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
void writeFaces(const TempDir& dir) {
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
    TempDir dir;
    writeFaces(dir);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);

    Shader emap("res/shader/vsemap.shader", "res/shader/fsemap.shader");
    emap.setInt("emap", 0);
    EnvironmentMap environment;
    CoutCapture out;
    initEnvironmentMap(environment, dir.path());
    EXPECT_EQ(out.text(), "");

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
    GLint depthFunc = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    EXPECT_EQ(depthFunc, GL_LESS) << "the scene after the sky needs the usual depth test";

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
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_CUBE_MAP_TEXTURE_SIZE, &maxSide);
    struct Case {
        void (*spoil)(const TempDir&, int maxSide);
        std::vector<std::string> named;
    };
    const Case cases[] = {
        {[](const TempDir& d, int) { std::filesystem::remove(d.file("top.jpg")); }, {"top.jpg"}},
        // Sizes are judged from the header, before decoding: a small file claiming a huge square, and
        // one wider than the GL takes.
        {[](const TempDir& d, int side) {
             rendertest::writePngHeader(d.file("top.jpg"), 9000, 9000);
             rendertest::writePngHeader(d.file("left.jpg"), side + 1, side + 1);
         },
         {"left.jpg", "top.jpg"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.named.front());
        TempDir dir;
        writeFaces(dir);
        c.spoil(dir, maxSide);
        EnvironmentMap environment;
        CoutCapture out;
        initEnvironmentMap(environment, dir.path());
        std::vector<std::string> named;
        for (const std::string& line : out.lines())
            if (line.rfind("Cubemap tex failed to load at path: ", 0) == 0)
                named.push_back(line.substr(line.rfind('/') + 1));
        EXPECT_EQ(named, c.named) << out.text();
        EXPECT_NE(environment.cubemapTexture, 0u);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        // The faces that are fine still load: -y (bottom) is never spoilt here.
        GLint width = 0;
        glBindTexture(GL_TEXTURE_CUBE_MAP, environment.cubemapTexture);
        glGetTexLevelParameteriv(GL_TEXTURE_CUBE_MAP_NEGATIVE_Y, 0, GL_TEXTURE_WIDTH, &width);
        EXPECT_EQ(width, 8);
    }
}
