#pragma once

#include "Image.h"

// The texture every generated shape wears ("../assets/default_tex.png"): worn, square stones in
// pale grey, laid in courses (every other row half a stone along), so that the fixed colours of
// the level read as tinted stone. The picture holds DefaultTextureTiles rows of
// DefaultTextureTiles stones, its edges fall on joints, and it wraps on both axes; the lit shader
// repeats it so that a stone keeps the same size in the world on every face.
namespace assetgen {

constexpr int DefaultTextureSize = 512;
constexpr int DefaultTextureTiles = 4;
Image defaultTexture(int size = DefaultTextureSize);

} // namespace assetgen
