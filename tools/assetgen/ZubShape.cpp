#include "ZubShape.h"

#include "Noise.h"

#include <algorithm>
#include <cmath>

namespace assetgen::zub {

namespace {

constexpr std::uint32_t FuzzSeed = 71u;

// The body's implicit shape: a slightly bottom-heavy ellipsoid.
float bodyImplicit(const glm::vec3& p) {
    const float rh = 0.95f * (1.0f - 0.05f * p.z);
    const float rz = p.z > 0.0f ? 0.95f : 0.88f;
    return (p.x * p.x + p.y * p.y) / (rh * rh) + (p.z * p.z) / (rz * rz) - 1.0f;
}

} // namespace

glm::vec3 direction(float azimuthDeg, float elevationDeg) {
    const float az = glm::radians(azimuthDeg), el = glm::radians(elevationDeg);
    return glm::vec3(-std::cos(el) * std::cos(az), std::cos(el) * std::sin(az), std::sin(el));
}

float bodyRadius(const glm::vec3& d) {
    // Bisection along the ray: the implicit shape is star-shaped around the centre.
    float lo = 0.5f, hi = 1.2f;
    for (int i = 0; i < 40; ++i) {
        const float mid = 0.5f * (lo + hi);
        (bodyImplicit(d * mid) < 0.0f ? lo : hi) = mid;
    }
    // A soft fuzz, so the outline reads as fur rather than a perfect ball.
    const float fuzz = 0.012f * noise::fbm3(d * 5.0f, 3, FuzzSeed);
    return 0.5f * (lo + hi) * (1.0f + fuzz);
}

glm::vec3 bodyPoint(float s, float a) {
    const float theta = Pi * s;
    const glm::vec3 d(std::sin(theta) * std::cos(a), std::sin(theta) * std::sin(a), -std::cos(theta));
    return d * bodyRadius(d);
}

float bodyDepth(const glm::vec3& p) {
    const float length = glm::length(p);
    if (length < 1e-6f)
        return -1.0f;
    return length - bodyRadius(p / length);
}

Ellipsoid eye(int side) {
    const glm::vec3 d = direction(27.0f * side, 16.0f);
    // The eyes look mostly straight ahead, a little outwards.
    const glm::vec3 look = glm::normalize(0.55f * d + 0.45f * Front);
    return makeEllipsoid(d * 0.80f, look, Up, glm::vec3(0.18f, 0.27f, 0.205f));
}

Ellipsoid nose() {
    const glm::vec3 d = direction(0.0f, 3.0f);
    return makeEllipsoid(d * 0.905f, glm::normalize(d + 0.3f * Up), Up, glm::vec3(0.07f, 0.055f, 0.085f));
}

Ellipsoid foot(int side) {
    return makeEllipsoid(glm::vec3(-0.10f, 0.34f * side, -0.83f), Front, Up, glm::vec3(0.25f, 0.12f, 0.165f));
}

Tube ear(int side) {
    const glm::vec3 base = direction(50.0f * side, 52.0f) * 0.70f;
    const glm::vec3 axis = glm::normalize(glm::vec3(0.10f, 0.52f * side, 0.85f));
    const glm::vec3 forwardLean = glm::normalize(glm::vec3(-1.0f, 0.0f, 0.15f));
    Tube t;
    t.p0 = base;
    t.p1 = base + axis * 0.30f;
    t.p2 = base + axis * 0.58f + forwardLean * 0.02f;
    t.p3 = base + axis * 0.80f + forwardLean * 0.10f + glm::vec3(0.0f, 0.05f * side, 0.0f);
    // The ear's flat side faces forwards: its first axis runs across the ear.
    t.reference = glm::normalize(glm::cross(Front, axis)) * static_cast<float>(side);
    t.radiusA0 = 0.12f;
    t.radiusA1 = 0.155f;
    t.radiusB0 = 0.07f;
    t.radiusB1 = 0.055f;
    t.widest = 0.45f;
    return t;
}

Tube arm(int side) {
    const glm::vec3 shoulder = direction(82.0f * side, -12.0f) * 0.70f;
    const glm::vec3 paw = direction(70.0f * side, -36.0f) * 1.07f;
    Tube t;
    t.p0 = shoulder;
    t.p1 = glm::mix(shoulder, paw, 0.35f);
    t.p2 = glm::mix(shoulder, paw, 0.7f);
    t.p3 = paw;
    t.reference = Front;
    t.radiusA0 = 0.085f;
    t.radiusA1 = 0.125f;
    t.radiusB0 = 0.085f;
    t.radiusB1 = 0.12f;
    t.widest = 0.75f;
    return t;
}

Tube tail() {
    Tube t;
    t.p0 = glm::vec3(0.52f, 0.0f, -0.32f);
    t.p1 = glm::vec3(1.02f, 0.0f, -0.58f);
    t.p2 = glm::vec3(1.28f, 0.0f, -0.08f);
    t.p3 = glm::vec3(1.02f, 0.0f, 0.24f);
    t.reference = glm::vec3(0.0f, 1.0f, 0.0f);
    t.radiusA0 = 0.075f;
    t.radiusA1 = 0.17f;
    t.radiusB0 = 0.075f;
    t.radiusB1 = 0.17f;
    t.widest = 0.78f;
    return t;
}

Tube tuft() {
    Tube t;
    t.p0 = glm::vec3(0.02f, 0.0f, 0.80f);
    t.p1 = glm::vec3(-0.02f, 0.0f, 1.06f);
    t.p2 = glm::vec3(-0.20f, 0.0f, 1.16f);
    t.p3 = glm::vec3(-0.27f, 0.0f, 1.02f);
    t.reference = glm::vec3(0.0f, 1.0f, 0.0f);
    t.radiusA0 = 0.09f;
    t.radiusA1 = 0.075f;
    t.radiusB0 = 0.075f;
    t.radiusB1 = 0.06f;
    t.widest = 0.2f;
    return t;
}

glm::vec3 earPivot(int side) {
    return ear(side).spine(0.22f);
}
glm::vec3 earTipPivot(int side) {
    return ear(side).spine(0.5f * (EarBendStart + EarBendEnd));
}
glm::vec3 armPivot(int side) {
    return arm(side).spine(0.2f);
}
glm::vec3 tailPivot() {
    return tail().spine(0.18f);
}
glm::vec3 tailTipPivot() {
    return tail().spine(0.5f * (TailBendStart + TailBendEnd));
}
glm::vec3 footPivot(int side) {
    return foot(side).centre + glm::vec3(0.06f, 0.0f, 0.06f);
}

} // namespace assetgen::zub
