#include "render/RenderTestSupport.h"
#include "render/Shader.h"
#include "render/Texture.h"
#include "support/GLContext.h"

#include "model/Model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Draws texel (x, y) of level 0 to window pixel (x, y), so a read-back pixel shows exactly what a
// shader sampling the texture receives (swizzle included).
class TexelProbe {
public:
    explicit TexelProbe(const TempDir& dir) {
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

TEST(TextureGLTest, ChannelCountsSampleAsTheirPicturesUnflippedAndMipmapped) {
    GLContext context;
    ASSERT_TRUE(context.ok());
    TempDir dir;
    TexelProbe probe(dir);
    struct Case {
        const char* file;
        int width, height, channels;
        std::vector<unsigned char> pixels;
        int x, y; // the texel looked at: file row y, column x
        Pixel expected;
    };
    const Case cases[] = {
        // Grey is a GL_RED texture: the grey arrives in red only.
        {"grey.png", 2, 2, 1, {10, 60, 130, 250}, 1, 1, {250, 0, 0, 255}},
        // Grey with alpha: the grey spread over r, g, b and the alpha kept.
        {"greyalpha.png", 2, 1, 2, {90, 200, 40, 30}, 0, 0, {90, 90, 90, 200}},
        {"rgba.png", 1, 2, 4, {255, 0, 0, 255, 0, 0, 255, 77}, 0, 1, {0, 0, 255, 77}},
        {"rgba.png", 1, 2, 4, {255, 0, 0, 255, 0, 0, 255, 77}, 0, 0, {255, 0, 0, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.file << " " << c.x << "," << c.y);
        rendertest::writePng(dir.file(c.file), c.width, c.height, c.channels, c.pixels);
        const GLuint texture = loadTextureFromFile(c.file, dir.path());
        probe.draw(texture);
        const Pixel p = readPixel(c.x, c.y);
        EXPECT_EQ(std::vector<int>({p.r, p.g, p.b, p.a}),
                  std::vector<int>({c.expected.r, c.expected.g, c.expected.b, c.expected.a}));
        GLint levelOneWidth = 0;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &levelOneWidth);
        EXPECT_EQ(levelOneWidth, std::max(1, c.width / 2));
    }

    // 3 x 3 RGB: rows of 9 bytes, which an unpack alignment of 4 would read as 12.
    std::vector<unsigned char> pixels;
    for (int i = 0; i < 9; ++i)
        pixels.insert(pixels.end(),
                      {static_cast<unsigned char>(20 * i + 5), static_cast<unsigned char>(200 - 20 * i),
                       static_cast<unsigned char>(i == 4 ? 255 : 0)});
    rendertest::writePng(dir.file("odd.png"), 3, 3, 3, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    probe.draw(loadTextureFromFile("odd.png", dir.path()));
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4) << "the loader must leave the unpack alignment as it found it";
    for (int i = 0; i < 9; ++i) {
        const Pixel p = readPixel(i % 3, i / 3);
        EXPECT_EQ(std::vector<int>({p.r, p.g, p.b}),
                  std::vector<int>({20 * i + 5, 200 - 20 * i, i == 4 ? 255 : 0}))
            << i;
    }
}

TEST(TextureGLTest, UnusableFilesAreNamedAsPassedAndStillGiveAName) {
    GLContext context;
    ASSERT_TRUE(context.ok());
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    TempDir dir;
    rendertest::writeText(dir.file("notapicture.png"), "plain text");
    // A few bytes that claim 9000 x 9000 pixels (refused from the header, before any decoding), a real
    // picture one pixel wider than the GL takes, and one exactly as tall as it takes, which loads.
    rendertest::writePngHeader(dir.file("claims.png"), 9000, 9000);
    rendertest::writePng(dir.file("wide.png"), maxSide + 1, 1, 1, std::vector<unsigned char>(maxSide + 1, 7));
    rendertest::writePng(dir.file("tall.png"), 1, maxSide, 1, std::vector<unsigned char>(maxSide, 7));

    CoutCapture out;
    std::vector<GLuint> names;
    for (const char* file : {"textures/nothere.png", "notapicture.png", "claims.png", "wide.png"}) {
        names.push_back(loadTextureFromFile(file, dir.path()));
        const std::vector<std::string> lines = out.lines();
        EXPECT_EQ(
            std::count(lines.begin(), lines.end(), std::string("Texture failed to load at path: ") + file), 1)
            << out.text();
        EXPECT_NE(names.back(), 0u);
    }
    EXPECT_NE(names[0], names[1]);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glBindTexture(GL_TEXTURE_2D, loadTextureFromFile("tall.png", dir.path()));
    GLint height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    EXPECT_EQ(height, maxSide) << out.text();
}
