#pragma once

#include <GL/glew.h>

#include <string>

// A loaded image. Copies name the same GL texture; textures are never deleted.
struct Texture {
    GLuint id = 0;
    std::string type; // "texture_diffuse" or "texture_specular": the material slot it came from
    std::string path; // the path as passed to the loader; models reuse images by this exact string
};

// Loads directory + '/' + path into a mipmapped 2D texture and returns its name. A fresh name is
// returned also when the file cannot be decoded ("Texture failed to load at path: " + path).
GLuint loadTextureFromFile(const char* path, const std::string& directory);
