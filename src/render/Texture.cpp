#include "render/Texture.h"

#include "model/Model.h"

#include <stb_image.h>

#include <iostream>

namespace {

const char* const DefaultTexturePath = "../assets/default_tex.png";
const char* const DefaultTextureDirectory = "../assets";

// Pixel layout of a decoded image with `channels` 8-bit channels; 0 when there is none.
GLenum formatFor(int channels) {
    switch (channels) {
    case 1:
        return GL_RED;
    case 2:
        return GL_RG;
    case 3:
        return GL_RGB;
    case 4:
        return GL_RGBA;
    default:
        return 0;
    }
}

} // namespace

std::string imageSizeProblem(int width, int height, int maxSide) {
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide)
        return "is " + std::to_string(width) + "x" + std::to_string(height) +
               " pixels, the GL takes at most " + std::to_string(maxSide) + " a side";
    if (static_cast<long long>(width) * height > MaxImagePixels)
        return "is " + std::to_string(width) + "x" + std::to_string(height) + " pixels, more than the " +
               std::to_string(MaxImagePixels) + " an image may have";
    return "";
}

GLuint loadTextureFromFile(const char* path, const std::string& directory, std::ostream& out) {
    const std::string filename = directory + '/' + path;
    GLuint id = 0;
    glGenTextures(1, &id);

    // The header first: a small file may claim a picture that would take gigabytes and a minute
    // to decode, or that the GL cannot hold.
    int width = 0, height = 0, channels = 0;
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    std::string sizeProblem;
    if (stbi_info(filename.c_str(), &width, &height, &channels))
        sizeProblem = imageSizeProblem(width, height, maxSide);
    unsigned char* pixels =
        sizeProblem.empty() ? stbi_load(filename.c_str(), &width, &height, &channels, 0) : nullptr;
    const GLenum format = formatFor(channels);
    if (pixels && format != 0) {
        glBindTexture(GL_TEXTURE_2D, id);
        // stb_image packs rows tightly; at the default alignment of 4 an RGB row of odd width
        // would be read as if padded and the picture would shear.
        GLint previousAlignment = 4;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format, GL_UNSIGNED_BYTE,
                     pixels);
        glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
        glGenerateMipmap(GL_TEXTURE_2D);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        if (format == GL_RG) {
            // Grey plus alpha: spread the grey over r, g, b so it samples as a grey picture.
            const GLint greyAlpha[4] = {GL_RED, GL_RED, GL_RED, GL_GREEN};
            glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, greyAlpha);
        }
    } else {
        out << "Texture failed to load at path: " << path << std::endl;
        if (!sizeProblem.empty())
            out << "Image " << filename << " " << sizeProblem << std::endl;
    }
    stbi_image_free(pixels);
    return id;
}

Texture Model::loadDefaultTexture() {
    Texture texture;
    texture.id = loadTextureFromFile(DefaultTexturePath, DefaultTextureDirectory);
    texture.type = "texture_diffuse";
    texture.path = DefaultTexturePath;
    texturesLoaded.push_back(texture);
    return texture;
}
