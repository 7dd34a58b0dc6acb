#include "render/RenderTestSupport.h"
#include "render/Shader.h"
#include "render/Texture.h"
#include "support/GLContext.h"

#include "model/Model.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

using rendertest::ScratchDir;
using rendertest::writePng;

namespace {

// Draws texel (x, y) of level 0 to window pixel (x, y), so a read-back pixel shows exactly what a
// shader sampling the texture receives (swizzle included).
class TexelProbe {
  public:
    explicit TexelProbe(const ScratchDir& dir) {
        rendertest::writeText(dir.file("probe.vert"), R"(#version 440 core
void main() {
    vec2 corner = vec2(gl_VertexID == 1 ? 3.0 : -1.0, gl_VertexID == 2 ? 3.0 : -1.0);
    gl_Position = vec4(corner, 0.0, 1.0);
})");
        rendertest::writeText(dir.file("probe.frag"), R"(#version 440 core
uniform sampler2D picture;
layout(location = 0) out vec4 fragColor;
void main() {
    ivec2 size = textureSize(picture, 0);
    ivec2 texel = ivec2(gl_FragCoord.xy);
    fragColor = all(lessThan(texel, size)) ? texelFetch(picture, texel, 0) : vec4(0.0);
})");
        program_ = Shader(dir.file("probe.vert"), dir.file("probe.frag"));
        glGenVertexArrays(1, &vao_);
    }

    void draw(GLuint texture) const {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        program_.setInt("picture", 0);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, texture);
        glBindVertexArray(vao_);
        glDrawArrays(GL_TRIANGLES, 0, 3);
        glBindVertexArray(0);
    }

  private:
    Shader program_;
    GLuint vao_ = 0;
};

} // namespace

TEST(TextureGLTest, ChannelCountsSampleAsTheirPictures) {
    GLContext context;
    ASSERT_TRUE(context.ok());
    ScratchDir dir("texture-channels");
    TexelProbe probe(dir);

    // Grey: a GL_RED texture, so the grey arrives in red only.
    writePng(dir.file("grey.png"), 2, 2, 1, {10, 60, 130, 250});
    const GLuint grey = loadTextureFromFile("grey.png", dir.path());
    probe.draw(grey);
    const Pixel g = readPixel(1, 1); // second row of the file, second column
    EXPECT_EQ(g.r, 250);
    EXPECT_EQ(g.g, 0);
    EXPECT_EQ(g.b, 0);
    EXPECT_EQ(g.a, 255);

    // Grey with alpha: the grey spread over r, g, b and the alpha kept.
    writePng(dir.file("greyalpha.png"), 2, 1, 2, {90, 200, 40, 30});
    const GLuint greyAlpha = loadTextureFromFile("greyalpha.png", dir.path());
    probe.draw(greyAlpha);
    const Pixel ga = readPixel(0, 0);
    EXPECT_EQ(ga.r, 90);
    EXPECT_EQ(ga.g, 90);
    EXPECT_EQ(ga.b, 90);
    EXPECT_EQ(ga.a, 200);

    // RGBA keeps its alpha; the picture is not flipped (file row 0 is texel row 0).
    writePng(dir.file("rgba.png"), 1, 2, 4, {255, 0, 0, 255, 0, 0, 255, 77});
    const GLuint rgba = loadTextureFromFile("rgba.png", dir.path());
    probe.draw(rgba);
    const Pixel top = readPixel(0, 0), second = readPixel(0, 1);
    EXPECT_EQ(top.r, 255);
    EXPECT_EQ(top.b, 0);
    EXPECT_EQ(second.b, 255);
    EXPECT_EQ(second.a, 77);

    // Every loaded texture is mipmapped and repeats.
    GLint minFilter = 0, wrapS = 0, levelOneWidth = 0;
    glBindTexture(GL_TEXTURE_2D, grey);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &levelOneWidth);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(wrapS, GL_REPEAT);
    EXPECT_EQ(levelOneWidth, 1);
}

TEST(TextureGLTest, OddWidthRgbRowsArriveUnsheared) {
    GLContext context;
    ASSERT_TRUE(context.ok());
    ScratchDir dir("texture-odd");
    TexelProbe probe(dir);

    // 3 x 3 RGB: rows of 9 bytes, which an unpack alignment of 4 would read as 12.
    std::vector<unsigned char> pixels;
    for (int i = 0; i < 9; ++i)
        pixels.insert(pixels.end(),
                      {static_cast<unsigned char>(20 * i + 5), static_cast<unsigned char>(200 - 20 * i),
                       static_cast<unsigned char>(i == 4 ? 255 : 0)});
    writePng(dir.file("odd.png"), 3, 3, 3, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    const GLuint odd = loadTextureFromFile("odd.png", dir.path());
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4) << "the loader must leave the unpack alignment as it found it";

    probe.draw(odd);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) {
            const int i = y * 3 + x;
            const Pixel p = readPixel(x, y);
            EXPECT_EQ(p.r, 20 * i + 5) << x << "," << y;
            EXPECT_EQ(p.g, 200 - 20 * i) << x << "," << y;
            EXPECT_EQ(p.b, i == 4 ? 255 : 0) << x << "," << y;
        }
}

TEST(TextureGLTest, MissingFileNamesThePathAsPassedAndStillGivesAName) {
    GLContext context;
    ASSERT_TRUE(context.ok());
    ScratchDir dir("texture-missing");
    rendertest::writeText(dir.file("notapicture.png"), "plain text");

    CoutCapture out;
    const GLuint missing = loadTextureFromFile("textures/nothere.png", dir.path());
    const GLuint broken = loadTextureFromFile("notapicture.png", dir.path());
    const std::vector<std::string> expected = {"Texture failed to load at path: textures/nothere.png",
                                               "Texture failed to load at path: notapicture.png"};
    EXPECT_EQ(out.lines(), expected);
    EXPECT_NE(missing, 0u);
    EXPECT_NE(broken, 0u);
    EXPECT_NE(missing, broken);
}

TEST(TextureGLTest, ImagesTooLargeAreRefusedFromTheirHeaderWithTheFailureLine) {
    GLContext context;
    ASSERT_TRUE(context.ok());
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    ScratchDir dir("texture-huge");
    // A few bytes that claim 9000x9000 pixels, and a real picture one pixel wider than the GL takes.
    rendertest::writePngHeader(dir.file("claims.png"), 9000, 9000);
    writePng(dir.file("wide.png"), maxSide + 1, 1, 1, std::vector<unsigned char>(maxSide + 1, 7));
    writePng(dir.file("fine.png"), 4, 1, 1, {1, 2, 3, 4});

    CoutCapture out;
    const auto start = std::chrono::steady_clock::now();
    const GLuint claims = loadTextureFromFile("claims.png", dir.path());
    const GLuint wide = loadTextureFromFile("wide.png", dir.path());
    const GLuint fine = loadTextureFromFile("fine.png", dir.path());
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 2.0);
    const std::vector<std::string> expected = {
        "Texture failed to load at path: claims.png",
        "Image " + dir.file("claims.png") + " is 9000x9000 pixels, more than the 67108864 an image may have",
        "Texture failed to load at path: wide.png",
        "Image " + dir.file("wide.png") + " is " + std::to_string(maxSide + 1) +
            "x1 pixels, the GL takes at most " + std::to_string(maxSide) + " a side"};
    EXPECT_EQ(out.lines(), expected);
    EXPECT_NE(claims, 0u);
    EXPECT_NE(wide, 0u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    GLint width = 0;
    glBindTexture(GL_TEXTURE_2D, fine);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 4);
}

TEST(TextureGLTest, DefaultTextureIsLoadedAnewForEveryCall) {
    GLContext context;
    ASSERT_TRUE(context.ok());
    Model model;
    CoutCapture out; // the default picture may not have been generated in this checkout
    const Texture first = model.loadDefaultTexture();
    const Texture second = model.loadDefaultTexture();
    EXPECT_NE(first.id, 0u);
    EXPECT_NE(first.id, second.id);
    EXPECT_EQ(first.type, "texture_diffuse");
    EXPECT_EQ(first.path, "../assets/default_tex.png");
    ASSERT_EQ(model.texturesLoaded.size(), 2u);
    EXPECT_EQ(model.texturesLoaded[0].id, first.id);
    EXPECT_EQ(model.texturesLoaded[1].id, second.id);
    for (const std::string& line : out.lines())
        EXPECT_EQ(line, "Texture failed to load at path: ../assets/default_tex.png");
}
