#pragma once

#include "Image.h"

// The texture every generated shape wears ("../assets/default_tex.png"): a light, neutral soft
// grid, so that large flat boxes show their motion and distance without colouring the objects.
namespace assetgen {

constexpr int DefaultTextureSize = 512;
Image defaultTexture(int size = DefaultTextureSize);

} // namespace assetgen
