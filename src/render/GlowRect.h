#pragma once

#include <glm/glm.hpp>

#include <limits>
#include <vector>

// Where on screen the glow image can be non-zero this frame, so that the blur need not run over
// the whole window. Glow is the part of a surface's colour whose luminance passes the lit shaders'
// threshold; here each object's world box is cut to where that can happen and projected. The
// result is conservative: a pixel outside it never glows (a GL test checks this over many frames
// of play), and the blur's own reach is added by the bloom pass.
//
// Pure maths: no GL, so the cases are tested without a window.
namespace glow {

struct Box {
    glm::vec3 min{std::numeric_limits<float>::max()};
    glm::vec3 max{-std::numeric_limits<float>::max()};
    bool empty() const { return min.x > max.x || min.y > max.y || min.z > max.z; }
    void add(const glm::vec3& p) {
        min = glm::min(min, p);
        max = glm::max(max, p);
    }
};

// In normalised device coordinates, clamped to the screen [-1, 1]; empty when nothing is visible.
struct ScreenRect {
    float x0 = 1.0f, y0 = 1.0f, x1 = -1.0f, y1 = -1.0f;
    bool empty() const { return x0 >= x1 || y0 >= y1; }
    void add(const ScreenRect& r);
};

template <typename VertexT> Box boundsOf(const std::vector<VertexT>& vertices) {
    Box b;
    for (const VertexT& v : vertices)
        b.add(v.position);
    return b;
}

// The world-aligned box around `local` placed by `model`.
Box worldBox(const Box& local, const glm::mat4& model);
Box intersect(const Box& a, const Box& b);
// The cube of half size `reach` around `centre`; everything for an infinite reach.
Box around(const glm::vec3& centre, float reach);
// The screen bounds of the part of `box` in front of the near plane.
ScreenRect project(const Box& box, const glm::mat4& viewProj);

// The lit shaders' light, as bounds on the luminance it can give a surface: at most
// `always + perFalloff * falloff(d)`, with falloff(d) = brightness / (c + l d + q d^2) for the
// distance d to the light. These mirror texture.frag and anim.frag; change them together.
namespace lit {
constexpr float Threshold = 1.0f; // luminance above this glows
constexpr float StarGain = 8.0f;  // the star's light is scaled by this in both shaders
constexpr float MinDiffuse = 0.35f;
// The night's fill at its brightest in texture.frag: the sky or the ground bounce, whichever is
// brighter in a channel, plus the moon head-on.
const glm::vec3 SkyColor(0.68f, 0.72f, 0.86f);
const glm::vec3 GroundColor(0.18f, 0.15f, 0.12f);
const glm::vec3 MoonColor(0.48f, 0.48f, 0.54f);
// anim.frag keeps its own, older night: a dimmer sky, the moon at 0.6, and a cool rim of the sky's
// colour times at most 0.6.
const glm::vec3 CreatureSkyColor(0.30f, 0.34f, 0.50f);
const glm::vec3 CreatureMoonColor(0.55f, 0.55f, 0.65f);
constexpr float CreatureMoonShare = 0.6f;
constexpr float RimShare = 0.6f;
float luminance(const glm::vec3& c);
} // namespace lit

struct LightBound {
    float always = 0.0f;
    float perFalloff = 0.0f;
};

// A surface of textureShader: the texture (at most 1) tinted by `colour` when its alpha is above 0.
LightBound texturedSurface(const glm::vec4& colour, const glm::vec4& material, const glm::vec3& lightColour);
// The creature's surface in animShader: its colour is a floor under the sky's fill, plus the rim.
LightBound creatureSurface(const glm::vec4& colour, const glm::vec4& material, const glm::vec3& lightColour);

// How far from the light a surface can glow: 0 when it never can, infinity when it always can.
float reach(const LightBound& bound, const glm::vec3& attenuation, float brightness);

} // namespace glow
