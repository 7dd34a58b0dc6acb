#include "TestPaths.h"
#include "render/Bloom.h"
#include "render/RenderTestSupport.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <stb_image.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The star's model with the two bloom programs and the targets, as the start-up wires them.
// Not movable: the model keeps a pointer to the targets.
struct BloomRig {
    Shader blur{"res/shader/2vsbloom.shader", "res/shader/2fsbloom.shader"};
    Shader combine{"res/shader/3vsbloom.shader", "res/shader/3fsbloom.shader"};
    BloomTargets targets;
    Model star;

    BloomRig(int width, int height) {
        CoutCapture quiet;
        initBloom(targets, star, width, height);
        star.blurShader = &blur;
        star.combineShader = &combine;
        blur.setInt("image", 0);
        combine.setInt("scene", 0);
        combine.setInt("bloomBlur", 1);
        glViewport(0, 0, width, height);
    }
    BloomRig(const BloomRig&) = delete;
    BloomRig& operator=(const BloomRig&) = delete;

    // Scene image: one colour everywhere; glow image: black but for one bright square.
    void paint(const glm::vec4& scene, const glm::vec4& glow, int x, int y, int size,
               const glm::vec4& sceneSquare) const {
        const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        glClearTexImage(targets.colorBuffers[0], 0, GL_RGBA, GL_FLOAT, &scene[0]);
        glClearTexSubImage(targets.colorBuffers[0], 0, x, y, 0, size, size, 1, GL_RGBA, GL_FLOAT,
                           &sceneSquare[0]);
        glClearTexImage(targets.colorBuffers[1], 0, GL_RGBA, GL_FLOAT, black);
        glClearTexSubImage(targets.colorBuffers[1], 0, x, y, 0, size, size, 1, GL_RGBA, GL_FLOAT, &glow[0]);
    }
};

glm::ivec2 textureSize(GLuint texture) {
    glm::ivec2 size;
    rendertest::readTexture(texture, &size.x, &size.y);
    return size;
}

void expectSizes(const BloomTargets& t, glm::ivec2 scene, glm::ivec2 blur) {
    for (GLuint texture : {t.colorBuffers[0], t.colorBuffers[1]})
        EXPECT_EQ(textureSize(texture), scene);
    for (GLuint texture : {t.pingpongColorbuffers[0], t.pingpongColorbuffers[1]})
        EXPECT_EQ(textureSize(texture), blur);
    for (GLuint framebuffer : {t.hdrFBO, t.pingpongFBO[0], t.pingpongFBO[1]}) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

float red(const std::vector<float>& texels, int width, int x, int y) {
    return texels[static_cast<size_t>(y * width + x) * 4];
}

} // namespace

TEST(BloomGLTest, TargetsAreBuiltAtTheFramebufferSizeAndFollowAResize) {
    GLContext context(64, 48);
    ASSERT_TRUE(context.ok());
    {
        BloomTargets targets;
        Model star;
        CoutCapture out;
        initBloom(targets, star, 64, 48);
        EXPECT_EQ(out.lines(), (std::vector<std::string>{"IN INIT BLOOM", "INIT BLOOM: done"}));
        EXPECT_EQ(star.bloomTargets, &targets);
        expectSizes(targets, {64, 48}, {32, 24});
        // A window that starts minimised still gets usable one-texel targets.
        BloomTargets tiny;
        initBloom(tiny, star, 0, 0);
        expectSizes(tiny, {1, 1}, {1, 1});
    }

    BloomRig rig(64, 48);
    const BloomTargets before = rig.targets;
    resizeBloom(rig.targets, 64, 61);

    // Same names, so the copies in the star's model stay valid; new storage behind them.
    EXPECT_EQ(rig.targets.hdrFBO, before.hdrFBO);
    EXPECT_EQ(rig.targets.pingpongColorbuffers[0], before.pingpongColorbuffers[0]);
    expectSizes(rig.targets, {64, 61}, {32, 31});

    resizeBloom(rig.targets, 0, 0);
    expectSizes(rig.targets, {64, 61}, {32, 31});

    // A frame while minimised (0 x 0 viewport) runs, and the next normal frame still glows.
    glViewport(0, 0, 0, 0);
    rig.paint(glm::vec4(0.0f), glm::vec4(4.0f), 40, 20, 10, glm::vec4(0.0f));
    rig.star.drawBloom();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    resizeBloom(rig.targets, 64, 48);
    glViewport(0, 0, 64, 48);
    rig.paint(glm::vec4(0.0f), glm::vec4(4.0f), 27, 19, 10, glm::vec4(0.0f));
    rig.star.drawBloom();
    EXPECT_GT(readPixel(32, 24).r, 200);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(BloomGLTest, BlurStartsFromTheGlowImageAndSpreadsEvenly) {
    GLContext context(64, 64);
    ASSERT_TRUE(context.ok());
    BloomRig rig(64, 64);

    // Bright scene, no glow: nothing may reach the blur.
    rig.paint(glm::vec4(50.0f), glm::vec4(0.0f), 28, 28, 8, glm::vec4(50.0f));
    rig.star.drawBloom();
    int w = 0;
    std::vector<float> result = rendertest::readTexture(rig.targets.pingpongColorbuffers[0], &w);
    float brightest = 0.0f;
    for (size_t i = 0; i < result.size(); i += 4)
        brightest = std::max(brightest, result[i]);
    EXPECT_EQ(brightest, 0.0f);

    // Glow only: the last result holds it, spread beyond the square by the same amount in x and y.
    rig.paint(glm::vec4(0.0f), glm::vec4(6.0f), 28, 28, 8, glm::vec4(0.0f));
    rig.star.drawBloom();
    result = rendertest::readTexture(rig.targets.pingpongColorbuffers[0], &w);
    ASSERT_EQ(w, 32);
    const float centre = red(result, w, 16, 16);
    const float right = red(result, w, 16 + 5, 16), above = red(result, w, 16, 16 + 5);
    EXPECT_GT(centre, 3.0f);
    EXPECT_LT(centre, 6.0f);
    EXPECT_GT(right, 0.01f);
    EXPECT_NEAR(right, above, 0.02f * centre);
    // The square's centre lies between texels 15 and 16, so texel 10 mirrors texel 21.
    EXPECT_NEAR(red(result, w, 15 - 5, 16), right, 0.02f * centre);
}

// The whole pass against a stored picture: a bright square with its glow over a dim scene. A
// broken blur (hard edges, one direction only) or a broken combine (no glow added, no tone
// mapping, no gamma) changes many pixels by far more than the thresholds.
TEST(BloomGLTest, CombinedImageMatchesGolden) {
    constexpr int Size = 64;
    GLContext context(Size, Size);
    ASSERT_TRUE(context.ok());
    BloomRig rig(Size, Size);
    rig.paint(glm::vec4(0.05f, 0.1f, 0.2f, 1.0f), glm::vec4(6.0f, 5.0f, 3.0f, 1.0f), 20, 30, 10,
              glm::vec4(1000.0f));
    rig.star.drawBloom();

    // Top row first, as image files are.
    const std::vector<unsigned char> bottomUp = rendertest::readWindow(Size, Size);
    std::vector<unsigned char> image(bottomUp.size());
    for (int y = 0; y < Size; ++y)
        std::copy_n(&bottomUp[static_cast<size_t>((Size - 1 - y) * Size * 4)], Size * 4,
                    &image[static_cast<size_t>(y * Size * 4)]);

    // Independent of the stored picture: the square is white, far away the tone-mapped, gamma-encoded
    // background remains, and right next to the square the glow lifts it.
    auto at = [&](int x, int y, int c) { return int(bottomUp[static_cast<size_t>((y * Size + x) * 4 + c)]); };
    const int backgroundBlue = int(std::lround(255.0 * std::pow(1.0 - std::exp(-0.2), 1.0 / 2.2)));
    EXPECT_EQ(at(25, 35, 0), 255);
    EXPECT_NEAR(at(60, 4, 2), backgroundBlue, 1);
    EXPECT_GT(at(32, 35, 0), at(60, 4, 0) + 40);

    const std::string golden = std::string(testpaths::GoldenFolder) + "/bloom_square_64.png";
    if (std::getenv("GLORBIT_WRITE_GOLDEN")) {
        rendertest::writePng(golden, Size, Size, 4, image);
        GTEST_SKIP() << "wrote " << golden << "; review it before committing";
    }
    int w = 0, h = 0, channels = 0;
    unsigned char* stored = stbi_load(golden.c_str(), &w, &h, &channels, 4);
    ASSERT_NE(stored, nullptr) << golden << " is missing; run with GLORBIT_WRITE_GOLDEN=1 to create it";
    ASSERT_EQ(w, Size);
    ASSERT_EQ(h, Size);
    int maxDiff = 0;
    double sum = 0.0;
    for (size_t i = 0; i < image.size(); ++i) {
        if (i % 4 == 3)
            continue;
        const int diff = std::abs(int(image[i]) - int(stored[i]));
        maxDiff = std::max(maxDiff, diff);
        sum += diff;
    }
    stbi_image_free(stored);
    const double mean = sum / (Size * Size * 3);
    EXPECT_LE(maxDiff, 8) << "mean " << mean;
    EXPECT_LE(mean, 0.5) << "max " << maxDiff;
}

// Wireframe is for the scene only: the pass fills the window as usual and hands the line mode back.
TEST(BloomGLTest, WireframeLeavesThePassFilled) {
    constexpr int Size = 32;
    GLContext context(Size, Size);
    ASSERT_TRUE(context.ok());
    BloomRig rig(Size, Size);
    rig.paint(glm::vec4(0.2f, 0.4f, 0.6f, 1.0f), glm::vec4(0.0f), 0, 0, 1, glm::vec4(0.2f, 0.4f, 0.6f, 1.0f));
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    rig.star.drawBloom();
    GLint mode[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_LINE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    // A pixel away from the quad's diagonal: drawn as lines it would stay cleared (black).
    const std::vector<unsigned char> window = rendertest::readWindow(Size, Size);
    const size_t offCorner = static_cast<size_t>((4 * Size + 26) * 4);
    EXPECT_GT(int(window[offCorner + 2]), 100);
}
