#pragma once

#include "render/Shader.h"

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <array>
#include <string>
#include <vector>

// The sky box and the cube map it shows; the reflective goal samples the same cube map.
// Built once at start-up; the GL objects live until the process ends.
struct EnvironmentMap {
    GLuint cubemapTexture = 0;
    GLuint skyboxVAO = 0;
    GLuint skyboxVBO = 0;
};

// Where the six faces live, relative to the working directory.
inline const char* const EnvironmentFolder = "../assets/emap";

// The six face files in upload order (+x, -x, +y, -y, +z, -z): folder + "/right.jpg" and so on.
std::array<std::string, 6> environmentFacePaths(const std::string& folder = EnvironmentFolder);

// What a face file's header says, before any pixel is decoded.
struct FaceHeader {
    bool readable = false;
    int width = 0, height = 0, channels = 0;
};

// Per face, why it cannot go into the cube map ("" when it can): unreadable, not square, too large
// for `maxSide` or the image budget (see imageSizeProblem), or of another size than most faces.
std::array<std::string, 6> skyFaceProblems(const std::array<FaceHeader, 6>& headers, int maxSide);

// Every face goes to GL as tightly packed RGB or RGBA. A grey face (with or without alpha) is
// spread to RGB here: the cube map has one swizzle for all six faces, so it cannot be fixed
// per face on the GPU, and a grey face uploaded as red would tint the sky. `data` points into
// `pixels` or into `expanded`.
struct FacePixels {
    const unsigned char* data = nullptr;
    GLenum format = GL_RGB;
    std::vector<unsigned char> expanded;
};
FacePixels facePixels(const unsigned char* pixels, int width, int height, int channels);

// The 36 positions (x, y, z) of the cube [-1, 1]³, every triangle counter-clockwise seen from
// inside, so that back-face culling keeps the faces the camera looks at.
const std::array<float, 108>& skyboxVertices();

// Builds the sky-box geometry and the cube map. Requires a current context; run it right after
// the sky-box program exists. A face that cannot be used prints
// "Cubemap tex failed to load at path: " + its path and is skipped (the cube map then samples
// black); when its size is the reason, a "Sky face <path> is ..." line follows. Leaves the cube map bound to
// unit 0, where the reflection program expects it.
void initEnvironmentMap(EnvironmentMap& environment, const std::string& folder = EnvironmentFolder);

// Draws the sky box into the bound scene target: last in the scene pass, at the far plane.
// Restores the depth function to GL_LESS and leaves no vertex array bound.
void drawSkybox(const EnvironmentMap& environment, const Shader& emapShader);

// The view matrix for the sky box: the camera's rotation only, so the sky never comes closer.
glm::mat4 skyboxViewMatrix(const glm::mat4& view);
