#include "Surface.h"

#include <glm/gtc/constants.hpp>

#include <algorithm>

namespace assetgen {

namespace {

constexpr float TwoPi = glm::two_pi<float>();
constexpr float MinWeight = 1e-3f;

// Joint 0 cannot hold a weight in the game's vertices (id 0 marks an empty slot), so it is dropped
// with the negligible weights; the rest come heaviest first and sum to 1.
Influences normalised(Influences in) {
    float sum = 0.0f;
    for (Influence& i : in) {
        if (i.weight < MinWeight || i.joint <= 0)
            i = Influence{};
        sum += i.weight;
    }
    std::sort(in.begin(), in.end(),
              [](const Influence& a, const Influence& b) { return a.weight > b.weight; });
    for (Influence& i : in)
        if (sum > 0.0f && i.weight > 0.0f)
            i.weight /= sum;
    return in;
}

} // namespace

glm::vec2 imagePosition(const UvRect& rect, float s, float a) {
    return glm::vec2(rect.x0 + (a / TwoPi) * (rect.x1 - rect.x0), rect.y1 - s * (rect.y1 - rect.y0));
}

Influences rigid(int joint) {
    return Influences{Influence{joint, 1.0f}, Influence{}, Influence{}};
}

Influences blend(int a, int b, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    return Influences{Influence{a, 1.0f - t}, Influence{b, t}, Influence{}};
}

void addSurface(MeshData& mesh, const SurfaceShape& shape) {
    const int n = shape.segments;
    const int m = shape.rings;
    // Lattice: index 0 is the first end, 1 + (k-1)*n + j the ring points, last the second end.
    const int latticeSize = 2 + (m - 1) * n;
    const int lastPole = latticeSize - 1;
    auto latticeIndex = [&](int k, int j) {
        if (k == 0)
            return 0;
        if (k == m)
            return lastPole;
        return 1 + (k - 1) * n + ((j % n) + n) % n;
    };
    std::vector<glm::vec3> lattice(static_cast<size_t>(latticeSize));
    lattice[0] = shape.point(0.0f, 0.0f);
    lattice[static_cast<size_t>(lastPole)] = shape.point(1.0f, 0.0f);
    for (int k = 1; k < m; ++k)
        for (int j = 0; j < n; ++j)
            lattice[static_cast<size_t>(latticeIndex(k, j))] =
                shape.point(static_cast<float>(k) / m, TwoPi * static_cast<float>(j) / n);

    // Triangles on the lattice, in the orientation of the parameters.
    struct Tri {
        int a, b, c;
    };
    std::vector<Tri> tris;
    for (int k = 0; k < m; ++k)
        for (int j = 0; j < n; ++j) {
            const int p00 = latticeIndex(k, j), p01 = latticeIndex(k, j + 1);
            const int p10 = latticeIndex(k + 1, j), p11 = latticeIndex(k + 1, j + 1);
            if (k != 0)
                tris.push_back({p00, p01, p11});
            if (k != m - 1)
                tris.push_back({p00, p11, p10});
        }
    // The sign of the enclosed volume tells whether the parameters run clockwise from outside.
    double volume = 0.0;
    for (const Tri& t : tris)
        volume += glm::dot(glm::dvec3(lattice[t.a]),
                           glm::cross(glm::dvec3(lattice[t.b]), glm::dvec3(lattice[t.c])));
    const bool flip = volume < 0.0;

    std::vector<glm::vec3> normals(lattice.size(), glm::vec3(0.0f));
    for (const Tri& t : tris) {
        glm::vec3 faceNormal = glm::cross(lattice[t.b] - lattice[t.a], lattice[t.c] - lattice[t.a]);
        if (flip)
            faceNormal = -faceNormal;
        normals[t.a] += faceNormal;
        normals[t.b] += faceNormal;
        normals[t.c] += faceNormal;
    }
    for (glm::vec3& nrm : normals)
        nrm = glm::length(nrm) > 0.0f ? glm::normalize(nrm) : glm::vec3(0.0f, 0.0f, 1.0f);

    // Emitted vertices: rings get a closing column (u = 1) and the ends one point per segment, so
    // the texture wraps without a seam stretched across the whole strip.
    const unsigned base = static_cast<unsigned>(mesh.vertices.size());
    auto emit = [&](int latticeId, float s, float a, float uA) {
        MeshVertex v;
        v.position = lattice[static_cast<size_t>(latticeId)];
        v.normal = normals[static_cast<size_t>(latticeId)];
        const glm::vec2 image = imagePosition(shape.uv, s, uA);
        v.uv = glm::vec2(image.x, 1.0f - image.y);
        v.influences = normalised(shape.influences ? shape.influences(v.position, s, a) : Influences{});
        mesh.vertices.push_back(v);
    };
    // Pole vertices first: index base + j for the first end, then the rings, then the second end.
    for (int j = 0; j < n; ++j)
        emit(0, 0.0f, 0.0f, TwoPi * (j + 0.5f) / n);
    const unsigned ringBase = base + static_cast<unsigned>(n);
    for (int k = 1; k < m; ++k)
        for (int j = 0; j <= n; ++j) {
            const float a = TwoPi * static_cast<float>(j) / n;
            emit(latticeIndex(k, j), static_cast<float>(k) / m, std::fmod(a, TwoPi), a);
        }
    const unsigned topBase = ringBase + static_cast<unsigned>((m - 1) * (n + 1));
    for (int j = 0; j < n; ++j)
        emit(lastPole, 1.0f, 0.0f, TwoPi * (j + 0.5f) / n);

    auto vertexIndex = [&](int k, int j) -> unsigned {
        if (k == 0)
            return base + static_cast<unsigned>(j % n);
        if (k == m)
            return topBase + static_cast<unsigned>(j % n);
        return ringBase + static_cast<unsigned>((k - 1) * (n + 1) + j);
    };
    auto pushTri = [&](unsigned a, unsigned b, unsigned c) {
        mesh.indices.push_back(a);
        mesh.indices.push_back(flip ? c : b);
        mesh.indices.push_back(flip ? b : c);
    };
    for (int k = 0; k < m; ++k)
        for (int j = 0; j < n; ++j) {
            // Pole triangles use the pole vertex of their own segment.
            const unsigned p00 = vertexIndex(k, j), p01 = k == 0 ? p00 : vertexIndex(k, j + 1);
            const unsigned p10 = vertexIndex(k + 1, j), p11 = k + 1 == m ? p10 : vertexIndex(k + 1, j + 1);
            if (k != 0)
                pushTri(p00, p01, p11);
            if (k != m - 1)
                pushTri(p00, p11, p10);
        }
}

} // namespace assetgen
