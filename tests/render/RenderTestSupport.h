#pragma once

// Helpers shared by the render GL tests: small images and texts on disk, and reading back whole images.

#include <GL/glew.h>
#include <stb_image_write.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace rendertest {

// Writes a PNG (rows top first, tightly packed) and fails the test if that is impossible.
inline void writePng(const std::string& path, int width, int height, int channels,
                     const std::vector<unsigned char>& pixels) {
    ASSERT_EQ(pixels.size(), static_cast<size_t>(width * height * channels));
    ASSERT_NE(stbi_write_png(path.c_str(), width, height, channels, pixels.data(), width * channels), 0)
        << path;
}

// Writes only the signature and header of a PNG claiming `width` x `height` RGB pixels: enough
// for a size check, which must refuse it before any pixel is read.
inline void writePngHeader(const std::string& path, unsigned width, unsigned height) {
    auto be32 = [](unsigned v) {
        return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                           static_cast<char>(v)};
    };
    const std::string bytes = std::string("\x89PNG\r\n\x1a\n", 8) + be32(13) + "IHDR" + be32(width) +
                              be32(height) + std::string("\x08\x02\x00\x00\x00", 5) + be32(0);
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    ASSERT_TRUE(out.good()) << path;
}

inline void writeText(const std::string& path, const std::string& text) {
    std::ofstream out(path);
    out << text;
    ASSERT_TRUE(out.good()) << path;
}

// RGBA8 of the read framebuffer, bottom row first.
inline std::vector<unsigned char> readWindow(int width, int height) {
    std::vector<unsigned char> pixels(static_cast<size_t>(width * height * 4));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// RGBA float texels of level 0 of a 2D texture, bottom row first.
inline std::vector<float> readTexture(GLuint texture, int* width = nullptr, int* height = nullptr) {
    GLint w = 0, h = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    std::vector<float> texels(static_cast<size_t>(w * h * 4));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, texels.data());
    if (width)
        *width = w;
    if (height)
        *height = h;
    return texels;
}

} // namespace rendertest
