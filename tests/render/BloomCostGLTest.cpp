// Not a check but a measurement, run on demand:
//   xvfb-run -a -s "-screen 0 1280x1024x24" ./tests/glorbit_gl_tests
//       --gtest_also_run_disabled_tests --gtest_filter='BloomCost*'
// Prints what the glow pass costs at 1280 x 768 with the blur at full, half and quarter size, and
// how far each reduced size is from the full-size look (in 8-bit window values).

#include "render/RenderTestSupport.h"
#include "support/GLContext.h"

#include "model/Model.h"
#include "render/Bloom.h"
#include "render/Shader.h"

#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

constexpr int Width = 1280, Height = 768;
constexpr int TimedFrames = 20;

// The classic nine-texel Gaussian at full size: the look the reduced sizes are measured against.
const char* const ReferenceBlur = R"(#version 440 core
layout(location = 0) in vec2 texCoords;
uniform sampler2D image;
uniform int horizontal;
layout(location = 0) out vec4 fragColor;
const float W[5] = float[](0.2270270270, 0.1945945946, 0.1216216216, 0.0540540541, 0.0162162162);
void main() {
    vec2 texel = 1.0 / vec2(textureSize(image, 0));
    vec2 along = horizontal == 1 ? vec2(texel.x, 0.0) : vec2(0.0, texel.y);
    vec3 sum = texture(image, texCoords).rgb * W[0];
    for (int i = 1; i < 5; ++i)
        sum += (texture(image, texCoords + along * float(i)).rgb + texture(image, texCoords - along * float(i)).rgb) * W[i];
    fragColor = vec4(sum, 1.0);
}
)";

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A scene like the game's: a dark level, the star as a disc of 1000 whose glow image holds the
// capped value 6, and a far-away star only a few pixels wide.
void fillScene(const BloomTargets& targets) {
    std::vector<float> scene(static_cast<size_t>(targets.width * targets.height * 4));
    std::vector<float> glow(scene.size(), 0.0f);
    auto disc = [&](float cx, float cy, float radius) {
        for (int y = 0; y < targets.height; ++y)
            for (int x = 0; x < targets.width; ++x) {
                const float dx = static_cast<float>(x) + 0.5f - cx, dy = static_cast<float>(y) + 0.5f - cy;
                if (dx * dx + dy * dy > radius * radius)
                    continue;
                const size_t i = static_cast<size_t>(y * targets.width + x) * 4;
                std::fill_n(&scene[i], 3, 1000.0f);
                std::fill_n(&glow[i], 3, 6.0f);
            }
    };
    for (size_t i = 0; i < scene.size(); i += 4) {
        scene[i] = 0.02f;
        scene[i + 1] = 0.03f;
        scene[i + 2] = 0.06f;
        scene[i + 3] = 1.0f;
    }
    disc(640.0f, 384.0f, 24.0f);
    disc(301.3f, 517.7f, 2.5f);
    glBindTexture(GL_TEXTURE_2D, targets.colorBuffers[0]);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, targets.width, targets.height, GL_RGBA, GL_FLOAT, scene.data());
    glBindTexture(GL_TEXTURE_2D, targets.colorBuffers[1]);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, targets.width, targets.height, GL_RGBA, GL_FLOAT, glow.data());
}

// The pass as first written: full size, and a mipmap chain built from every source each pass.
void drawBloomWithMipmaps(Model& star) {
    star.blurShader->use();
    glActiveTexture(GL_TEXTURE0);
    bool horizontal = true, first = true;
    for (int pass = 0; pass < BloomBlurPasses; ++pass) {
        glBindFramebuffer(GL_FRAMEBUFFER, star.pingpongFBO[horizontal ? 1 : 0]);
        star.blurShader->setInt("horizontal", horizontal ? 1 : 0);
        glBindTexture(GL_TEXTURE_2D,
                      first ? star.colorBuffers[1] : star.pingpongColorbuffers[horizontal ? 0 : 1]);
        glGenerateMipmap(GL_TEXTURE_2D);
        star.renderQuad();
        horizontal = !horizontal;
        first = false;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    star.combineShader->use();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, star.colorBuffers[0]);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, star.pingpongColorbuffers[0]);
    star.combineShader->setInt("bloom", 1);
    star.combineShader->setFloat("exposure", 1.0f);
    star.renderQuad();
}

struct PassRun {
    double msPerFrame = 0.0;
    std::vector<unsigned char> image;
};

enum class Pass { Bloom, BloomWithMipmaps, CombineOnly };

PassRun run(Shader& blur, Shader& combine, int downscale, Pass pass, int frames) {
    static BloomTargets targets[8]; // the model keeps a pointer; never reused while in use
    static int next = 0;
    BloomTargets& t = targets[next++ % 8];
    t = BloomTargets{};
    t.downscale = downscale;
    Model star;
    star.blurShader = &blur;
    star.combineShader = &combine;
    {
        CoutCapture quiet; // the set-up lines of every run would bury the table
        initBloom(t, star, Width, Height);
    }
    fillScene(t);
    blur.setInt("image", 0);
    combine.setInt("scene", 0);
    combine.setInt("bloomBlur", 1);
    glViewport(0, 0, Width, Height);

    auto frame = [&] {
        if (pass == Pass::Bloom) {
            star.drawBloom();
        } else if (pass == Pass::BloomWithMipmaps) {
            drawBloomWithMipmaps(star);
        } else {
            glBindFramebuffer(GL_FRAMEBUFFER, 0);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            star.combineShader->use();
            star.renderQuad();
        }
    };
    frame(); // first frame compiles the shader variants in the driver
    glFinish();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i)
        frame();
    glFinish();
    const auto end = std::chrono::steady_clock::now();
    PassRun result;
    result.msPerFrame = std::chrono::duration<double, std::milli>(end - start).count() / frames;
    result.image = rendertest::readWindow(Width, Height);
    return result;
}

struct Difference {
    int max = 0;
    double mean = 0.0; // over the pixels where either image differs from the plain background
};

Difference compare(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    Difference d;
    double sum = 0.0;
    size_t counted = 0;
    const unsigned char* bg = &b[0]; // the corner is plain background in every run
    for (size_t i = 0; i < a.size(); i += 4) {
        bool glowing = false;
        for (int c = 0; c < 3; ++c)
            glowing = glowing || a[i + c] != bg[c] || b[i + c] != bg[c];
        if (!glowing)
            continue;
        ++counted;
        for (int c = 0; c < 3; ++c) {
            const int diff = std::abs(int(a[i + c]) - int(b[i + c]));
            d.max = std::max(d.max, diff);
            sum += diff;
        }
    }
    d.mean = counted ? sum / (3.0 * static_cast<double>(counted)) : 0.0;
    return d;
}

// Distance from the big star's centre along its row to where the halo fades to the background.
int haloRadius(const std::vector<unsigned char>& image) {
    const int y = 384;
    const unsigned char* bg = &image[0];
    for (int x = Width - 1; x > 640; --x)
        if (std::abs(int(image[static_cast<size_t>(y * Width + x) * 4 + 1]) - int(bg[1])) > 2)
            return x - 640;
    return 0;
}

} // namespace

TEST(BloomCostGLTest, DISABLED_FullHalfQuarterAt1280x768) {
    GLContext context(Width, Height);
    ASSERT_TRUE(context.ok());
    int fbWidth = 0, fbHeight = 0;
    glfwGetFramebufferSize(context.window(), &fbWidth, &fbHeight);
    ASSERT_EQ(fbWidth, Width);
    ASSERT_EQ(fbHeight, Height);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);

    rendertest::ScratchDir dir("bloomcost");
    const std::string shipped = readFile("res/shader/2fsbloom.shader");
    ASSERT_FALSE(shipped.empty());
    rendertest::writeText(dir.file("reference.frag"), ReferenceBlur);
    Shader combine("res/shader/3vsbloom.shader", "res/shader/3fsbloom.shader");
    Shader reference("res/shader/2vsbloom.shader", dir.file("reference.frag"));
    Shader blur("res/shader/2vsbloom.shader", "res/shader/2fsbloom.shader");
    auto blurWithSigma = [&](double sigma) {
        char line[64];
        std::snprintf(line, sizeof line, "const float Sigma = %.3f;", sigma);
        const std::string path = dir.file("sigma" + std::to_string(sigma) + ".frag");
        rendertest::writeText(path,
                              std::regex_replace(shipped, std::regex("const float Sigma = [0-9.]+;"), line));
        return Shader("res/shader/2vsbloom.shader", path);
    };

    const PassRun look = run(reference, combine, 1, Pass::Bloom, 1);
    std::printf("reference look: full size, nine texels per pass; halo radius %d px\n",
                haloRadius(look.image));

    std::printf("\ncost of the glow pass (ten blur passes + combine), ms per frame, %d frames:\n",
                TimedFrames);
    const PassRun literal = run(reference, combine, 1, Pass::BloomWithMipmaps, TimedFrames);
    std::printf("  full size, nine-texel loop, mipmaps each pass: %7.2f\n", literal.msPerFrame);
    const PassRun referenceFull = run(reference, combine, 1, Pass::Bloom, TimedFrames);
    std::printf("  full size, nine-texel loop, no mipmaps:        %7.2f\n", referenceFull.msPerFrame);
    const PassRun combineOnly = run(blur, combine, 1, Pass::CombineOnly, TimedFrames);
    std::printf("  of which the combine alone (full size):        %7.2f\n", combineOnly.msPerFrame);
    for (int downscale : {1, 2, 4}) {
        const PassRun r = run(blur, combine, downscale, Pass::Bloom, TimedFrames);
        std::printf("  five fetches, blur at 1/%d size (%4dx%3d):     %7.2f\n", downscale,
                    (Width + downscale - 1) / downscale, (Height + downscale - 1) / downscale, r.msPerFrame);
    }

    std::printf("\nlook against the reference (8-bit, glowing pixels only), by per-pass sigma:\n");
    for (int downscale : {1, 2, 4}) {
        double bestSigma = 0.0;
        Difference best{255, 255.0};
        for (double sigma = 0.30; sigma < 1.95; sigma += 0.05) {
            Shader variant = blurWithSigma(sigma);
            const PassRun r = run(variant, combine, downscale, Pass::Bloom, 0);
            const Difference d = compare(r.image, look.image);
            if (d.mean < best.mean) {
                best = d;
                bestSigma = sigma;
            }
        }
        Shader variant = blurWithSigma(bestSigma);
        const PassRun r = run(variant, combine, downscale, Pass::Bloom, 0);
        std::printf("  1/%d size: best sigma %.2f texels, max %3d, mean %.2f, halo radius %d px\n", downscale,
                    bestSigma, best.max, best.mean, haloRadius(r.image));
    }
    const PassRun shippedRun = run(blur, combine, BloomDownscale, Pass::Bloom, 0);
    const Difference d = compare(shippedRun.image, look.image);
    std::printf("  as shipped (1/%d): max %d, mean %.2f, halo radius %d px\n", BloomDownscale, d.max, d.mean,
                haloRadius(shippedRun.image));
}
