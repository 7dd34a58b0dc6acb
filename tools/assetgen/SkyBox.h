#pragma once

#include "Image.h"

#include <glm/glm.hpp>

#include <array>
#include <string>

// The night sky around the level: one colour per world direction (y up), sampled onto the six
// faces of a cube map with OpenGL's face conventions, so neighbouring faces meet without seams.
namespace assetgen::sky {

constexpr int FaceSize = 512;
constexpr int JpegQuality = 100;

// Face i is uploaded to GL_TEXTURE_CUBE_MAP_POSITIVE_X + i.
const std::array<const char*, 6>& faceFiles(); // right, left, top, bottom, front, back

// The direction pixel (column, row) of face i shows. Row 0 is the image's top row, which the game
// uploads first, i.e. texture coordinate t near 0. The border pixels lie on the cube's edges.
glm::vec3 faceDirection(int face, float column, float row, int size = FaceSize);

// The sky's colour in a direction (need not be normalised), as it should appear on screen.
glm::vec3 colour(const glm::vec3& direction);

// The game treats the faces as linear HDR light and puts its frame on screen as
// (1 - exp(-value))^(1/2.2) (exposure 1, gamma 2.2), so a face stores the value that comes out as
// the wanted colour: value = -ln(1 - shown^2.2). The brightest colour this can show is MaxShown.
constexpr float MaxShown = 0.81f;
glm::vec3 stored(const glm::vec3& shown);

Image face(int index, int size = FaceSize);

} // namespace assetgen::sky
