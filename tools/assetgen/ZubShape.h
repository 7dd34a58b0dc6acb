#pragma once

#include "Primitives.h"

#include <glm/glm.hpp>

// The player's creature, "Zub": a round, furry ball with big eyes, long ears, stubby arms, feet
// and a curled tail. Model space is z-up with the creature facing -x, its right hand on +y; the
// body is centred on the origin so that it sits inside the rolling physics sphere (radius 1.1).
// The shapes here are shared by the mesh, the painted texture and the rig's pivots.
namespace assetgen::zub {

constexpr float Pi = 3.14159265358979f;
const glm::vec3 Front(-1.0f, 0.0f, 0.0f);
const glm::vec3 Up(0.0f, 0.0f, 1.0f);

// Direction from the body centre: azimuth from the front towards the creature's right (+y),
// elevation above the horizontal, both in degrees.
glm::vec3 direction(float azimuthDeg, float elevationDeg);

// Distance from the centre to the body's surface along a unit direction (fur fuzz included).
float bodyRadius(const glm::vec3& unitDirection);
// The body as a closed surface: s from the bottom (0) to the top (1), a around from the back.
glm::vec3 bodyPoint(float s, float a);
// Signed distance-like measure: negative inside the body, roughly in model units near its surface.
float bodyDepth(const glm::vec3& p);

// Side: -1 for the creature's left (-y), +1 for its right (+y).
Ellipsoid eye(int side);
Ellipsoid nose();
Ellipsoid foot(int side);

Tube ear(int side);
Tube arm(int side);
Tube tail();
Tube tuft();

// Pivots the rig turns the parts about.
glm::vec3 earPivot(int side);
glm::vec3 earTipPivot(int side);
glm::vec3 armPivot(int side);
glm::vec3 tailPivot();
glm::vec3 tailTipPivot();
glm::vec3 footPivot(int side);
const glm::vec3 BodyPivot(0.0f, 0.0f, -0.78f); // the body rocks about the spot between its feet

// How far along the ears and the tail the tip joint takes over.
constexpr float EarBendStart = 0.32f, EarBendEnd = 0.62f;
constexpr float TailBendStart = 0.25f, TailBendEnd = 0.75f;

} // namespace assetgen::zub
