#include "StoneShape.h"

#include "Image.h"
#include "Noise.h"
#include "StoneEnemy.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace assetgen::stone {

namespace {

constexpr float Pi = 3.14159265358979f;
constexpr float TwoPi = 2.0f * Pi;

// Negative inside: a rounded slab, narrower at the head. Arms and crags are parts of their own.
float field(const glm::vec3& p) {
    const float halfWidth = 4.35f + 0.3f * std::exp(-(p.z - 0.5f) * (p.z - 0.5f) / 4.0f) -
                            0.55f * glm::smoothstep(2.0f, 6.0f, p.z);
    const float halfDepth = 0.74f - 0.12f * glm::smoothstep(2.5f, 6.0f, p.z);
    const float halfHeight = p.z > 0.0f ? 5.45f : 5.7f;
    const float n = 2.4f, m = 3.2f;
    const float side =
        std::pow(std::pow(std::fabs(p.x) / halfDepth, n) + std::pow(std::fabs(p.y) / halfWidth, n), m / n);
    float f = side + std::pow(std::fabs(p.z) / halfHeight, m) - 1.0f;
    return f;
}

glm::vec3 fieldNormal(const glm::vec3& p) {
    const float h = 0.01f;
    const glm::vec3 g(field(p + glm::vec3(h, 0, 0)) - field(p - glm::vec3(h, 0, 0)),
                      field(p + glm::vec3(0, h, 0)) - field(p - glm::vec3(0, h, 0)),
                      field(p + glm::vec3(0, 0, h)) - field(p - glm::vec3(0, 0, h)));
    return glm::normalize(g);
}

// The outermost crossing along a ray from the centre: march in from outside, then bisect.
glm::vec3 surfaceAlong(const glm::vec3& dir) {
    float outside = 9.0f, t = 9.0f;
    const float step = 0.2f;
    while (t > 0.0f && field(dir * t) > 0.0f) {
        outside = t;
        t -= step;
    }
    float inside = std::max(t, 0.0f);
    for (int i = 0; i < 24; ++i) {
        const float mid = 0.5f * (inside + outside);
        (field(dir * mid) < 0.0f ? inside : outside) = mid;
    }
    return dir * (0.5f * (inside + outside));
}

float gauss(float x, float width) {
    return std::exp(-(x / width) * (x / width));
}

Features features(const glm::vec3& p, const glm::vec3& n, bool face = true) {
    Features f;
    const float ridges = noise::ridged3(p * 0.33f, 4, 101u);
    f.crevice = glm::smoothstep(0.55f, 0.9f, ridges);
    float d = 0.2f * (ridges - 0.5f) + 0.10f * noise::fbm3(p * 0.9f, 3, 103u) +
              0.035f * noise::fbm3(p * 3.1f, 2, 107u);

    // The rock is split into plates by cracks; each plate sits a little higher or lower.
    const glm::vec3 warp(noise::fbm3(p * 0.6f, 2, 111u), noise::fbm3(p * 0.6f, 2, 113u), 0.0f);
    const noise::Cells cells = noise::worley3(p * 0.45f + warp * 0.5f, 109u);
    // Cracks vary in width; a few of them, around the face, glow like the eyes.
    const float width = 0.035f + 0.04f * glm::smoothstep(-0.3f, 0.5f, noise::fbm3(p * 0.7f, 2, 115u));
    f.crack = glm::smoothstep(width, 0.0f, cells.f2 - cells.f1);
    f.ember = (noise::hash(cells.id + 17u) % 3u == 0u) ? 1.0f : 0.0f;
    f.plateTone = static_cast<float>(noise::hash(cells.id) >> 8) / 8388608.0f - 1.0f;
    // Plates step up and down against each other like split stone, bevelled at the cracks.
    d += (0.13f * f.plateTone + 0.05f) * glm::smoothstep(0.0f, 0.25f, cells.f2 - cells.f1) - 0.12f * f.crack;
    // Chisel marks: fine, sharp ridges.
    d += 0.07f * (noise::ridged3(p * 1.4f, 3, 121u) - 0.5f);

    f.front = face ? glm::smoothstep(0.25f, 0.65f, n.x) : 0.0f;
    const float y = p.y, z = p.z, ay = std::fabs(y);

    // An angry brow: one ridge, low in the middle and rising to the sides.
    f.brow = gauss(z - (2.75f + 0.3f * ay), 0.42f) * glm::smoothstep(3.3f, 2.6f, ay);
    d += f.front * 0.42f * f.brow;
    for (float side : {-1.0f, 1.0f}) {
        const glm::vec2 q((y - side * 1.75f) / 1.05f, (z - 1.85f) / 0.8f);
        const float socket = glm::smoothstep(1.0f, 0.15f, glm::dot(q, q));
        f.socket = std::max(f.socket, socket);
        d -= f.front * 0.55f * socket;
        // Cheekbones and nostrils.
        const glm::vec2 c((y - side * 2.95f) / 1.0f, (z - 0.85f) / 0.8f);
        d += f.front * 0.22f * glm::smoothstep(1.0f, 0.0f, glm::dot(c, c));
        d -= f.front * 0.2f * gauss(glm::length(glm::vec2(y - side * 0.38f, z - 0.62f)), 0.17f);
    }
    // The nose ridge widens towards its tip.
    const float along = std::clamp((2.6f - z) / 2.05f, 0.0f, 1.0f);
    d += f.front * 0.38f * gauss(y, 0.32f + 0.3f * along) * glm::smoothstep(2.9f, 2.4f, z) *
         glm::smoothstep(0.25f, 0.6f, z);

    // A wide grin: a lens-shaped hole with jagged teeth from both lips.
    const float centre = mouthCentre(y), halfHeight = mouthHalfHeight(y);
    const float fromLip = std::fabs(z - centre) - halfHeight;
    f.mouth = glm::smoothstep(0.05f, -0.12f, fromLip) * glm::smoothstep(2.8f, 2.6f, ay);
    const float period = 0.82f;
    auto tooth = [&](float phaseOffset) {
        const float phase = y / period + phaseOffset;
        const float tri = 1.0f - 2.0f * std::fabs(phase - std::floor(phase) - 0.5f);
        const float jitter = 0.8f + 0.4f * noise::random3(static_cast<int>(std::floor(phase)), 7, 3, 131u);
        return std::pow(std::max(tri, 0.0f), 0.7f) * jitter;
    };
    const float upper =
        glm::smoothstep(-0.03f, 0.03f, z - (centre + halfHeight - halfHeight * 0.62f * tooth(0.5f)));
    const float lower =
        glm::smoothstep(0.03f, -0.03f, z - (centre - halfHeight + halfHeight * 0.5f * tooth(0.0f)));
    f.teeth = f.mouth * std::max(upper, lower);
    d -= f.front * f.mouth * (0.75f * (1.0f - f.teeth) + 0.1f * f.teeth);
    d += f.front * 0.16f * gauss(fromLip - 0.16f, 0.18f) * glm::smoothstep(3.2f, 2.6f, ay);
    // A heavy chin.
    const glm::vec2 chin(y / 2.2f, (z + 2.95f) / 0.9f);
    d += f.front * 0.25f * glm::smoothstep(1.0f, 0.0f, glm::dot(chin, chin));

    f.displacement = d;
    // The paint needs the face's masks on the face only.
    f.mouth *= f.front;
    f.teeth *= f.front;
    f.socket *= f.front;
    f.brow *= f.front;
    return f;
}

// s from the bottom (0) to the top (1); a around from the back (-x), the face at a = π.
glm::vec3 rayDirection(float s, float a) {
    // Crowd the lattice (and the texture) onto the broad front and back and onto the middle
    // height, where the face is; the slab's narrow sides and its poles need far less.
    s = s + 0.08f * std::sin(TwoPi * s);
    a = a - 0.3f * std::sin(2.0f * a);
    const float theta = Pi * s;
    const glm::vec3 u(-std::sin(theta) * std::cos(a), -std::sin(theta) * std::sin(a), -std::cos(theta));
    // Spread the rays like an ellipsoid of the slab's proportions, so the broad faces get as many
    // vertices as the rim.
    return glm::normalize(u * glm::vec3(1.0f, 4.6f, 5.6f));
}

// The base shape on a fine grid of (s, a), for painting: one texel needs the shape's point and
// normal, and interpolating the smooth base is far cheaper than finding it again.
struct BaseGrid {
    static constexpr int Columns = 384, Rows = 192;
    std::vector<glm::vec3> base, normal;
};

const BaseGrid& baseGrid() {
    static const BaseGrid grid = [] {
        BaseGrid g;
        g.base.resize(static_cast<size_t>(BaseGrid::Columns) * (BaseGrid::Rows + 1));
        g.normal.resize(g.base.size());
        forEachRow(BaseGrid::Rows + 1, [&g](int row) {
            for (int column = 0; column < BaseGrid::Columns; ++column) {
                const size_t i = static_cast<size_t>(row) * BaseGrid::Columns + column;
                g.base[i] = surfaceAlong(rayDirection(static_cast<float>(row) / BaseGrid::Rows,
                                                      TwoPi * column / BaseGrid::Columns));
                g.normal[i] = fieldNormal(g.base[i]);
            }
        });
        return g;
    }();
    return grid;
}

// Where the rock's surface is in front of a point of the face, looking along +x.
glm::vec3 frontSurface(float y, float z) {
    float lo = 0.0f, hi = 3.0f;
    for (int i = 0; i < 30; ++i) {
        const float mid = 0.5f * (lo + hi);
        (field(glm::vec3(mid, y, z)) < 0.0f ? lo : hi) = mid;
    }
    const glm::vec3 base(0.5f * (lo + hi), y, z);
    const glm::vec3 n = fieldNormal(base);
    return base + n * features(base, n).displacement;
}

// World proportions to model space: squeeze y and z by the game's scale, then fit the box exactly.
struct Fit {
    glm::vec3 centre{0.0f};
    glm::vec3 scale{1.0f};
};

const Fit& fit() {
    static const Fit result = [] {
        glm::vec3 lo(1e9f), hi(-1e9f);
        auto grow = [&](const glm::vec3& p) {
            lo = glm::min(lo, p);
            hi = glm::max(hi, p);
        };
        for (int k = 0; k <= SlabRings; ++k)
            for (int j = 0; j < SlabSegments; ++j)
                grow(sampleSlab(static_cast<float>(k) / SlabRings, TwoPi * j / SlabSegments).world);
        std::vector<Tube> limbs = {armShape(-1), armShape(1)};
        for (int c = 0; c < 3; ++c)
            limbs.push_back(cragShape(c));
        for (const Tube& t : limbs)
            for (int k = 0; k <= LimbRings; ++k)
                for (int j = 0; j < LimbSegments; ++j)
                    grow(sampleTube(t, static_cast<float>(k) / LimbRings, TwoPi * j / LimbSegments).world);
        Fit f;
        f.centre = 0.5f * (lo + hi);
        const glm::vec3 worldHalf(HalfExtents.x, HalfExtents.y * GameScale, HalfExtents.z * GameScale);
        f.scale = worldHalf / (0.5f * (hi - lo)) / glm::vec3(1.0f, GameScale, GameScale);
        return f;
    }();
    return result;
}

} // namespace

float mouthCentre(float y) {
    return -1.35f + 0.075f * y * y;
}

float mouthHalfHeight(float y) {
    return 0.85f * std::sqrt(std::max(0.0f, 1.0f - (y / 2.8f) * (y / 2.8f)));
}

Sample sampleSlab(float s, float a) {
    Sample out;
    out.base = surfaceAlong(rayDirection(s, a));
    out.normal = fieldNormal(out.base);
    out.features = features(out.base, out.normal);
    out.world = out.base + out.normal * out.features.displacement;
    return out;
}

Sample sampleSlabCached(float s, float a) {
    const BaseGrid& g = baseGrid();
    const float x = a / TwoPi * BaseGrid::Columns, y = std::clamp(s, 0.0f, 1.0f) * BaseGrid::Rows;
    const int x0 = static_cast<int>(std::floor(x)), y0 = std::min(static_cast<int>(y), BaseGrid::Rows - 1);
    const float fx = x - x0, fy = y - y0;
    auto at = [&](const std::vector<glm::vec3>& v, int column, int row) {
        column = ((column % BaseGrid::Columns) + BaseGrid::Columns) % BaseGrid::Columns;
        return v[static_cast<size_t>(row) * BaseGrid::Columns + column];
    };
    auto lerp2 = [&](const std::vector<glm::vec3>& v) {
        return glm::mix(glm::mix(at(v, x0, y0), at(v, x0 + 1, y0), fx),
                        glm::mix(at(v, x0, y0 + 1), at(v, x0 + 1, y0 + 1), fx), fy);
    };
    Sample out;
    out.base = lerp2(g.base);
    out.normal = glm::normalize(lerp2(g.normal));
    out.features = features(out.base, out.normal);
    out.world = out.base + out.normal * out.features.displacement;
    return out;
}

// The ember eyes sit in the sockets.
glm::vec3 EyeShape::point(float s, float a) const {
    const float theta = Pi * s;
    return centre + glm::vec3(-std::cos(theta) * radii.x, std::sin(theta) * std::sin(a) * radii.y,
                              std::sin(theta) * std::cos(a) * radii.z);
}

EyeShape eyeShape(int side) {
    const glm::vec3 surface = frontSurface(1.75f * side, 1.85f);
    return EyeShape{surface + glm::vec3(-0.12f, 0.0f, 0.0f), glm::vec3(0.3f, 0.62f, 0.4f)};
}

// Arms hanging along the sides, ending in boulder fists, and three crags on the crown. They are
// closed surfaces of their own (overlapping the slab), so each keeps an even parametrisation.
Tube armShape(int side) {
    Tube t;
    t.p0 = glm::vec3(0.05f, 3.7f * side, 2.2f);
    t.p1 = glm::vec3(0.2f, 4.35f * side, 0.2f);
    t.p2 = glm::vec3(0.3f, 4.45f * side, -2.6f);
    t.p3 = glm::vec3(0.38f, 4.2f * side, -5.5f);
    t.reference = glm::vec3(1.0f, 0.0f, 0.0f);
    t.radiusA0 = 0.62f;
    t.radiusA1 = 0.92f;
    t.radiusB0 = 0.7f;
    t.radiusB1 = 1.05f;
    t.widest = 0.8f;
    return t;
}

Tube cragShape(int index) {
    static const glm::vec3 bases[3] = {{0.0f, -2.3f, 4.3f}, {-0.05f, 0.5f, 4.8f}, {0.0f, 2.5f, 4.2f}};
    static const glm::vec3 tips[3] = {{0.05f, -3.0f, 6.2f}, {0.0f, 0.25f, 6.7f}, {0.05f, 3.1f, 6.0f}};
    static const float radii[3] = {0.75f, 0.85f, 0.7f};
    Tube t;
    t.p0 = bases[index];
    t.p1 = glm::mix(bases[index], tips[index], 0.35f);
    t.p2 = glm::mix(bases[index], tips[index], 0.7f) + glm::vec3(0.0f, 0.1f, 0.0f);
    t.p3 = tips[index];
    t.reference = glm::vec3(1.0f, 0.0f, 0.0f);
    t.radiusA0 = radii[index] * 0.5f;
    t.radiusA1 = radii[index] * 0.55f;
    t.radiusB0 = radii[index];
    t.radiusB1 = radii[index] * 0.9f;
    t.widest = 0.3f;
    t.pointed = true;
    return t;
}

Sample sampleTube(const Tube& t, float s, float a) {
    Sample out;
    out.base = t.point(s, a);
    const glm::vec3 fromSpine = out.base - t.spine(s);
    if (s <= 0.0f || s >= 1.0f || glm::length(fromSpine) < 1e-5f)
        out.normal = t.tangent(s) * (s < 0.5f ? -1.0f : 1.0f);
    else
        out.normal = glm::normalize(fromSpine);
    out.features = features(out.base, out.normal, false);
    out.world = out.base + out.normal * (0.7f * out.features.displacement);
    return out;
}

glm::vec3 toModel(const glm::vec3& world) {
    return (world - fit().centre) * fit().scale;
}

} // namespace assetgen::stone
