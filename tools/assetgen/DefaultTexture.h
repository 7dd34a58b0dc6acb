#pragma once

#include "Image.h"

// The texture every generated shape wears ("../assets/default_tex.png"): worn, square stone tiles
// in pale grey, so that the fixed colours of the level read as tinted stone. The picture holds
// DefaultTextureTiles x DefaultTextureTiles whole tiles and wraps on both axes; the lit shader
// repeats it so that a tile keeps about the same size in the world on every face.
namespace assetgen {

constexpr int DefaultTextureSize = 512;
constexpr int DefaultTextureTiles = 4;
Image defaultTexture(int size = DefaultTextureSize);

} // namespace assetgen
