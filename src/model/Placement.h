#pragma once

#include <glm/glm.hpp>

// Placement math shared by both model kinds. Angles are in degrees about x, y and z, applied as
// Rx · Ry · Rz (so z turns a vertex first).
namespace placement {

// Degrees to radians with the game's one float factor.
constexpr float DegreesToRadians = 0.017453292f;

glm::mat4 rotationMatrix(const glm::vec3& degrees);
// T(position) · Rx · Ry · Rz · S(scale): a vertex is scaled first and translated last.
glm::mat4 modelMatrix(const glm::vec3& position, const glm::vec3& degrees, const glm::vec3& scale);
// The upper-left 3×3 of the inverse transpose: keeps normals perpendicular under non-uniform scale.
glm::mat3 normalMatrix(const glm::mat4& model);

} // namespace placement
