#include "Painter.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

constexpr int Bleed = 4;
constexpr float TwoPi = 6.28318530718f;

void paintRect(Image& image, const PaintedPart& part, int grow) {
    const UvRect& r = part.surface.uv;
    const int x0 = static_cast<int>(std::floor(r.x0 * image.width)) - grow;
    const int x1 = static_cast<int>(std::ceil(r.x1 * image.width)) + grow;
    const int y0 = static_cast<int>(std::floor(r.y0 * image.height)) - grow;
    const int y1 = static_cast<int>(std::ceil(r.y1 * image.height)) + grow;
    const int top = std::max(0, y0), bottom = std::min(image.height, y1);
    forEachRow(bottom - top, [&](int row) {
        const int y = top + row;
        for (int x = std::max(0, x0); x < std::min(image.width, x1); ++x) {
            const float u = (x + 0.5f) / image.width, v = (y + 0.5f) / image.height;
            // Around the surface the texture wraps; along it the ends are clamped.
            float a = (u - r.x0) / (r.x1 - r.x0) * TwoPi;
            a = std::fmod(a + 2.0f * TwoPi, TwoPi);
            const float s = std::clamp((r.y1 - v) / (r.y1 - r.y0), 0.0f, 1.0f);
            const glm::vec3 p = part.needsPoint ? part.surface.point(s, a) : glm::vec3(0.0f);
            image.at(x, y) = part.paint(p, s, a);
        }
    });
}

} // namespace

void paintAtlas(Image& image, const std::vector<PaintedPart>& parts, const glm::vec3& background) {
    std::fill(image.pixels.begin(), image.pixels.end(), background);
    for (const PaintedPart& part : parts)
        paintRect(image, part, Bleed);
    for (const PaintedPart& part : parts)
        paintRect(image, part, 0);
}

MeshData buildMesh(const std::vector<PaintedPart>& parts) {
    MeshData mesh;
    for (const PaintedPart& part : parts)
        addSurface(mesh, part.surface);
    return mesh;
}

} // namespace assetgen
