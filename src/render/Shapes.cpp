#include "render/Shapes.h"

#include "model/ModelGpu.h"

#include <cmath>
#include <iostream>
#include <utility>

namespace {

// The angles are built from these exact floats so that every platform produces the same table.
constexpr float Pi = 3.1415927f;
constexpr float TwoPi = 6.2831855f;
constexpr int CylinderSlices = 32;
constexpr float CylinderStep = 0.19634955f; // 2π / 32
constexpr int SphereStacks = 16;
constexpr int SphereSlices = 32;
constexpr int SphereRings = SphereStacks - 1;

// The next slice around the rim; the last one wraps to slice 0.
int nextSlice(int i, int slices) {
    return i + 1 < slices ? i + 1 : 0;
}

Model wrap(ShapeGeometry geometry, Shader* shader, const glm::vec4& color, bool bloomCarrier = false) {
    Mesh mesh(std::move(geometry.vertices), std::move(geometry.indices), {});
    return Model(std::move(mesh), shader, color, bloomCarrier);
}

} // namespace

Model::Model(Mesh mesh, Shader* program, const glm::vec4& color, bool bloomCarrier)
    : objCol(color), shader(program) {
    if (bloomCarrier)
        std::cout << "INIT BLOOM" << std::endl;
    Texture texture = loadDefaultTexture();
    mesh.addTexture(texture);
    meshes.push_back(std::move(mesh));
    materialCoefficients = modelgpu::MaterialCoefficients;
}

ShapeGeometry boxGeometry(float width, float height, float depth) {
    const float w = width / 2.0f, h = height / 2.0f, d = depth / 2.0f;
    ShapeGeometry box;
    box.vertices = {
        // front (+z)
        {{-w, -h, d}, {0, 0, 1}, {0, 0}},
        {{w, -h, d}, {0, 0, 1}, {1, 0}},
        {{w, h, d}, {0, 0, 1}, {1, 1}},
        {{-w, h, d}, {0, 0, 1}, {0, 1}},
        // back (-z)
        {{w, h, -d}, {0, 0, -1}, {1, 1}},
        {{-w, h, -d}, {0, 0, -1}, {0, 1}},
        {{-w, -h, -d}, {0, 0, -1}, {0, 0}},
        {{w, -h, -d}, {0, 0, -1}, {1, 0}},
        // right (+x)
        {{w, -h, d}, {1, 0, 0}, {1, 0}},
        {{w, h, d}, {1, 0, 0}, {1, 1}},
        {{w, h, -d}, {1, 0, 0}, {0, 1}},
        {{w, -h, -d}, {1, 0, 0}, {0, 0}},
        // left (-x)
        {{-w, -h, d}, {-1, 0, 0}, {0, 0}},
        {{-w, h, d}, {-1, 0, 0}, {0, 1}},
        {{-w, h, -d}, {-1, 0, 0}, {1, 1}},
        {{-w, -h, -d}, {-1, 0, 0}, {1, 0}},
        // top (+y)
        {{w, h, d}, {0, 1, 0}, {1, 1}},
        {{-w, h, d}, {0, 1, 0}, {0, 1}},
        {{w, h, -d}, {0, 1, 0}, {1, 0}},
        {{-w, h, -d}, {0, 1, 0}, {0, 0}},
        // bottom (-y)
        {{-w, -h, d}, {0, -1, 0}, {0, 0}},
        {{w, -h, d}, {0, -1, 0}, {1, 0}},
        {{-w, -h, -d}, {0, -1, 0}, {0, 1}},
        {{w, -h, -d}, {0, -1, 0}, {1, 1}},
    };
    box.indices = {
        0,  1,  2,  2,  3,  0,  // front
        7,  6,  5,  5,  4,  7,  // back
        8,  11, 10, 10, 9,  8,  // right
        15, 12, 13, 13, 14, 15, // left
        17, 16, 18, 18, 19, 17, // top
        22, 23, 20, 21, 20, 23, // bottom
    };
    return box;
}

ShapeGeometry cylinderGeometry(float radius, float height) {
    const float r = radius, h = height / 2.0f;
    ShapeGeometry cylinder;
    std::vector<Vertex>& v = cylinder.vertices;
    v.resize(2 + 4 * CylinderSlices);
    v[0] = {{0, -h, 0}, {0, -1, 0}, {0.5f, 0.5f}};
    v[1] = {{0, h, 0}, {0, 1, 0}, {0.5f, 0.5f}};
    // Caps and side use separate vertices at the rim so each keeps its own flat or radial normal.
    const unsigned capBase = 2, sideBase = 2 + 2 * CylinderSlices;
    for (int i = 0; i < CylinderSlices; ++i) {
        const float a = static_cast<float>(i) * CylinderStep;
        const float c = std::cos(a), s = std::sin(a);
        const glm::vec2 capUv(0.5f + 0.5f * c, 0.5f + 0.5f * s);
        const glm::vec3 bottom(r * c, -h, r * s), top(r * c, h, r * s);
        v[capBase + 2 * i] = {bottom, {0, -1, 0}, capUv};
        v[capBase + 2 * i + 1] = {top, {0, 1, 0}, capUv};
        v[sideBase + 2 * i] = {bottom, glm::normalize(bottom - v[0].position), {a / TwoPi, 0.0f}};
        v[sideBase + 2 * i + 1] = {top, glm::normalize(top - v[1].position), {a / TwoPi, 1.0f}};
    }
    std::vector<unsigned>& idx = cylinder.indices;
    idx.reserve(12 * CylinderSlices);
    for (unsigned i = 0; i < CylinderSlices; ++i) {
        const unsigned n = static_cast<unsigned>(nextSlice(static_cast<int>(i), CylinderSlices));
        idx.insert(idx.end(), {0, capBase + 2 * i, capBase + 2 * n});
        idx.insert(idx.end(), {1, capBase + 2 * n + 1, capBase + 2 * i + 1});
    }
    for (unsigned i = 0; i < CylinderSlices; ++i) {
        const unsigned n = static_cast<unsigned>(nextSlice(static_cast<int>(i), CylinderSlices));
        idx.insert(idx.end(), {sideBase + 2 * i, sideBase + 2 * n + 1, sideBase + 2 * n});
        idx.insert(idx.end(), {sideBase + 2 * n + 1, sideBase + 2 * i, sideBase + 2 * i + 1});
    }
    return cylinder;
}

ShapeGeometry sphereGeometry(float radius) {
    const float R = radius;
    ShapeGeometry sphere;
    std::vector<Vertex>& v = sphere.vertices;
    v.reserve(2 + SphereRings * SphereSlices);
    // The poles' v follows the rings (v = φ / π runs from 0 in the north to 1 in the south), so the
    // texture does not flip over in the two cap fans.
    v.push_back({{0, R, 0}, {0, 1, 0}, {0.5f, 0.0f}});
    v.push_back({{0, -R, 0}, {0, -1, 0}, {0.5f, 1.0f}});
    for (int k = 1; k <= SphereRings; ++k) {
        const float phi = static_cast<float>(k) * Pi * 0.0625f;
        for (int j = 0; j < SphereSlices; ++j) {
            const float theta = 2.0f * static_cast<float>(j) * Pi * 0.03125f;
            const glm::vec3 p(R * std::sin(phi) * std::cos(theta), R * std::cos(phi),
                              R * std::sin(phi) * std::sin(theta));
            v.push_back({p, glm::normalize(p), {theta / TwoPi, phi / Pi}});
        }
    }
    auto ring = [](int k, int j) { return static_cast<unsigned>(2 + (k - 1) * SphereSlices + j); };
    std::vector<unsigned>& idx = sphere.indices;
    idx.reserve(6 * SphereSlices + 6 * (SphereRings - 1) * SphereSlices);
    for (int j = 0; j < SphereSlices; ++j) {
        const int jn = nextSlice(j, SphereSlices);
        idx.insert(idx.end(), {0, ring(1, jn), ring(1, j)});
        idx.insert(idx.end(), {ring(SphereRings, j), ring(SphereRings, jn), 1});
    }
    for (int k = 2; k <= SphereRings; ++k) {
        for (int j = 0; j < SphereSlices; ++j) {
            const int jn = nextSlice(j, SphereSlices);
            idx.insert(idx.end(), {ring(k, j), ring(k - 1, jn), ring(k, jn)});
            idx.insert(idx.end(), {ring(k - 1, jn), ring(k, j), ring(k - 1, j)});
        }
    }
    return sphere;
}

Model makeBox(Shader* shader, float width, float height, float depth, const glm::vec4& color) {
    return wrap(boxGeometry(width, height, depth), shader, color);
}

Model makeCylinder(Shader* shader, float radius, float height, const glm::vec4& color) {
    return wrap(cylinderGeometry(radius, height), shader, color);
}

Model makeSphere(Shader* shader, float radius, const glm::vec4& color) {
    return wrap(sphereGeometry(radius), shader, color, true);
}
