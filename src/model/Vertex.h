#pragma once

#include <glm/glm.hpp>

#include <cstddef>

// Both records go to the GPU byte for byte; the attribute locations are fixed by the shaders:
// 0 position, 1 normal, 2 texCoords, 3 jointIds (integer), 4 weights.
struct Vertex {
    glm::vec3 position;
    glm::vec3 normal;
    glm::vec2 texCoords;
};

struct SkinnedVertex {
    glm::vec3 position;
    glm::vec3 normal;
    glm::vec2 texCoords;
    glm::ivec3 jointIds{0}; // 0 marks an empty slot
    glm::vec3 weights{0.0f};
};

static_assert(sizeof(Vertex) == 32, "Vertex must be tightly packed");
static_assert(offsetof(Vertex, normal) == 12 && offsetof(Vertex, texCoords) == 24, "Vertex layout");
static_assert(sizeof(SkinnedVertex) == 56, "SkinnedVertex must be tightly packed");
static_assert(offsetof(SkinnedVertex, jointIds) == 32 && offsetof(SkinnedVertex, weights) == 44,
              "SkinnedVertex layout");
