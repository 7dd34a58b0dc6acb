#pragma once

#include <glm/glm.hpp>

#include <cstdint>

// Deterministic noise for the painted textures and the rock shapes. Everything is a pure function
// of its arguments and a seed, so regenerating the assets gives the same bytes on every run.
namespace assetgen::noise {

std::uint32_t hash(std::uint32_t x);
std::uint32_t hash3(int x, int y, int z, std::uint32_t seed);
// A uniform value in [0, 1) for a lattice point.
float random3(int x, int y, int z, std::uint32_t seed);

// Smooth value noise in [-1, 1].
float value3(const glm::vec3& p, std::uint32_t seed);
// Value noise that repeats every `period` lattice cells along x (for textures that wrap around),
// and every `periodY` cells along y when that is not 0 (for tiles).
float value2Periodic(const glm::vec2& p, int period, std::uint32_t seed, int periodY = 0);
// Fractal sums: octaves of value noise, each twice the frequency and `gain` times the amplitude.
float fbm3(const glm::vec3& p, int octaves, std::uint32_t seed, float gain = 0.5f);
float fbm2Periodic(const glm::vec2& p, int period, int octaves, std::uint32_t seed, float gain = 0.5f,
                   int periodY = 0);
// Ridged fractal in [0, ~1]: sharp crests where the noise crosses zero (cracks, rock ridges).
float ridged3(const glm::vec3& p, int octaves, std::uint32_t seed);

// Cellular noise: distances to the nearest and second nearest feature point (one per unit cell).
struct Cells {
    float f1;
    float f2;
    std::uint32_t id; // hash of the nearest cell, a stable per-cell random value
};
Cells worley3(const glm::vec3& p, std::uint32_t seed);

// A small deterministic generator for scattered details (star fields).
class Rng {
public:
    explicit Rng(std::uint32_t seed) : state_(seed * 2654435761u + 1u) {}
    std::uint32_t next();
    float uniform(); // [0, 1)
private:
    std::uint32_t state_;
};

} // namespace assetgen::noise
