#include "render/Texture.h"

#include "model/Model.h"
#include "render/FileKind.h"

#include <stb_image.h>

#include <algorithm>
#include <cassert>
#include <iostream>

namespace {

using SharedImage = TextureSharing::SharedImage;

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

GLenum sizedFormatFor(int channels) {
    static const GLenum sized[4] = {GL_R8, GL_RG8, GL_RGB8, GL_RGBA8};
    return sized[channels - 1];
}

GLsizei mipLevels(int width, int height) {
    GLsizei levels = 1;
    for (int side = std::max(width, height); side > 1; side /= 2)
        ++levels;
    return levels;
}

// Repeat and trilinear filtering; grey plus alpha spread over r, g, b so it samples as grey.
void setSampling(GLuint id, GLenum format) {
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (format == GL_RG) {
        const GLint greyAlpha[4] = {GL_RED, GL_RED, GL_RED, GL_GREEN};
        glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, greyAlpha);
    }
}

// The images of the TextureSharing alive now, by file name; null when there is none.
std::map<std::string, TextureSharing::SharedImage>* sharedImages = nullptr;

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

    // A file this start-up has already uploaded: a new name that views the same pixels.
    if (sharedImages) {
        const auto shared = sharedImages->find(filename);
        if (shared != sharedImages->end()) {
            const SharedImage& image = shared->second;
            glTextureView(id, GL_TEXTURE_2D, image.storage, image.internalFormat, 0, image.levels, 0, 1);
            setSampling(id, image.format);
            return id;
        }
    }

    // The header first: a small file may claim a picture that would take gigabytes and a minute
    // to decode, or that the GL cannot hold.
    int width = 0, height = 0, channels = 0;
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    // A named pipe would block the read, a folder reads as nothing: neither is opened.
    std::string sizeProblem = notAFileProblem(filename);
    if (sizeProblem.empty() && stbi_info(filename.c_str(), &width, &height, &channels))
        sizeProblem = imageSizeProblem(width, height, maxSide);
    unsigned char* pixels =
        sizeProblem.empty() ? stbi_load(filename.c_str(), &width, &height, &channels, 0) : nullptr;
    const GLenum format = formatFor(channels);
    if (pixels && format != 0) {
        // Fixed storage with every mip level, so that later loads of the file can view it.
        const GLenum internalFormat = sizedFormatFor(channels);
        const GLsizei levels = mipLevels(width, height);
        glBindTexture(GL_TEXTURE_2D, id);
        glTexStorage2D(GL_TEXTURE_2D, levels, internalFormat, width, height);
        // stb_image packs rows tightly; at the default alignment of 4 an RGB row of odd width
        // would be read as if padded and the picture would shear.
        GLint previousAlignment = 4;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, format, GL_UNSIGNED_BYTE, pixels);
        glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
        glGenerateMipmap(GL_TEXTURE_2D);
        setSampling(id, format);
        if (sharedImages)
            sharedImages->emplace(filename,
                                  SharedImage{id, internalFormat, static_cast<GLuint>(levels), format});
    } else {
        out << "Texture failed to load at path: " << path << std::endl;
        if (!sizeProblem.empty())
            out << "Image " << filename << " " << sizeProblem << std::endl;
    }
    stbi_image_free(pixels);
    return id;
}

TextureSharing::TextureSharing() {
    assert(!sharedImages && "one TextureSharing at a time");
    sharedImages = &images_;
}

TextureSharing::~TextureSharing() {
    sharedImages = nullptr;
}

Texture Model::loadDefaultTexture() {
    Texture texture;
    texture.id = loadTextureFromFile(DefaultTexturePath, DefaultTextureDirectory);
    texture.type = "texture_diffuse";
    texture.path = DefaultTexturePath;
    texturesLoaded.push_back(texture);
    return texture;
}
