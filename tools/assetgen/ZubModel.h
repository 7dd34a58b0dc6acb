#pragma once

#include "Image.h"
#include "Painter.h"
#include "Surface.h"

#include <vector>

// The creature's parts (surfaces, joint weights and paint) and what is made from them.
namespace assetgen::zub {

constexpr const char* TextureFile = "zub.png";
constexpr int TextureSize = 1024;

std::vector<PaintedPart> parts();
MeshData mesh();
Image texture();

} // namespace assetgen::zub
