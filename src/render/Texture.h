#pragma once

#include <GL/glew.h>

#include <iostream>
#include <map>
#include <string>

// A loaded image. Copies name the same GL texture; textures are never deleted.
struct Texture {
    GLuint id = 0;
    std::string type; // "texture_diffuse" or "texture_specular": the material slot it came from
    std::string path; // the path as passed to the loader; models reuse images by this exact string
};

// The most pixels one image may have: four bytes each, a quarter of a gigabyte.
constexpr long long MaxImagePixels = 8192LL * 8192LL;

// Why an image of this size cannot be used, in words ("is 20000x10 pixels, ..."), or "" when it
// can: each side from 1 to `maxSide` (the GL's limit) and at most MaxImagePixels in all.
std::string imageSizeProblem(int width, int height, int maxSide);

// Loads directory + '/' + path into a mipmapped 2D texture and returns its name. A fresh name is
// returned also when the file cannot be decoded ("Texture failed to load at path: " + path), and
// when its header names a size imageSizeProblem refuses (that line, then one saying why; the
// pixels are then never decoded). The lines go to `out`.
GLuint loadTextureFromFile(const char* path, const std::string& directory, std::ostream& out = std::cout);

// While one is alive, loads of the same file share one decode and one GL storage: the first load
// decodes and uploads the pixels, each later one gets a texture name of its own that views them
// (a GL texture view), so every load still returns a new name. Start-up holds one while it builds
// the level, whose shapes all wear the default texture. One at a time; it must end before the GL
// context it was used with.
class TextureSharing {
public:
    struct SharedImage {
        GLuint storage;
        GLenum internalFormat;
        GLuint levels;
        GLenum format;
    };

    TextureSharing();
    ~TextureSharing();
    TextureSharing(const TextureSharing&) = delete;
    TextureSharing& operator=(const TextureSharing&) = delete;

private:
    std::map<std::string, SharedImage> images_;
};
