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

GLuint loadTextureFromFile(const char* path, const std::string& directory) {
    const std::string filename = directory + '/' + path;
    GLuint id = 0;
    glGenTextures(1, &id);

    int width = 0, height = 0, channels = 0;
    unsigned char* pixels = stbi_load(filename.c_str(), &width, &height, &channels, 0);
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
        std::cout << "Texture failed to load at path: " << path << std::endl;
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
