#pragma once

#include "Image.h"
#include "Surface.h"

#include <functional>
#include <vector>

// Paints an atlas texture part by part. Every texel of a part's rectangle is mapped back to the
// (s, a) of its surface and to the 3D point there, so patterns are drawn on the shape itself and
// line up across the seams of the parametrisation.
namespace assetgen {

struct PaintedPart {
    SurfaceShape surface;
    // Colour at surface parameters (s, a) and the point p = surface.point(s, a).
    std::function<glm::vec3(const glm::vec3& p, float s, float a)> paint;
    // A painter that finds its own way to the surface (from a cache) is passed p = 0.
    bool needsPoint = true;
};

// Fills `image`; a few texels of bleed around every rectangle keep mipmaps from pulling in the
// neighbours' colours. `background` fills what no part covers.
void paintAtlas(Image& image, const std::vector<PaintedPart>& parts, const glm::vec3& background);

// Adds all parts' surfaces to one mesh.
MeshData buildMesh(const std::vector<PaintedPart>& parts);

} // namespace assetgen
