#include "render/RenderTestSupport.h"
#include "render/Texture.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<unsigned char> levelPixels(GLuint id, int level, int width, int height) {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width * height * 4));
    glGetTextureImage(id, level, GL_RGBA, GL_UNSIGNED_BYTE, static_cast<GLsizei>(pixels.size()),
                      pixels.data());
    return pixels;
}

} // namespace

// Start-up loads one file for many shapes: each load still gets a name of its own, with the same
// picture and mip levels, from one decode.
TEST(TextureSharingGL, LoadsOfOneFileShareThePixelsUnderNewNames) {
    GLContext context;
    ASSERT_TRUE(context.ok());
    TempDir dir;
    const std::vector<unsigned char> rgb = {255, 0,   0, 0, 255, 0, 0,   0,   255,
                                            255, 255, 0, 9, 9,   9, 200, 100, 50};
    rendertest::writePng(dir.file("a.png"), 3, 2, 3, rgb);
    rendertest::writePng(dir.file("b.png"), 2, 1, 3, {rgb.begin(), rgb.begin() + 6});

    GLuint first = 0, second = 0, other = 0, later = 0;
    {
        TextureSharing sharing;
        first = loadTextureFromFile("a.png", dir.path());
        second = loadTextureFromFile("a.png", dir.path());
        other = loadTextureFromFile("b.png", dir.path());
    }
    later = loadTextureFromFile("a.png", dir.path()); // no sharing: a copy of its own
    EXPECT_NE(first, second);
    EXPECT_NE(second, later);
    EXPECT_EQ(levelPixels(second, 0, 3, 2), levelPixels(first, 0, 3, 2));
    EXPECT_EQ(levelPixels(second, 1, 1, 1), levelPixels(first, 1, 1, 1));
    EXPECT_EQ(levelPixels(later, 0, 3, 2), levelPixels(first, 0, 3, 2));
    EXPECT_NE(levelPixels(other, 0, 2, 1), std::vector<unsigned char>(8, 0));
    GLint filter = 0;
    glGetTextureParameteriv(second, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
