#include "SkyBox.h"

#include "Noise.h"

#include <algorithm>
#include <cmath>

namespace assetgen::sky {

namespace {

float gauss(float x, float width) {
    return std::exp(-(x / width) * (x / width));
}

// The moon hangs where the lit shaders' moonlight comes from.
const glm::vec3 MoonDirection = glm::normalize(glm::vec3(-0.4f, 0.8f, 0.45f));
constexpr float MoonRadius = 0.05f; // radians
// The galaxy's band runs along the great circle perpendicular to this.
const glm::vec3 BandPole = glm::normalize(glm::vec3(0.35f, 0.45f, 0.82f));
// A nebula low over the goal's side of the level (the level runs towards -z).
const glm::vec3 NebulaCentre = glm::normalize(glm::vec3(0.45f, 0.38f, -1.0f));

glm::vec3 gradient(const glm::vec3& d) {
    const float h = d.y;
    // On screen the darkest sky the game's 8-bit faces can hold without visible steps is a deep
    // navy of about 0.12, so the palette starts there.
    const glm::vec3 zenith(0.115f, 0.13f, 0.24f);
    const glm::vec3 middle(0.15f, 0.17f, 0.30f);
    const glm::vec3 horizon(0.30f, 0.31f, 0.43f);
    glm::vec3 c = glm::mix(middle, zenith, glm::smoothstep(0.15f, 0.9f, h));
    c = glm::mix(c, horizon, std::pow(1.0f - std::min(std::fabs(h), 1.0f), 6.0f));
    // A warm last light on one side of the horizon.
    const float warm =
        gauss(h - 0.02f, 0.12f) *
        std::pow(std::max(0.0f, glm::dot(glm::normalize(glm::vec2(d.x, d.z)), glm::vec2(0.7f, -0.7f))), 3.0f);
    c += glm::vec3(0.22f, 0.10f, 0.06f) * warm;
    // Below the horizon the haze fades into a dark ground mist.
    c = glm::mix(c, glm::vec3(0.12f, 0.13f, 0.18f), glm::smoothstep(-0.02f, -0.35f, h));
    return c;
}

float galaxy(const glm::vec3& d) {
    const float across = glm::dot(d, BandPole);
    const float body = gauss(across, 0.2f) * (0.55f + 0.45f * noise::fbm3(d * 3.0f, 4, 301u));
    // Dark dust lanes along the middle.
    const float dust =
        glm::smoothstep(0.1f, 0.6f, noise::fbm3(d * 6.0f, 4, 303u) + 0.3f) * gauss(across, 0.08f);
    return std::max(0.0f, body * (1.0f - 0.75f * dust));
}

glm::vec3 nebula(const glm::vec3& d) {
    const float near = gauss(std::acos(std::clamp(glm::dot(d, NebulaCentre), -1.0f, 1.0f)), 0.75f);
    if (near < 1e-3f)
        return glm::vec3(0.0f);
    const glm::vec3 warp(noise::fbm3(d * 2.0f, 3, 311u), noise::fbm3(d * 2.0f, 3, 313u),
                         noise::fbm3(d * 2.0f, 3, 317u));
    const float cloud = glm::smoothstep(-0.1f, 0.6f, noise::fbm3(d * 2.6f + warp * 1.2f, 5, 319u));
    const float hue = 0.5f + 0.5f * noise::fbm3(d * 1.7f + warp, 3, 321u);
    const glm::vec3 magenta(0.30f, 0.06f, 0.30f), teal(0.04f, 0.20f, 0.28f);
    return glm::mix(teal, magenta, hue) * cloud * near * 1.3f;
}

glm::vec3 aurora(const glm::vec3& d) {
    const float h = d.y;
    if (h < -0.02f || h > 0.6f)
        return glm::vec3(0.0f);
    const float azimuth = std::atan2(d.x, d.z);
    // Curtains: folds along the azimuth with streaks hanging down from them.
    const float fold =
        noise::fbm2Periodic(glm::vec2((azimuth + 3.14159265f) / 6.2831853f * 12.0f, 0.0f), 12, 3, 331u);
    const float streak =
        0.6f + 0.4f * noise::fbm2Periodic(glm::vec2((azimuth + 3.14159265f) / 6.2831853f * 160.0f, h * 3.0f),
                                          160, 2, 333u);
    const float base = 0.09f + 0.06f * fold;
    const float height =
        glm::smoothstep(base - 0.05f, base + 0.02f, h) * std::exp(-std::max(0.0f, h - base) * 4.0f);
    // Strongest on the side away from the nebula, fading out around the sky.
    const float side =
        glm::smoothstep(-0.2f, 0.7f, glm::dot(glm::normalize(glm::vec2(d.x, d.z)), glm::vec2(-0.8f, -0.6f)));
    const float strength = height * streak * side * glm::smoothstep(-0.3f, 0.5f, fold);
    const glm::vec3 low(0.10f, 0.50f, 0.30f), high(0.28f, 0.12f, 0.40f);
    return glm::mix(low, high, glm::smoothstep(base, base + 0.3f, h)) * strength * 0.9f;
}

glm::vec3 moon(const glm::vec3& d) {
    const float angle = std::acos(std::clamp(glm::dot(d, MoonDirection), -1.0f, 1.0f));
    glm::vec3 c = glm::vec3(0.16f, 0.18f, 0.26f) * (0.55f * gauss(angle, 0.12f) + 0.25f * gauss(angle, 0.4f));
    if (angle < MoonRadius * 1.2f) {
        const float r = angle / MoonRadius;
        const float disc = glm::smoothstep(1.0f, 0.93f, r);
        const float limb = std::sqrt(std::max(0.0f, 1.0f - r * r));
        const float maria = noise::fbm3(d * 60.0f, 4, 341u);
        glm::vec3 surface = glm::vec3(0.92f, 0.92f, 0.86f) * (0.7f + 0.3f * limb) *
                            (0.88f - 0.22f * glm::smoothstep(0.0f, 0.5f, maria));
        c = glm::mix(c, surface, disc);
    }
    return c;
}

// Stars from jittered cells of a cube lattice: each cell holds at most one candidate, kept only
// when it lies in a shell one cell thick around the sphere, so every direction sees an even field.
glm::vec3 starLayer(const glm::vec3& d, float cells, float keep, float brightness, float sigma,
                    std::uint32_t seed, float bandBoost) {
    const glm::vec3 p = d * cells;
    const glm::ivec3 c0(static_cast<int>(std::floor(p.x)), static_cast<int>(std::floor(p.y)),
                        static_cast<int>(std::floor(p.z)));
    glm::vec3 sum(0.0f);
    for (int dz = -1; dz <= 1; ++dz)
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const glm::ivec3 c = c0 + glm::ivec3(dx, dy, dz);
                const std::uint32_t h = noise::hash3(c.x, c.y, c.z, seed);
                const glm::vec3 star =
                    glm::vec3(c) + glm::vec3((noise::hash(h) >> 8) * (1.0f / 16777216.0f),
                                             (noise::hash(h + 1u) >> 8) * (1.0f / 16777216.0f),
                                             (noise::hash(h + 2u) >> 8) * (1.0f / 16777216.0f));
                const float radius = glm::length(star);
                if (radius < cells - 0.5f || radius >= cells + 0.5f)
                    continue;
                const glm::vec3 dir = star / radius;
                const float angle = glm::length(dir - d);
                if (angle > sigma * 5.0f)
                    continue;
                // The galaxy's band is denser in stars.
                const float chance = (noise::hash(h + 3u) >> 8) * (1.0f / 16777216.0f);
                if (chance > keep * (1.0f + (bandBoost > 0.0f ? bandBoost * galaxy(dir) : 0.0f)))
                    continue;
                // Few bright stars, many faint ones; colours from blue-white to warm.
                const float m = (noise::hash(h + 4u) >> 8) * (1.0f / 16777216.0f);
                const float power = brightness * (0.25f + 0.75f * m * m * m);
                const float t = (noise::hash(h + 5u) >> 8) * (1.0f / 16777216.0f);
                const glm::vec3 tint = t < 0.3f   ? glm::vec3(0.75f, 0.85f, 1.0f)
                                       : t < 0.8f ? glm::vec3(1.0f, 0.98f, 0.95f)
                                                  : glm::vec3(1.0f, 0.85f, 0.65f);
                sum += tint * power * (gauss(angle, sigma) + 0.12f * gauss(angle, sigma * 3.5f));
            }
    return sum;
}

glm::vec3 stars(const glm::vec3& d) {
    // A few hundred bright stars, a few thousand faint ones, most of the faintest in the band.
    glm::vec3 s = starLayer(d, 20.0f, 0.09f, 1.4f, 0.0036f, 351u, 0.0f);
    s += starLayer(d, 42.0f, 0.12f, 0.6f, 0.0030f, 353u, 1.5f);
    s += starLayer(d, 80.0f, 0.035f, 0.3f, 0.0027f, 357u, 6.0f);
    // Stars fade into the horizon haze and vanish below it.
    return s * glm::smoothstep(-0.05f, 0.12f, d.y);
}

} // namespace

const std::array<const char*, 6>& faceFiles() {
    static const std::array<const char*, 6> files = {"right.jpg",  "left.jpg",  "top.jpg",
                                                     "bottom.jpg", "front.jpg", "back.jpg"};
    return files;
}

glm::vec3 faceDirection(int face, float column, float row, int size) {
    // OpenGL's major-axis table: the face's (sc, tc) run from -1 to 1 with s along the columns and
    // t along the rows in upload order. The outermost texel centres are put on the cube's edges
    // themselves, so two faces hold the very same colours along the edge they share: the game
    // samples the cube map without seamless filtering, and clamped border texels then still meet.
    const float sc = 2.0f * column / (size - 1) - 1.0f;
    const float tc = 2.0f * row / (size - 1) - 1.0f;
    switch (face) {
    case 0:
        return glm::vec3(1.0f, -tc, -sc);
    case 1:
        return glm::vec3(-1.0f, -tc, sc);
    case 2:
        return glm::vec3(sc, 1.0f, tc);
    case 3:
        return glm::vec3(sc, -1.0f, -tc);
    case 4:
        return glm::vec3(sc, -tc, 1.0f);
    default:
        return glm::vec3(-sc, -tc, -1.0f);
    }
}

glm::vec3 colour(const glm::vec3& direction) {
    const glm::vec3 d = glm::normalize(direction);
    const float band = galaxy(d) * glm::smoothstep(-0.1f, 0.15f, d.y);
    glm::vec3 c = gradient(d);
    c += glm::vec3(0.13f, 0.13f, 0.19f) * band;
    c += nebula(d) * glm::smoothstep(-0.05f, 0.2f, d.y);
    c += aurora(d);
    c += moon(d);
    c += stars(d);
    return c;
}

glm::vec3 stored(const glm::vec3& shown) {
    glm::vec3 out;
    for (int c = 0; c < 3; ++c) {
        const float linear = std::pow(std::clamp(shown[c], 0.0f, MaxShown), 2.2f);
        out[c] = std::min(1.0f, -std::log(1.0f - linear));
    }
    return out;
}

Image face(int index, int size) {
    Image image(size, size);
    forEachRow(size, [&](int row) {
        for (int column = 0; column < size; ++column) {
            const glm::vec3 d =
                faceDirection(index, static_cast<float>(column), static_cast<float>(row), size);
            // Half a level of dither keeps the dark gradients from stepping once quantised; it is a
            // function of the direction too, so the faces' shared borders stay equal.
            const float dither = noise::value3(glm::normalize(d) * 1500.0f, 367u) * 0.5f / 255.0f;
            image.at(column, row) = stored(colour(d)) + glm::vec3(dither);
        }
    });
    return image;
}

} // namespace assetgen::sky
