#include "DefaultTexture.h"

#include "Noise.h"

#include <cmath>

namespace assetgen {

namespace {

// Distance in texels from x to the nearest multiple of `period`.
float lineDistance(float x, float period) {
    const float m = std::fmod(x, period);
    return std::min(m, period - m);
}

} // namespace

Image defaultTexture(int size) {
    Image image(size, size);
    const float major = size / 8.0f, minor = size / 32.0f;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            // Alternate the big cells very slightly so motion reads even where lines blur away.
            const int cell = static_cast<int>(px / major) + static_cast<int>(py / major);
            float v = (cell % 2 == 0) ? 0.86f : 0.83f;
            const float minorLine = std::min(lineDistance(px, minor), lineDistance(py, minor));
            const float majorLine = std::min(lineDistance(px, major), lineDistance(py, major));
            v -= 0.035f * glm::smoothstep(1.2f, 0.3f, minorLine);
            v -= 0.08f * glm::smoothstep(2.0f, 0.5f, majorLine);
            // A faint mottling, periodic with the texture so it tiles.
            v += 0.012f * noise::fbm2Periodic(glm::vec2(px, py) / (size / 16.0f), 16, 3, 401u, 0.5f, 16);
            image.at(x, y) = glm::vec3(v, v, v * 1.01f);
        }
    return image;
}

} // namespace assetgen
