#pragma once

#include "Primitives.h"

#include <glm/glm.hpp>

// The stone enemy's shape, in world proportions (x depth, y width, z height): a rounded slab
// carved with a face, arms and crags as tubes of their own, ember eyes in the sockets. Shared by
// the mesh and the paint, which both start from the same samples.
namespace assetgen::stone {

constexpr int SlabSegments = 136;
constexpr int SlabRings = 96;
constexpr int LimbSegments = 40;
constexpr int LimbRings = 36;

// What the face and the rock add to a base shape at one point, and the masks the paint reuses.
struct Features {
    float displacement = 0.0f;
    float front = 0.0f;   // 1 on the face side
    float crack = 0.0f;   // 1 in the cracks between plates
    float ember = 0.0f;   // 1 where a crack glows from within
    float crevice = 0.0f; // 1 in the small ridged-noise grooves
    float socket = 0.0f;  // the face's masks below are 0 away from the face
    float mouth = 0.0f;
    float teeth = 0.0f;
    float brow = 0.0f;
    float plateTone = 0.0f; // per-plate random in [-1, 1]
};

// A point of the rock: the smooth base, its normal, and the carved surface.
struct Sample {
    glm::vec3 base, normal, world;
    Features features;
};

// The mouth's middle line and half height along the width, shared by carving and paint.
float mouthCentre(float y);
float mouthHalfHeight(float y);

// The slab: s from the bottom (0) to the top (1), a around from the back (-x), the face at a = π.
Sample sampleSlab(float s, float a);
// The same from a cached grid of the base shape: for painting, where every texel needs a sample.
Sample sampleSlabCached(float s, float a);

Tube armShape(int side);
Tube cragShape(int index);
// A rocky tube: the smooth tube pushed in and out along its own normals.
Sample sampleTube(const Tube& tube, float s, float a);

struct EyeShape {
    glm::vec3 centre;
    glm::vec3 radii; // x, y, z
    glm::vec3 point(float s, float a) const;
};
EyeShape eyeShape(int side);

// World proportions to model space: squeezed by the game's scale along y and z, and fitted to
// fill the enemy's box exactly.
glm::vec3 toModel(const glm::vec3& world);

} // namespace assetgen::stone
