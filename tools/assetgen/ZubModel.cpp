#include "ZubModel.h"

#include "Noise.h"
#include "ZubRig.h"
#include "ZubShape.h"

#include <algorithm>
#include <cmath>

namespace assetgen::zub {

namespace {

constexpr float TwoPi = 2.0f * Pi;

// Palette: a blue, furry body with a cream belly and face, pink inner ears and cheeks.
const glm::vec3 FurTop = rgb(30, 98, 206);
const glm::vec3 FurSide = rgb(60, 156, 246);
const glm::vec3 FurSpot = rgb(24, 56, 150);
const glm::vec3 Cream = rgb(255, 238, 200);
const glm::vec3 Blush = rgb(255, 118, 150);
const glm::vec3 InnerEar = rgb(255, 146, 178);
const glm::vec3 Ink = rgb(34, 26, 52);
const glm::vec3 Pad = rgb(236, 136, 160);

// Pixel rectangles of the 1024² atlas.
UvRect rect(int x0, int y0, int x1, int y1) {
    const float s = 1.0f / TextureSize;
    return UvRect{x0 * s, y0 * s, x1 * s, y1 * s};
}

float degrees(float radians) {
    return radians * 57.2957795f;
}

// Fur: fine streaks running along s, a little grain and a broad tone variation.
glm::vec3 fur(const glm::vec3& colour, const glm::vec3& p, float s, float a, int streaksAround,
              float streaksAlong, std::uint32_t seed, float strength = 1.0f) {
    const float streak = noise::fbm2Periodic(glm::vec2(a / TwoPi * streaksAround, s * streaksAlong),
                                             streaksAround, 3, seed, 0.55f);
    const float fine =
        noise::fbm2Periodic(glm::vec2(a / TwoPi * streaksAround * 3.0f, s * streaksAlong * 2.0f),
                            streaksAround * 3, 2, seed + 7u);
    const float broad = noise::fbm3(p * 3.0f, 3, seed + 5u);
    const float grain = noise::value3(p * 140.0f, seed + 9u);
    return colour * (1.0f + strength * (0.1f * streak + 0.07f * fine) + 0.06f * broad + 0.03f * grain);
}

// Angular position on the body seen from the front: azimuth towards +y, elevation, in degrees.
glm::vec2 faceAngles(const glm::vec3& p) {
    const glm::vec3 d = glm::normalize(p);
    return glm::vec2(degrees(std::atan2(d.y, -d.x)), degrees(std::asin(std::clamp(d.z, -1.0f, 1.0f))));
}

float ellipseMask(const glm::vec2& q, const glm::vec2& centre, const glm::vec2& radii, float softness) {
    const glm::vec2 d = (q - centre) / radii;
    return smooth(1.0f, 1.0f - softness, glm::dot(d, d));
}

// The ":3" mouth below the nose and the short line down from it, as a distance in degrees.
float mouthDistance(const glm::vec2& q) {
    const float x = std::fabs(q.x);
    const glm::vec2 centre(5.2f, -9.0f);
    float arc;
    if (q.y < centre.y)
        arc = std::fabs(glm::length(glm::vec2(x, q.y) - centre) - 5.2f);
    else
        arc = std::min(glm::length(glm::vec2(x, q.y) - glm::vec2(0.0f, -9.0f)),
                       glm::length(glm::vec2(x, q.y) - glm::vec2(10.4f, -9.0f)));
    const float philtrum = q.y < -1.0f && q.y > -9.0f ? x : 1e3f;
    return std::min(arc, philtrum);
}

// How far outside an ellipsoid a point is, in units of its radii (0 on the surface).
float ellipsoidExcess(const Ellipsoid& e, const glm::vec3& p) {
    const glm::vec3 d = p - e.centre;
    const glm::vec3 local(glm::dot(d, e.forward) / e.radii.x, glm::dot(d, e.up) / e.radii.y,
                          glm::dot(d, e.right) / e.radii.z);
    return glm::length(local) - 1.0f;
}

glm::vec3 paintBody(const glm::vec3& p, float s, float a) {
    const glm::vec3 d = glm::normalize(p);
    const glm::vec2 q = faceAngles(p);
    glm::vec3 colour = glm::mix(FurSide, FurTop, smooth(-0.2f, 0.95f, d.z));

    // Soft spots of varying size on the back and the crown, and a few pale freckles between them.
    const noise::Cells cells = noise::worley3(d * 4.3f, 17u);
    const float size = 0.26f + 0.14f * static_cast<float>(cells.id >> 24) / 255.0f;
    const float back = smooth(-0.15f, 0.3f, d.x + 0.3f * d.z);
    const float spot = smooth(size + 0.06f, size - 0.04f, cells.f1) * back;
    colour = glm::mix(colour, FurSpot, 0.7f * spot);
    const noise::Cells freckles = noise::worley3(d * 11.0f, 19u);
    const float freckle = smooth(0.16f, 0.1f, freckles.f1) * ((freckles.id & 7u) == 0u ? 1.0f : 0.0f) * back;
    colour = glm::mix(colour, rgb(150, 210, 255), 0.8f * freckle);

    // Cream belly and muzzle.
    const float belly = std::max(ellipseMask(q, glm::vec2(0.0f, -34.0f), glm::vec2(64.0f, 50.0f), 0.25f),
                                 ellipseMask(q, glm::vec2(0.0f, -4.0f), glm::vec2(25.0f, 15.0f), 0.35f));
    colour = glm::mix(fur(colour, p, s, a, 256, 22.0f, 3u), fur(Cream, p, s, a, 256, 22.0f, 3u, 0.4f), belly);

    // Cheeks.
    for (float side : {-1.0f, 1.0f})
        colour =
            glm::mix(colour, Blush,
                     0.7f * ellipseMask(q, glm::vec2(side * 41.0f, -7.0f), glm::vec2(11.0f, 8.0f), 0.8f));

    // Brows: short dark strokes that lift towards the outside.
    for (float side : {-1.0f, 1.0f}) {
        const float x = (q.x - side * 27.0f) * side;
        const float browY = 37.5f + 0.12f * x;
        const float brow = smooth(1.3f, 0.5f, std::fabs(q.y - browY)) * smooth(8.5f, 6.0f, std::fabs(x));
        colour = glm::mix(colour, FurSpot * 0.7f, 0.9f * brow);
        // A soft shade around the eyes sinks them into the fur.
        const float excess = ellipsoidExcess(eye(static_cast<int>(side)), p);
        colour *= 1.0f - 0.35f * smooth(0.28f, 0.0f, excess);
    }

    // Mouth.
    const float mouth = smooth(1.05f, 0.55f, mouthDistance(q));
    colour = glm::mix(colour, Ink, mouth);

    // Ambient shade towards the underside, where the feet tuck in, and around where the ears, arms
    // and tail grow out of the fur.
    colour *= glm::mix(0.72f, 1.0f, smooth(-0.97f, -0.45f, d.z));
    for (int side : {-1, 1}) {
        colour *= 1.0f - 0.3f * smooth(0.22f, 0.05f, glm::length(p - ear(side).spine(0.25f)));
        colour *= 1.0f - 0.25f * smooth(0.2f, 0.04f, glm::length(p - arm(side).spine(0.45f)));
    }
    colour *= 1.0f - 0.3f * smooth(0.22f, 0.05f, glm::length(p - tail().spine(0.2f)));
    return colour;
}

glm::vec3 paintEye(int side, const glm::vec3& p, float s, float a) {
    const float theta = Pi * (1.0f - s);
    const float ring = std::sin(theta);
    // Coordinates on the eye's face: x towards the creature's right (+y), y up.
    glm::vec2 face(ring * std::sin(a), ring * std::cos(a));
    if (theta > Pi * 0.5f)
        face *= 3.0f; // the back half never shows; keep it sclera-coloured

    // Big dark "bean" eyes read best at the size the game shows the creature: a thin white rim,
    // a deep blue iris with a lighter crescent below, a black pupil and two large catch lights.
    glm::vec3 colour = rgb(246, 248, 255);
    const glm::vec2 irisCentre(0.0f, -0.04f);
    const float r = glm::length(face - irisCentre);
    const float angle = std::atan2(face.y, face.x);
    const float streaks = noise::fbm2Periodic(glm::vec2((angle + Pi) / TwoPi * 48.0f, r * 6.0f), 48, 2,
                                              41u + static_cast<std::uint32_t>(side + 1));
    glm::vec3 iris = glm::mix(rgb(20, 36, 84), rgb(8, 12, 30), smooth(0.5f, 0.85f, r));
    // A glow of colour in the lower half, as if light came through the iris.
    iris = glm::mix(iris, rgb(60, 150, 230),
                    0.8f * smooth(0.05f, -0.55f, face.y) * smooth(0.3f, 0.7f, r) * smooth(0.9f, 0.75f, r));
    iris *= 1.0f + 0.15f * streaks;
    colour = glm::mix(colour, iris, smooth(0.9f, 0.86f, r));
    colour = glm::mix(colour, rgb(4, 4, 10), smooth(0.5f, 0.46f, r));

    // Catch lights from the upper left, as seen from the front.
    const float big = smooth(0.23f, 0.19f, glm::length(face - glm::vec2(0.24f, 0.3f)));
    const float small = smooth(0.1f, 0.075f, glm::length(face - glm::vec2(-0.22f, -0.26f)));
    colour = glm::mix(colour, glm::vec3(1.0f), std::max(big, 0.9f * small));

    // A dark lid line where the eye meets the fur, heavier on top.
    const float depth = bodyDepth(p);
    const float lidWidth = 0.02f + 0.022f * smooth(-0.2f, 0.8f, face.y);
    colour = glm::mix(colour, Ink, smooth(lidWidth, lidWidth * 0.4f, depth));
    return colour;
}

glm::vec3 paintNose(const glm::vec3& p, float s, float a) {
    (void)p;
    const float ring = std::sin(Pi * (1.0f - s));
    const glm::vec2 face(ring * std::sin(a), ring * std::cos(a));
    glm::vec3 colour = rgb(84, 42, 66);
    colour =
        glm::mix(colour, rgb(190, 140, 170), smooth(0.3f, 0.1f, glm::length(face - glm::vec2(0.1f, 0.45f))));
    return colour;
}

glm::vec3 paintEar(int side, const glm::vec3& p, float s, float a) {
    const Tube t = ear(side);
    glm::vec3 across, thickness;
    t.frame(s, across, thickness);
    const glm::vec3 outward = across * std::cos(a) + thickness * std::sin(a);
    const float facing = glm::dot(outward, Front);
    glm::vec3 colour = fur(FurTop, p, s, a, 48, 6.0f, 11u + static_cast<std::uint32_t>(side + 1));
    colour = glm::mix(colour, FurSpot * 0.8f, smooth(0.72f, 0.9f, s));
    const float inner = smooth(0.15f, 0.55f, facing) * smooth(0.1f, 0.22f, s) * smooth(0.86f, 0.7f, s) *
                        smooth(0.8f, 0.55f, std::fabs(std::cos(a)));
    const float centreLine = smooth(0.35f, 0.05f, std::fabs(std::cos(a)));
    glm::vec3 pink = glm::mix(InnerEar, rgb(226, 120, 156), 0.6f * centreLine);
    pink *= 1.0f + 0.05f * noise::value3(p * 60.0f, 5u);
    return glm::mix(colour, pink, inner);
}

glm::vec3 paintArm(int side, const glm::vec3& p, float s, float a) {
    glm::vec3 colour = fur(FurSide, p, s, a, 48, 5.0f, 21u + static_cast<std::uint32_t>(side + 1));
    return glm::mix(colour, Cream, smooth(0.74f, 0.84f, s));
}

glm::vec3 paintFoot(int side, const glm::vec3& p, float s, float a) {
    const float along = -std::cos(Pi * s); // -1 heel, +1 toe
    const float ring = std::sin(Pi * s);
    const float upness = ring * std::cos(a);
    const float across = ring * std::sin(a);
    glm::vec3 colour =
        Cream * (1.0f + 0.05f * noise::fbm3(p * 30.0f, 2, 31u + static_cast<std::uint32_t>(side + 1)));
    // Toe lines on the top.
    for (float x : {-0.33f, 0.33f})
        colour = glm::mix(colour, rgb(200, 176, 150),
                          smooth(0.05f, 0.02f, std::fabs(across - x)) * smooth(0.35f, 0.6f, along) *
                              smooth(-0.1f, 0.2f, upness));
    // Pads on the sole: a big one and three beans.
    if (upness < -0.25f) {
        float pad =
            ellipseMask(glm::vec2(along, across), glm::vec2(-0.2f, 0.0f), glm::vec2(0.38f, 0.5f), 0.3f);
        for (float x : {-0.45f, 0.0f, 0.45f})
            pad = std::max(pad, ellipseMask(glm::vec2(along, across),
                                            glm::vec2(0.5f + (x == 0.0f ? 0.08f : 0.0f), x),
                                            glm::vec2(0.17f, 0.17f), 0.4f));
        colour = glm::mix(colour, Pad, pad * smooth(-0.25f, -0.45f, upness));
    }
    return colour;
}

glm::vec3 paintTail(const glm::vec3& p, float s, float a) {
    glm::vec3 colour = glm::mix(FurSide, FurTop, 0.4f);
    const float ring = smooth(0.15f, 0.45f, std::sin(s * TwoPi * 3.2f)) * smooth(0.7f, 0.6f, s);
    colour = glm::mix(colour, FurSpot, ring);
    colour = glm::mix(colour, Cream, smooth(0.66f, 0.78f, s));
    return fur(colour, p, s, a, 64, 10.0f, 51u);
}

glm::vec3 paintTuft(const glm::vec3& p, float s, float a) {
    return fur(glm::mix(FurTop, FurSpot, 0.5f + 0.3f * s), p, s, a, 24, 4.0f, 61u);
}

Influences tubeWeights(int base, int tip, float s, float start, float end) {
    return blend(base, tip, smooth(start, end, s));
}

} // namespace

std::vector<PaintedPart> parts() {
    std::vector<PaintedPart> out;
    auto add = [&out](const char* name, int segments, int rings, std::function<glm::vec3(float, float)> point,
                      UvRect uv, std::function<Influences(const glm::vec3&, float, float)> weights,
                      std::function<glm::vec3(const glm::vec3&, float, float)> paint) {
        PaintedPart part;
        part.surface.name = name;
        part.surface.segments = segments;
        part.surface.rings = rings;
        part.surface.point = std::move(point);
        part.surface.uv = uv;
        part.surface.influences = std::move(weights);
        part.paint = std::move(paint);
        out.push_back(std::move(part));
    };
    auto fixed = [](int joint) { return [joint](const glm::vec3&, float, float) { return rigid(joint); }; };

    add("Body", 72, 44, bodyPoint, rect(0, 0, 1024, 512), fixed(Body), paintBody);
    for (int side : {-1, 1}) {
        const Ellipsoid e = eye(side);
        add(
            side < 0 ? "Eye_L" : "Eye_R", 40, 24, [e](float s, float a) { return e.point(s, a); },
            side < 0 ? rect(0, 512, 256, 768) : rect(256, 512, 512, 768), fixed(Body),
            [side](const glm::vec3& p, float s, float a) { return paintEye(side, p, s, a); });
    }
    {
        const Ellipsoid n = nose();
        add(
            "Nose", 20, 10, [n](float s, float a) { return n.point(s, a); }, rect(512, 768, 576, 832),
            fixed(Body), paintNose);
    }
    for (int side : {-1, 1}) {
        const Tube t = ear(side);
        const int base = side < 0 ? EarL : EarR, tip = side < 0 ? EarLTip : EarRTip;
        add(
            side < 0 ? "Ear_L" : "Ear_R", 24, 28, [t](float s, float a) { return t.point(s, a); },
            side < 0 ? rect(512, 512, 640, 768) : rect(640, 512, 768, 768),
            [base, tip](const glm::vec3&, float s, float) {
                return tubeWeights(base, tip, s, EarBendStart, EarBendEnd);
            },
            [side](const glm::vec3& p, float s, float a) { return paintEar(side, p, s, a); });
    }
    for (int side : {-1, 1}) {
        const Tube t = arm(side);
        add(
            side < 0 ? "Arm_L" : "Arm_R", 20, 14, [t](float s, float a) { return t.point(s, a); },
            side < 0 ? rect(0, 768, 128, 896) : rect(128, 768, 256, 896), fixed(side < 0 ? ArmL : ArmR),
            [side](const glm::vec3& p, float s, float a) { return paintArm(side, p, s, a); });
    }
    for (int side : {-1, 1}) {
        const Ellipsoid f = foot(side);
        add(
            side < 0 ? "Foot_L" : "Foot_R", 28, 16, [f](float s, float a) { return f.point(s, a); },
            side < 0 ? rect(256, 768, 384, 896) : rect(384, 768, 512, 896), fixed(side < 0 ? FootL : FootR),
            [side](const glm::vec3& p, float s, float a) { return paintFoot(side, p, s, a); });
    }
    {
        const Tube t = tail();
        add(
            "Tail", 24, 40, [t](float s, float a) { return t.point(s, a); }, rect(768, 512, 1024, 768),
            [](const glm::vec3&, float s, float) {
                return tubeWeights(Tail, TailTip, s, TailBendStart, TailBendEnd);
            },
            paintTail);
    }
    {
        const Tube t = tuft();
        add(
            "Tuft", 14, 12, [t](float s, float a) { return t.point(s, a); }, rect(576, 768, 640, 896),
            fixed(Body), paintTuft);
    }
    return out;
}

MeshData mesh() {
    return buildMesh(parts());
}

Image texture() {
    Image image(TextureSize, TextureSize);
    paintAtlas(image, parts(), FurSide);
    return toLinear(image);
}

} // namespace assetgen::zub
