#include "StoneEnemy.h"

#include "Noise.h"
#include "StoneShape.h"

#include <algorithm>
#include <cmath>

namespace assetgen::stone {

namespace {

constexpr float Pi = 3.14159265358979f;
constexpr float TwoPi = 2.0f * Pi;

float gauss(float x, float width) {
    return std::exp(-(x / width) * (x / width));
}

glm::vec3 paintRock(const Sample& sample) {
    const Features& f = sample.features;
    const glm::vec3 p = sample.base;
    const glm::vec3 n = sample.normal;

    const float tone = noise::fbm3(p * 0.5f, 3, 201u);
    glm::vec3 colour = glm::mix(rgb(104, 98, 92), rgb(140, 133, 121), 0.5f + 0.5f * tone);
    // Faint strata, warmer and cooler bands.
    const float strata = std::sin(p.z * 2.3f + 2.0f * noise::fbm3(p * 0.4f, 2, 203u));
    colour *= glm::vec3(1.0f + 0.04f * strata, 1.0f + 0.02f * strata, 1.0f - 0.03f * strata);
    colour *= 1.0f + 0.07f * f.plateTone;
    // Mineral grain.
    const float grain = noise::value3(p * 11.0f, 205u);
    colour *= 1.0f + 0.07f * grain;
    colour = glm::mix(colour, rgb(196, 190, 178),
                      glm::smoothstep(0.82f, 0.95f, noise::value3(p * 7.0f, 207u)) * 0.5f);

    // Moss on what faces up, and lichen rosettes anywhere.
    const float mossMask = glm::smoothstep(0.15f, 0.6f, n.z + 0.35f * noise::fbm3(p * 0.8f, 3, 209u));
    const glm::vec3 moss =
        glm::mix(rgb(62, 88, 34), rgb(104, 124, 48), 0.5f + 0.5f * noise::fbm3(p * 2.5f, 2, 211u));
    colour = glm::mix(colour, moss, 0.85f * mossMask);
    const noise::Cells lichen = noise::worley3(p * 1.7f, 213u);
    const float lichenSpot =
        glm::smoothstep(0.22f, 0.14f, lichen.f1) * ((lichen.id & 3u) == 0u ? 1.0f : 0.0f);
    colour = glm::mix(colour, (lichen.id & 4u) ? rgb(196, 170, 84) : rgb(168, 178, 120), 0.7f * lichenSpot);

    // Teeth are paler, the mouth and the cracks dark, with an ember glow deep inside.
    colour = glm::mix(colour, rgb(186, 176, 154) * (1.0f + 0.08f * grain), f.teeth);
    const float gape = f.mouth * (1.0f - f.teeth);
    const float throat = gauss(p.z - mouthCentre(p.y), 0.45f) * gauss(p.y, 2.4f);
    colour = glm::mix(colour, glm::mix(rgb(28, 12, 10), rgb(150, 52, 14), throat), gape);
    const float faceGlow = gauss(glm::length(glm::vec2(p.y / 4.0f, (p.z - 0.5f) / 3.5f)), 1.0f);
    colour = glm::mix(colour, glm::mix(rgb(22, 19, 18), rgb(196, 84, 24), f.ember * faceGlow * f.front),
                      0.9f * f.crack);
    // Pits and pores in the stone.
    const float pores = glm::smoothstep(0.55f, 0.8f, noise::value3(p * 16.0f, 217u));
    colour *= 1.0f - 0.35f * pores;

    // Shade the hollows so the carving reads under any light.
    float occlusion = 1.0f - 0.35f * f.crevice - 0.45f * f.socket;
    occlusion *= 1.0f - 0.2f * glm::smoothstep(-0.1f, -0.4f, f.displacement);
    colour *= occlusion;

    // Ember light spilling from the eyes onto the sockets.
    for (float side : {-1.0f, 1.0f}) {
        const float glow =
            gauss(glm::length(glm::vec2((p.y - side * 1.75f) / 1.2f, (p.z - 1.85f) / 0.9f)), 0.9f);
        colour += rgb(120, 44, 10) * glow * f.front;
    }
    return colour;
}

glm::vec3 paintEye(float s, float a) {
    const float ring = std::sin(Pi * s);
    glm::vec2 face(ring * std::sin(a), ring * std::cos(a)); // across, up
    if (s < 0.5f)
        face = glm::vec2(1.0f);
    const float r = glm::length(face);
    glm::vec3 colour = glm::mix(rgb(255, 244, 178), rgb(255, 150, 40), glm::smoothstep(0.1f, 0.65f, r));
    colour = glm::mix(colour, rgb(170, 40, 10), glm::smoothstep(0.6f, 0.95f, r));
    // A slit pupil.
    const float slit =
        glm::smoothstep(0.1f, 0.05f, std::fabs(face.x) / std::max(0.05f, 1.0f - face.y * face.y));
    colour = glm::mix(colour, rgb(70, 12, 4), slit * glm::smoothstep(0.85f, 0.6f, std::fabs(face.y)));
    return colour;
}

UvRect rect(int x0, int y0, int x1, int y1) {
    const float s = 1.0f / TextureSize;
    return UvRect{x0 * s, y0 * s, x1 * s, y1 * s};
}

} // namespace

std::vector<PaintedPart> parts(int coarseness) {
    // Every lattice count below is even, so a coarser lattice keeps a subset of the same points.
    const int c = coarseness > 1 ? coarseness : 1;
    std::vector<PaintedPart> out;
    PaintedPart slab;
    slab.surface.name = "Rock";
    slab.surface.segments = SlabSegments / c;
    slab.surface.rings = SlabRings / c;
    slab.surface.point = [](float s, float a) { return toModel(sampleSlab(s, a).world); };
    slab.surface.uv = rect(0, 0, 1024, 640);
    slab.paint = [](const glm::vec3&, float s, float a) { return paintRock(sampleSlabCached(s, a)); };
    slab.needsPoint = false;
    out.push_back(std::move(slab));
    for (int side : {-1, 1}) {
        const Tube arm = armShape(side);
        PaintedPart part;
        part.surface.name = side < 0 ? "Arm_L" : "Arm_R";
        part.surface.segments = LimbSegments / c;
        part.surface.rings = LimbRings / c;
        part.surface.point = [arm](float s, float a) { return toModel(sampleTube(arm, s, a).world); };
        part.surface.uv = side < 0 ? rect(0, 640, 256, 896) : rect(256, 640, 512, 896);
        part.paint = [arm](const glm::vec3&, float s, float a) { return paintRock(sampleTube(arm, s, a)); };
        part.needsPoint = false;
        out.push_back(std::move(part));
    }
    for (int k = 0; k < 3; ++k) {
        const Tube crag = cragShape(k);
        PaintedPart part;
        part.surface.name = "Crag";
        part.surface.segments = LimbSegments / 2 / c;
        part.surface.rings = LimbRings / 2 / c;
        part.surface.point = [crag](float s, float a) { return toModel(sampleTube(crag, s, a).world); };
        part.surface.uv = rect(512 + 128 * k, 640, 640 + 128 * k, 768);
        part.paint = [crag](const glm::vec3&, float s, float a) { return paintRock(sampleTube(crag, s, a)); };
        part.needsPoint = false;
        out.push_back(std::move(part));
    }
    for (int side : {-1, 1}) {
        const EyeShape eye = eyeShape(side);
        PaintedPart part;
        part.surface.name = side < 0 ? "Eye_L" : "Eye_R";
        part.surface.segments = 24 / c;
        part.surface.rings = 14 / c;
        part.surface.point = [eye](float s, float a) { return toModel(eye.point(s, a)); };
        part.surface.uv = side < 0 ? rect(512, 768, 640, 896) : rect(640, 768, 768, 896);
        part.paint = [](const glm::vec3&, float s, float a) { return paintEye(s, a); };
        out.push_back(std::move(part));
    }
    return out;
}

MeshData mesh(int coarseness) {
    return buildMesh(parts(coarseness));
}

Image texture() {
    Image image(TextureSize, TextureSize);
    paintAtlas(image, parts(), rgb(110, 104, 96));
    return toLinear(image);
}

} // namespace assetgen::stone
