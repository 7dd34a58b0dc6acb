#include "Noise.h"

#include <cmath>

namespace assetgen::noise {

namespace {

float fade(float t) {
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

int floorInt(float v) {
    return static_cast<int>(std::floor(v));
}

} // namespace

std::uint32_t hash(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352du;
    x ^= x >> 15;
    x *= 0x846ca68bu;
    x ^= x >> 16;
    return x;
}

std::uint32_t hash3(int x, int y, int z, std::uint32_t seed) {
    std::uint32_t h = hash(seed ^ 0x9e3779b9u);
    h = hash(h ^ static_cast<std::uint32_t>(x));
    h = hash(h ^ static_cast<std::uint32_t>(y) * 0x85ebca6bu);
    h = hash(h ^ static_cast<std::uint32_t>(z) * 0xc2b2ae35u);
    return h;
}

float random3(int x, int y, int z, std::uint32_t seed) {
    return static_cast<float>(hash3(x, y, z, seed) >> 8) * (1.0f / 16777216.0f);
}

float value3(const glm::vec3& p, std::uint32_t seed) {
    const int x0 = floorInt(p.x), y0 = floorInt(p.y), z0 = floorInt(p.z);
    const float fx = fade(p.x - x0), fy = fade(p.y - y0), fz = fade(p.z - z0);
    float c[2][2][2];
    for (int dz = 0; dz < 2; ++dz)
        for (int dy = 0; dy < 2; ++dy)
            for (int dx = 0; dx < 2; ++dx)
                c[dz][dy][dx] = random3(x0 + dx, y0 + dy, z0 + dz, seed);
    auto lerp = [](float a, float b, float t) { return a + (b - a) * t; };
    const float y0v = lerp(lerp(c[0][0][0], c[0][0][1], fx), lerp(c[0][1][0], c[0][1][1], fx), fy);
    const float y1v = lerp(lerp(c[1][0][0], c[1][0][1], fx), lerp(c[1][1][0], c[1][1][1], fx), fy);
    return lerp(y0v, y1v, fz) * 2.0f - 1.0f;
}

float value2Periodic(const glm::vec2& p, int period, std::uint32_t seed, int periodY) {
    const int x0 = floorInt(p.x), y0 = floorInt(p.y);
    const float fx = fade(p.x - x0), fy = fade(p.y - y0);
    auto wrap = [](int v, int n) { return n > 0 ? ((v % n) + n) % n : v; };
    auto at = [&](int x, int y) { return random3(wrap(x, period), wrap(y, periodY), 0, seed); };
    auto lerp = [](float a, float b, float t) { return a + (b - a) * t; };
    const float v =
        lerp(lerp(at(x0, y0), at(x0 + 1, y0), fx), lerp(at(x0, y0 + 1), at(x0 + 1, y0 + 1), fx), fy);
    return v * 2.0f - 1.0f;
}

float fbm3(const glm::vec3& p, int octaves, std::uint32_t seed, float gain) {
    float sum = 0.0f, amplitude = 1.0f, norm = 0.0f;
    glm::vec3 q = p;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * value3(q, seed + static_cast<std::uint32_t>(i) * 1013u);
        norm += amplitude;
        amplitude *= gain;
        // A slight rotation between octaves hides the lattice axes.
        q = glm::vec3(q.x * 1.6f + q.y * 1.2f, -q.x * 1.2f + q.y * 1.6f, q.z * 2.0f) +
            glm::vec3(5.3f, 1.7f, 9.1f);
    }
    return sum / norm;
}

float fbm2Periodic(const glm::vec2& p, int period, int octaves, std::uint32_t seed, float gain, int periodY) {
    float sum = 0.0f, amplitude = 1.0f, norm = 0.0f;
    glm::vec2 q = p;
    int currentPeriod = period, currentPeriodY = periodY;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude *
               value2Periodic(q, currentPeriod, seed + static_cast<std::uint32_t>(i) * 7919u, currentPeriodY);
        norm += amplitude;
        amplitude *= gain;
        // Shifted by whole cells along a wrapped axis only, so the periods stay exact.
        q = q * 2.0f + glm::vec2(0.0f, periodY > 0 ? 3.0f : 3.7f);
        currentPeriod *= 2;
        currentPeriodY *= 2;
    }
    return sum / norm;
}

float ridged3(const glm::vec3& p, int octaves, std::uint32_t seed) {
    float sum = 0.0f, amplitude = 1.0f, norm = 0.0f;
    glm::vec3 q = p;
    for (int i = 0; i < octaves; ++i) {
        const float n = 1.0f - std::fabs(value3(q, seed + static_cast<std::uint32_t>(i) * 31u));
        sum += amplitude * n * n;
        norm += amplitude;
        amplitude *= 0.5f;
        q = q * 2.03f + glm::vec3(1.3f, 7.1f, 3.3f);
    }
    return sum / norm;
}

Cells worley3(const glm::vec3& p, std::uint32_t seed) {
    const int x0 = floorInt(p.x), y0 = floorInt(p.y), z0 = floorInt(p.z);
    Cells cells{1e9f, 1e9f, 0};
    for (int dz = -1; dz <= 1; ++dz)
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int cx = x0 + dx, cy = y0 + dy, cz = z0 + dz;
                const std::uint32_t h = hash3(cx, cy, cz, seed);
                const glm::vec3 feature(cx + (hash(h) >> 8) * (1.0f / 16777216.0f),
                                        cy + (hash(h + 1u) >> 8) * (1.0f / 16777216.0f),
                                        cz + (hash(h + 2u) >> 8) * (1.0f / 16777216.0f));
                const float d = glm::length(feature - p);
                if (d < cells.f1) {
                    cells.f2 = cells.f1;
                    cells.f1 = d;
                    cells.id = h;
                } else if (d < cells.f2) {
                    cells.f2 = d;
                }
            }
    return cells;
}

std::uint32_t Rng::next() {
    state_ = hash(state_ + 0x6d2b79f5u);
    return state_;
}

float Rng::uniform() {
    return static_cast<float>(next() >> 8) * (1.0f / 16777216.0f);
}

} // namespace assetgen::noise
