#include "Primitives.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

constexpr float Pi = 3.14159265358979f;

glm::vec3 bezier(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c, const glm::vec3& d, float t) {
    const float u = 1.0f - t;
    return u * u * u * a + 3.0f * u * u * t * b + 3.0f * u * t * t * c + t * t * t * d;
}

// A profile that is 0 at both ends with round (quarter-circle like) caps, 1 at `widest`.
float roundProfile(float s, float widest) {
    const float t = s < widest ? s / widest : (1.0f - s) / (1.0f - widest);
    return std::sqrt(std::max(0.0f, t * (2.0f - t)));
}

} // namespace

glm::vec3 Ellipsoid::point(float s, float a) const {
    const float theta = Pi * s;
    const float along = -std::cos(theta) * radii.x;
    const float ring = std::sin(theta);
    return centre + forward * along + up * (ring * std::cos(a) * radii.y) +
           right * (ring * std::sin(a) * radii.z);
}

Ellipsoid makeEllipsoid(const glm::vec3& centre, const glm::vec3& forward, const glm::vec3& up,
                        const glm::vec3& radii) {
    Ellipsoid e;
    e.centre = centre;
    e.forward = glm::normalize(forward);
    e.up = glm::normalize(up - glm::dot(up, e.forward) * e.forward);
    e.right = glm::cross(e.forward, e.up);
    e.radii = radii;
    return e;
}

glm::vec3 Tube::spine(float s) const {
    return bezier(p0, p1, p2, p3, s);
}

glm::vec3 Tube::tangent(float s) const {
    const float h = 1e-3f;
    const float s0 = std::max(0.0f, s - h), s1 = std::min(1.0f, s + h);
    return glm::normalize(spine(s1) - spine(s0));
}

void Tube::frame(float s, glm::vec3& axisA, glm::vec3& axisB) const {
    const glm::vec3 t = tangent(s);
    axisA = glm::normalize(reference - glm::dot(reference, t) * t);
    axisB = glm::cross(t, axisA);
}

glm::vec2 Tube::radius(float s) const {
    float p = roundProfile(s, widest);
    if (pointed && s > widest)
        p = (1.0f - s) / (1.0f - widest);
    const float grow = std::min(1.0f, s / widest);
    return glm::vec2(radiusA0 + (radiusA1 - radiusA0) * grow, radiusB0 + (radiusB1 - radiusB0) * grow) * p;
}

glm::vec3 Tube::point(float s, float a) const {
    glm::vec3 axisA, axisB;
    frame(s, axisA, axisB);
    const glm::vec2 r = radius(s);
    return spine(s) + axisA * (r.x * std::cos(a)) + axisB * (r.y * std::sin(a));
}

} // namespace assetgen
