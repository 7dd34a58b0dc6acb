#pragma once

#include <glm/glm.hpp>

// Closed parametric shapes the models are built from. For every shape, s runs from one end (0) to
// the other (1) and a goes once around; point(0, a) and point(1, a) do not depend on a.
namespace assetgen {

// An ellipsoid with its own frame; s = 1 is the pole along `forward`, a = 0 points along `up`.
struct Ellipsoid {
    glm::vec3 centre;
    glm::vec3 forward, up, right; // orthonormal
    glm::vec3 radii;              // along forward, up, right
    glm::vec3 point(float s, float a) const;
};

Ellipsoid makeEllipsoid(const glm::vec3& centre, const glm::vec3& forward, const glm::vec3& up,
                        const glm::vec3& radii);

// A tube along a cubic Bézier spine with an elliptic cross-section, closed at both ends.
struct Tube {
    glm::vec3 p0, p1, p2, p3;
    glm::vec3 reference;      // a direction the cross-section's first axis leans towards
    float radiusA0, radiusA1; // first cross-section axis at the start and the widest point
    float radiusB0, radiusB1; // second axis
    float widest = 0.6f;      // where along the spine the tube is widest
    bool pointed = false;     // a cone-like tip at s = 1 instead of a round one
    glm::vec3 spine(float s) const;
    glm::vec3 tangent(float s) const;
    void frame(float s, glm::vec3& axisA, glm::vec3& axisB) const;
    glm::vec2 radius(float s) const;
    glm::vec3 point(float s, float a) const;
};

} // namespace assetgen
