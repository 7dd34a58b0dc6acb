#include "render/GlowRect.h"

#include <algorithm>
#include <cmath>

namespace glow {

void ScreenRect::add(const ScreenRect& r) {
    if (r.empty())
        return;
    if (empty()) {
        *this = r;
        return;
    }
    x0 = std::min(x0, r.x0);
    y0 = std::min(y0, r.y0);
    x1 = std::max(x1, r.x1);
    y1 = std::max(y1, r.y1);
}

Box worldBox(const Box& local, const glm::mat4& model) {
    Box b;
    if (local.empty())
        return b;
    for (int i = 0; i < 8; ++i) {
        const glm::vec3 corner((i & 1) ? local.max.x : local.min.x, (i & 2) ? local.max.y : local.min.y,
                               (i & 4) ? local.max.z : local.min.z);
        b.add(glm::vec3(model * glm::vec4(corner, 1.0f)));
    }
    return b;
}

Box intersect(const Box& a, const Box& b) {
    Box r;
    r.min = glm::max(a.min, b.min);
    r.max = glm::min(a.max, b.max);
    return r;
}

Box around(const glm::vec3& centre, float reach) {
    Box b;
    if (std::isinf(reach)) {
        b.min = glm::vec3(-std::numeric_limits<float>::max());
        b.max = glm::vec3(std::numeric_limits<float>::max());
    } else if (reach > 0.0f) {
        b.min = centre - glm::vec3(reach);
        b.max = centre + glm::vec3(reach);
    }
    return b;
}

ScreenRect project(const Box& box, const glm::mat4& viewProj) {
    ScreenRect rect;
    if (box.empty())
        return rect;
    glm::vec4 clip[8];
    for (int i = 0; i < 8; ++i) {
        const glm::vec3 corner((i & 1) ? box.max.x : box.min.x, (i & 2) ? box.max.y : box.min.y,
                               (i & 4) ? box.max.z : box.min.z);
        clip[i] = viewProj * glm::vec4(corner, 1.0f);
    }
    // The near plane is z = -w in clip space; in front of it w is at least the near distance, so
    // every kept point projects to a finite spot.
    auto front = [](const glm::vec4& c) { return c.z + c.w; };
    float x0 = std::numeric_limits<float>::max(), y0 = x0, x1 = -x0, y1 = -x0;
    auto keep = [&](const glm::vec4& c) {
        const float x = c.x / c.w, y = c.y / c.w;
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
    };
    bool any = false;
    for (int i = 0; i < 8; ++i) {
        if (front(clip[i]) >= 0.0f && clip[i].w > 0.0f) {
            keep(clip[i]);
            any = true;
        }
        // The box's twelve edges join corners that differ in one bit; where one crosses the near
        // plane, the crossing point bounds the visible part.
        for (int bit = 1; bit < 8; bit <<= 1) {
            const int j = i | bit;
            if (j == i)
                continue;
            const float a = front(clip[i]), b = front(clip[j]);
            if ((a < 0.0f) == (b < 0.0f))
                continue;
            const glm::vec4 crossing = glm::mix(clip[i], clip[j], a / (a - b));
            if (crossing.w > 0.0f) {
                keep(crossing);
                any = true;
            }
        }
    }
    if (!any)
        return rect;
    rect.x0 = std::max(x0, -1.0f);
    rect.y0 = std::max(y0, -1.0f);
    rect.x1 = std::min(x1, 1.0f);
    rect.y1 = std::min(y1, 1.0f);
    return rect;
}

namespace lit {
float luminance(const glm::vec3& c) { return glm::dot(c, glm::vec3(0.2126f, 0.7152f, 0.0722f)); }
} // namespace lit

namespace {

const glm::vec3 LuminanceWeights(0.2126f, 0.7152f, 0.0722f);

// Both shaders: base * (ambient + fill * max(diffuse, MinDiffuse)) + base * star * diffuse * d +
// star * specular * s, with base <= baseMax per channel and the light terms d, s at most 1.
LightBound bound(const glm::vec3& baseMax, const glm::vec3& fillMax, const glm::vec4& material,
                 const glm::vec3& lightColour) {
    const glm::vec3 w = LuminanceWeights * baseMax;
    LightBound b;
    b.always = glm::dot(w, glm::vec3(material.x) + fillMax * std::max(material.y, lit::MinDiffuse));
    b.perFalloff = lit::StarGain * glm::dot(LuminanceWeights * lightColour,
                                            baseMax * std::max(material.y, 0.0f) + glm::vec3(std::max(material.z, 0.0f)));
    return b;
}

glm::vec3 nightFillMax() { return glm::max(lit::SkyColor, lit::GroundColor) + lit::MoonColor; }
glm::vec3 creatureFillMax() { return lit::CreatureSkyColor + lit::CreatureMoonColor * lit::CreatureMoonShare; }

} // namespace

LightBound texturedSurface(const glm::vec4& colour, const glm::vec4& material, const glm::vec3& lightColour) {
    const glm::vec3 baseMax = colour.a > 0.0f ? glm::max(glm::vec3(colour), glm::vec3(0.0f)) : glm::vec3(1.0f);
    return bound(baseMax, nightFillMax(), material, lightColour);
}

LightBound creatureSurface(const glm::vec4& colour, const glm::vec4& material, const glm::vec3& lightColour) {
    LightBound b = bound(glm::vec3(1.0f), glm::max(creatureFillMax(), glm::vec3(colour)), material, lightColour);
    b.always += lit::luminance(lit::CreatureSkyColor) * lit::RimShare;
    return b;
}

float reach(const LightBound& bound, const glm::vec3& attenuation, float brightness) {
    if (bound.always >= lit::Threshold)
        return std::numeric_limits<float>::infinity();
    if (bound.perFalloff <= 0.0f || brightness <= 0.0f)
        return 0.0f;
    // Glow needs falloff(d) > need, i.e. c + l d + q d^2 < brightness / need.
    const float need = (lit::Threshold - bound.always) / bound.perFalloff;
    const float limit = brightness / need;
    const float c = attenuation.x - limit, l = attenuation.y, q = attenuation.z;
    if (c >= 0.0f)
        return 0.0f; // not even at the light itself
    if (q <= 0.0f)
        return l > 0.0f ? -c / l : std::numeric_limits<float>::infinity();
    return (-l + std::sqrt(l * l - 4.0f * q * c)) / (2.0f * q);
}

} // namespace glow
