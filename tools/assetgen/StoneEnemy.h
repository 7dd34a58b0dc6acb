#pragma once

#include "Image.h"
#include "Painter.h"
#include "Surface.h"

#include <glm/glm.hpp>

#include <vector>

// The stone enemy: a slab of rock with a face, brows, a jagged toothy mouth, two boulder fists
// and ember eyes. The game draws it rotated like the player and scaled (1, 4.2, 4.2) in model
// space, so it is shaped in "world" proportions (depth 2 along x, width 10 along y, height 12
// along z) and then squeezed by 1/4.2 along y and z; the rock's grain therefore looks even once
// the game stretches it back. It faces model +x and is centred on its origin.
namespace assetgen::stone {

constexpr const char* TextureFile = "Stone_enemy2.png";
constexpr int TextureSize = 1024;
// The game's model-space scale of the enemies, and the half extents that then fill their physics
// box of half extents (5, 6, 1) in world x, y, z.
constexpr float GameScale = 4.2f;
const glm::vec3 HalfExtents(1.0f, 5.0f / GameScale, 6.0f / GameScale);

// `coarseness` divides every part's lattice counts: 2 gives the low-detail mesh, a quarter of the
// triangles on a subset of the full mesh's points, with the same texture mapping.
std::vector<PaintedPart> parts(int coarseness = 1);
MeshData mesh(int coarseness = 1);
// The low-detail mesh's coarseness. The game draws it below full render scale, where the full
// mesh's triangles are most of a frame's vertex work and its detail is finer than a pixel.
constexpr int LowDetailCoarseness = 2;
Image texture();

} // namespace assetgen::stone
