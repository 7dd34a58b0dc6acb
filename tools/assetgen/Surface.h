#pragma once

#include <glm/glm.hpp>

#include <array>
#include <functional>
#include <string>
#include <vector>

// Closed, smooth surfaces built from a parametric description, gathered into one indexed mesh.
// Each surface is a lattice of rings around a spine, closed by a single point at either end, so it
// has no holes and every vertex gets a smooth normal averaged over the faces around it.
namespace assetgen {

struct Influence {
    int joint = 0; // joint id; 0 with weight 0 marks an empty slot, as the game's vertices do
    float weight = 0.0f;
};
using Influences = std::array<Influence, 3>;

struct MeshVertex {
    glm::vec3 position;
    glm::vec3 normal;
    glm::vec2 uv; // as written to the file: v = 0 is the bottom row of the image
    Influences influences;
};

struct MeshData {
    std::vector<MeshVertex> vertices;
    std::vector<unsigned> indices; // three per triangle, counter-clockwise seen from outside
};

// A rectangle of the texture in image coordinates: x to the right, y down, both in [0, 1].
struct UvRect {
    float x0, y0, x1, y1;
};

// One closed surface. `point(s, a)` gives the surface point for s in [0, 1] from the first end to
// the second and the angle a in [0, 2π) around the spine; point(0, a) and point(1, a) must not
// depend on a. The texture rectangle is covered with a going right and s going up.
struct SurfaceShape {
    std::string name;
    int segments = 32; // points around
    int rings = 16;    // steps from end to end
    std::function<glm::vec3(float s, float a)> point;
    UvRect uv{0.0f, 0.0f, 1.0f, 1.0f};
    // Up to three joints moving the vertex; normalised here, tiny weights dropped.
    std::function<Influences(const glm::vec3& p, float s, float a)> influences;
};

// Appends the surface; triangles are turned to face outwards whatever the parameter orientation.
void addSurface(MeshData& mesh, const SurfaceShape& shape);

// Where on the texture a (s, a) pair of a surface lands, in image coordinates.
glm::vec2 imagePosition(const UvRect& rect, float s, float a);

// Rigid binding to one joint.
Influences rigid(int joint);
// A blend between two joints: t = 0 is all `a`, t = 1 all `b`.
Influences blend(int a, int b, float t);

} // namespace assetgen
