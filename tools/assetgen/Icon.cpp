#include "Icon.h"

#include "Image.h"
#include "ZubModel.h"
#include "ZubShape.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

namespace assetgen {

namespace {

constexpr int Supersampling = 4;
// Part of the icon's width the creature spans, and the badge's radius (both of the icon's size).
constexpr float CreatureSpan = 0.74f;
constexpr float BadgeRadius = 0.47f;

const glm::vec3 SkyHigh = rgb(16, 22, 64);
const glm::vec3 SkyLow = rgb(44, 70, 150);
const glm::vec3 StarGlow = rgb(255, 236, 190);

struct View {
    glm::vec3 right, up, forward;
};

// Seen from in front, 28 degrees round to the creature's right and 14 degrees from above.
View iconView() {
    const glm::vec3 toCamera = zub::direction(28.0f, 14.0f);
    View v;
    v.forward = -toCamera;
    v.right = glm::normalize(glm::cross(v.forward, zub::Up));
    v.up = glm::cross(v.right, v.forward);
    return v;
}

struct Canvas {
    int size;
    std::vector<glm::vec4> colour; // linear RGB and coverage
    std::vector<float> depth;
    explicit Canvas(int s)
        : size(s), colour(static_cast<size_t>(s) * s, glm::vec4(0.0f)),
          depth(static_cast<size_t>(s) * s, std::numeric_limits<float>::max()) {}
};

// The badge: a disc of night sky, lighter towards the bottom, with the star's glow up and to the left.
void drawBadge(Canvas& canvas) {
    const float centre = canvas.size * 0.5f;
    const float radius = canvas.size * BadgeRadius;
    const glm::vec2 glowAt(canvas.size * 0.3f, canvas.size * 0.26f);
    for (int y = 0; y < canvas.size; ++y)
        for (int x = 0; x < canvas.size; ++x) {
            const glm::vec2 p(x + 0.5f, y + 0.5f);
            const float r = glm::length(p - glm::vec2(centre));
            const float edge = std::clamp(radius - r + 0.5f, 0.0f, 1.0f);
            if (edge <= 0.0f)
                continue;
            const glm::vec3 sky = glm::mix(SkyHigh, SkyLow, p.y / canvas.size);
            const float glow = std::exp(-glm::length(p - glowAt) / (canvas.size * 0.12f));
            const glm::vec3 painted = glm::min(sky + StarGlow * glow, glm::vec3(1.0f));
            canvas.colour[static_cast<size_t>(y) * canvas.size + x] =
                glm::vec4(glm::pow(painted, glm::vec3(2.2f)), edge);
        }
}

float edgeFunction(const glm::vec2& a, const glm::vec2& b, const glm::vec2& p) {
    return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
}

// The creature's mesh, textured and lit by one soft light from the upper left, depth-tested.
void drawCreature(Canvas& canvas) {
    const MeshData mesh = zub::mesh();
    const Image texture = zub::texture();
    const View view = iconView();

    std::vector<glm::vec3> projected(mesh.vertices.size());
    glm::vec2 low(std::numeric_limits<float>::max()), high(-std::numeric_limits<float>::max());
    for (size_t i = 0; i < mesh.vertices.size(); ++i) {
        const glm::vec3& p = mesh.vertices[i].position;
        projected[i] = glm::vec3(glm::dot(p, view.right), -glm::dot(p, view.up), glm::dot(p, view.forward));
        low = glm::min(low, glm::vec2(projected[i]));
        high = glm::max(high, glm::vec2(projected[i]));
    }
    const glm::vec2 extent = high - low;
    const float scale = CreatureSpan * canvas.size / std::max(extent.x, extent.y);
    const glm::vec2 offset = glm::vec2(canvas.size * 0.5f) - (low + high) * 0.5f * scale;
    for (glm::vec3& p : projected)
        p = glm::vec3(glm::vec2(p) * scale + offset, p.z);

    const glm::vec3 light = glm::normalize(-view.forward + 0.9f * view.up - 0.6f * view.right);
    for (size_t t = 0; t + 2 < mesh.indices.size(); t += 3) {
        const unsigned i0 = mesh.indices[t], i1 = mesh.indices[t + 1], i2 = mesh.indices[t + 2];
        const glm::vec2 a(projected[i0]), b(projected[i1]), c(projected[i2]);
        const float area = edgeFunction(a, b, c);
        // Counter-clockwise from outside turns clockwise on a y-down canvas: skip the back faces.
        if (area >= 0.0f)
            continue;
        const int x0 = std::max(0, static_cast<int>(std::floor(std::min({a.x, b.x, c.x}))));
        const int x1 = std::min(canvas.size - 1, static_cast<int>(std::ceil(std::max({a.x, b.x, c.x}))));
        const int y0 = std::max(0, static_cast<int>(std::floor(std::min({a.y, b.y, c.y}))));
        const int y1 = std::min(canvas.size - 1, static_cast<int>(std::ceil(std::max({a.y, b.y, c.y}))));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const glm::vec2 p(x + 0.5f, y + 0.5f);
                const float w0 = edgeFunction(b, c, p) / area;
                const float w1 = edgeFunction(c, a, p) / area;
                const float w2 = edgeFunction(a, b, p) / area;
                if (w0 < 0.0f || w1 < 0.0f || w2 < 0.0f)
                    continue;
                const float z = w0 * projected[i0].z + w1 * projected[i1].z + w2 * projected[i2].z;
                const size_t at = static_cast<size_t>(y) * canvas.size + x;
                if (z >= canvas.depth[at])
                    continue;
                canvas.depth[at] = z;
                const MeshVertex& v0 = mesh.vertices[i0];
                const MeshVertex& v1 = mesh.vertices[i1];
                const MeshVertex& v2 = mesh.vertices[i2];
                const glm::vec2 uv = w0 * v0.uv + w1 * v1.uv + w2 * v2.uv;
                const glm::vec3 normal = glm::normalize(w0 * v0.normal + w1 * v1.normal + w2 * v2.normal);
                const glm::vec3 albedo = texture.sample(uv.x * texture.width, (1.0f - uv.y) * texture.height);
                const float diffuse = std::max(glm::dot(normal, light), 0.0f);
                // A rim of sky light keeps the dark side apart from the dark badge.
                const float rim = std::pow(1.0f - std::max(glm::dot(normal, -view.forward), 0.0f), 3.0f);
                const glm::vec3 lit =
                    albedo * (0.28f + 0.95f * diffuse) + 0.25f * rim * glm::vec3(0.6f, 0.7f, 1.0f);
                canvas.colour[at] = glm::vec4(lit, 1.0f);
            }
    }
}

} // namespace

IconImage drawIcon(int size) {
    Canvas canvas(size * Supersampling);
    drawBadge(canvas);
    drawCreature(canvas);

    IconImage icon;
    icon.size = size;
    icon.rgba.resize(static_cast<size_t>(size) * size * 4);
    const float samples = Supersampling * Supersampling;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            // Averaged with coverage as weight, so the transparent outside darkens no edge.
            glm::vec3 sum(0.0f);
            float coverage = 0.0f;
            for (int sy = 0; sy < Supersampling; ++sy)
                for (int sx = 0; sx < Supersampling; ++sx) {
                    const glm::vec4& c =
                        canvas.colour[static_cast<size_t>(y * Supersampling + sy) * canvas.size +
                                      x * Supersampling + sx];
                    sum += glm::vec3(c) * c.a;
                    coverage += c.a;
                }
            const glm::vec3 linear = coverage > 0.0f ? sum / coverage : glm::vec3(0.0f);
            const glm::vec3 shown = glm::pow(glm::clamp(linear, 0.0f, 1.0f), glm::vec3(1.0f / 2.2f));
            unsigned char* out = &icon.rgba[(static_cast<size_t>(y) * size + x) * 4];
            for (int ch = 0; ch < 3; ++ch)
                out[ch] = static_cast<unsigned char>(std::lround(shown[ch] * 255.0f));
            out[3] = static_cast<unsigned char>(std::lround(coverage / samples * 255.0f));
        }
    return icon;
}

std::string encodeIconPng(const IconImage& icon) {
    std::string out;
    stbi_write_png_to_func(
        [](void* context, void* data, int n) {
            static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                                       static_cast<size_t>(n));
        },
        &out, icon.size, icon.size, 4, icon.rgba.data(), icon.size * 4);
    return out;
}

bool writeIcons(const std::string& folder, const std::string& name, std::string& error) {
    for (int size : {64, 256}) {
        const std::filesystem::path dir = std::filesystem::path(folder) / std::to_string(size);
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        const std::filesystem::path file = dir / (name + ".png");
        std::ofstream out(file, std::ios::binary);
        const std::string bytes = encodeIconPng(drawIcon(size));
        if (!out || !out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
            error = "cannot write " + file.string();
            return false;
        }
    }
    return true;
}

} // namespace assetgen
