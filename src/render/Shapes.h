#pragma once

#include "model/Model.h"
#include "model/Vertex.h"

#include <glm/glm.hpp>

#include <vector>

// Generated level geometry. The *Geometry functions are pure (no GL) so their tables can be
// checked without a window; the make* functions upload the result and wrap it in a Model.
// Every shape is centred on its own origin, and every triangle is counter-clockwise seen from
// outside, so back-face culling keeps the outer faces.

struct ShapeGeometry {
    std::vector<Vertex> vertices;
    std::vector<unsigned> indices; // three per triangle
};

// Box of width x height x depth along x, y, z: 24 vertices (four per face), 36 indices.
ShapeGeometry boxGeometry(float width, float height, float depth);
// Closed cylinder around the y axis: 32 slices, 130 vertices, 384 indices. The rim closes on
// itself (slice 31 joins slice 0), so there is no seam vertex.
ShapeGeometry cylinderGeometry(float radius, float height);
// UV sphere of 16 stacks and 32 slices: two poles and 15 rings, 482 vertices, 2880 indices.
ShapeGeometry sphereGeometry(float radius);

// Each maker needs a current GL context: the mesh is uploaded at once and the model loads a
// default texture of its own. `shader` is non-owning.
Model makeBox(Shader* shader, float width, float height, float depth, const glm::vec4& color);
Model makeCylinder(Shader* shader, float radius, float height, const glm::vec4& color);
// The sphere is the star: it carries the bloom pass, so it is built as the bloom carrier.
Model makeSphere(Shader* shader, float radius, const glm::vec4& color);
