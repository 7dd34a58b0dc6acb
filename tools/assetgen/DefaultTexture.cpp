#include "DefaultTexture.h"

#include "Noise.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

// Every length below is a fraction of one tile, so the picture keeps its look at any size.
constexpr float Grout = 0.03f;        // half the joint between two tiles
constexpr float GroutJitter = 0.012f; // tiles were laid by hand: each side sits a little differently
constexpr float Corner = 0.05f;       // rounded, worn corners
constexpr float Bevel = 0.07f;        // the worn slope from a tile's face down into the joint
constexpr float Chipping = 0.018f;    // how far the ragged edge wanders

// The tile faces are pale so that the level's colours survive the multiply; the joints are dark
// enough to draw the grid at a distance.
constexpr float FaceGrey = 0.76f;
constexpr float JointGrey = 0.36f;

constexpr int PitsPerTile = 14;

constexpr std::uint32_t Seed = 1543u;

// Signed distance to a rounded rectangle centred on the origin (negative inside).
float roundedBox(glm::vec2 p, glm::vec2 half, float radius) {
    const glm::vec2 q = glm::abs(p) - half + glm::vec2(radius);
    return glm::length(glm::max(q, glm::vec2(0.0f))) + std::min(std::max(q.x, q.y), 0.0f) - radius;
}

// Noise that wraps with the picture: `cells` lattice cells across it on both axes.
float wrapped(glm::vec2 uv, int cells, int octaves, std::uint32_t seed, float gain = 0.5f) {
    return noise::fbm2Periodic(uv * static_cast<float>(cells), cells, octaves, seed, gain, cells);
}

} // namespace

Image defaultTexture(int size) {
    Image image(size, size);
    const float tile = static_cast<float>(size) / DefaultTextureTiles;
    forEachRow(size, [&](int y) {
        for (int x = 0; x < size; ++x) {
            const glm::vec2 pixel(x + 0.5f, y + 0.5f);
            const glm::vec2 uv = pixel / static_cast<float>(size); // 0..1 over the picture
            // Laid in courses: every other row of stones sits half a stone along, like a wall's.
            const int ty = static_cast<int>(pixel.y / tile);
            const float along = pixel.x / tile - 0.5f * static_cast<float>(ty % 2);
            const int column = static_cast<int>(std::floor(along));
            // The stone that the picture's edge cuts in two is one stone, whichever side a pixel is on.
            const int tx = (column + DefaultTextureTiles) % DefaultTextureTiles;
            auto random = [&](int k) { return noise::random3(tx, ty, k, Seed); };
            // Position inside the stone, in tile units, centred.
            const glm::vec2 local(along - static_cast<float>(column) - 0.5f,
                                  pixel.y / tile - static_cast<float>(ty) - 0.5f);

            // The tile's outline: an uneven joint on each side, then a ragged, chipped edge.
            const glm::vec2 shift = (glm::vec2(random(0), random(1)) - 0.5f) * 2.0f * GroutJitter;
            const glm::vec2 half = glm::vec2(0.5f - Grout) - glm::vec2(random(2), random(3)) * GroutJitter;
            float edge = roundedBox(local - shift, half, Corner);
            edge += Chipping * wrapped(uv, 48, 3, Seed + 1u);
            const float chips = noise::random3(tx, ty, 9, Seed) < 0.6f ? wrapped(uv, 24, 2, Seed + 2u) : 0.0f;
            edge += Chipping * 2.5f * std::max(0.0f, chips - 0.3f);
            const float inside = -edge; // tile units from the edge, positive on the tile

            // Joints: sandy mortar.
            const float joint = JointGrey + 0.05f * wrapped(uv, 64, 3, Seed + 3u);

            // Faces: each stone a little lighter or darker, with soft mottling and a fine grain.
            float face = FaceGrey + 0.12f * (random(4) - 0.5f);
            face += 0.05f * wrapped(uv, 8, 4, Seed + 4u);
            face += 0.025f * wrapped(uv, 160, 2, Seed + 5u);
            // Worn, darker patches where feet and weather have ground dirt into the stone.
            face -= 0.08f * smooth(0.15f, 0.55f, wrapped(uv, 6, 3, Seed + 6u));
            // Small round pits, scattered over each face.
            for (int k = 0; k < PitsPerTile; ++k) {
                const glm::vec2 at(0.1f + 0.8f * random(10 + 3 * k), 0.1f + 0.8f * random(11 + 3 * k));
                const float radius = (0.006f + 0.016f * random(12 + 3 * k));
                const float d = glm::length(local + glm::vec2(0.5f) - at);
                face -= 0.16f * (1.0f - smooth(radius * 0.5f, radius, d));
            }
            // Hairline cracks across some tiles, fading out before the edge.
            if (random(5) < 0.45f) {
                const float ridge =
                    1.0f - std::fabs(wrapped(uv, 10, 3, Seed + 8u + static_cast<std::uint32_t>(tx)));
                face -= 0.30f * smooth(0.965f, 0.992f, ridge) * smooth(0.02f, 0.08f, inside);
            }

            // The bevel: the face rounds down into the joint. Lit from the upper left of the picture,
            // it gives each tile a raised, worn look; the slope also gathers a little dirt.
            const float eps = 0.5f / tile;
            const glm::vec2 slope(roundedBox(local - shift + glm::vec2(eps, 0.0f), half, Corner) -
                                      roundedBox(local - shift - glm::vec2(eps, 0.0f), half, Corner),
                                  roundedBox(local - shift + glm::vec2(0.0f, eps), half, Corner) -
                                      roundedBox(local - shift - glm::vec2(0.0f, eps), half, Corner));
            const glm::vec2 outward = glm::length(slope) > 0.0f ? glm::normalize(slope) : glm::vec2(0.0f);
            const float rise = 1.0f - smooth(0.0f, Bevel, inside); // 1 at the edge, 0 on the flat face
            const float lit = glm::dot(outward, glm::normalize(glm::vec2(-1.0f, -1.0f)));
            face += rise * (0.12f * lit - 0.06f);

            // A soft step from face to joint, about a pixel wide, so the edge does not alias.
            const float onTile = smooth(-0.6f / tile, 0.6f / tile, inside);
            const float v = glm::clamp(joint + (face - joint) * onTile, 0.0f, 1.0f);
            image.at(x, y) = glm::vec3(v);
        }
    });
    return image;
}

} // namespace assetgen
