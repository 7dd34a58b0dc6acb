#include "Surface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <tuple>

using namespace assetgen;

namespace {

SurfaceShape sphere(bool reversed) {
    SurfaceShape shape;
    shape.name = "sphere";
    shape.segments = 24;
    shape.rings = 12;
    shape.uv = UvRect{0.25f, 0.5f, 0.75f, 1.0f};
    shape.point = [reversed](float s, float a) {
        const float theta = 3.14159265f * s;
        const float around = reversed ? -a : a;
        return glm::vec3(std::sin(theta) * std::cos(around), std::sin(theta) * std::sin(around),
                         -std::cos(theta));
    };
    shape.influences = [](const glm::vec3& p, float, float) { return blend(2, 3, p.z * 0.5f + 0.5f); };
    return shape;
}

} // namespace

TEST(Surface, ClosedOutwardSmoothAndInsideItsTextureRect) {
    for (bool reversed : {false, true}) {
        MeshData mesh;
        addSurface(mesh, sphere(reversed));
        ASSERT_EQ(mesh.indices.size() % 3, 0u);

        // Welded by position, every edge belongs to exactly two triangles: no holes, no seams.
        std::map<std::tuple<float, float, float>, int> ids;
        auto id = [&](const glm::vec3& p) {
            auto key = std::make_tuple(p.x, p.y, p.z);
            auto found = ids.find(key);
            if (found != ids.end())
                return found->second;
            const int next = static_cast<int>(ids.size());
            ids.emplace(key, next);
            return next;
        };
        std::map<std::pair<int, int>, int> edges;
        int outward = 0, triangles = 0;
        for (size_t t = 0; t < mesh.indices.size(); t += 3) {
            const glm::vec3& a = mesh.vertices[mesh.indices[t]].position;
            const glm::vec3& b = mesh.vertices[mesh.indices[t + 1]].position;
            const glm::vec3& c = mesh.vertices[mesh.indices[t + 2]].position;
            const int ia = id(a), ib = id(b), ic = id(c);
            if (ia == ib || ib == ic || ia == ic)
                continue; // none expected, see below
            ++triangles;
            for (auto [u, v] : {std::pair{ia, ib}, std::pair{ib, ic}, std::pair{ic, ia}})
                ++edges[{std::min(u, v), std::max(u, v)}];
            if (glm::dot(glm::cross(b - a, c - a), a + b + c) > 0.0f)
                ++outward;
        }
        EXPECT_EQ(triangles * 3, static_cast<int>(mesh.indices.size())) << "degenerate triangles";
        EXPECT_EQ(outward, triangles) << (reversed ? "reversed" : "forward") << " parameters";
        for (const auto& [edge, count] : edges)
            ASSERT_EQ(count, 2);
        // 2 poles and 11 rings of 24 points.
        EXPECT_EQ(ids.size(), 2u + 11u * 24u);

        for (const MeshVertex& v : mesh.vertices) {
            // Averaged face normals of a 24 x 12 lattice stay within a few degrees of the true ones.
            EXPECT_LT(glm::length(v.normal - glm::normalize(v.position)), 0.06f);
            EXPECT_GE(v.uv.x, 0.25f - 1e-6f);
            EXPECT_LE(v.uv.x, 0.75f + 1e-6f);
            // Stored with v up: the rectangle's image rows 0.5 to 1 are v 0 to 0.5.
            EXPECT_GE(v.uv.y, -1e-6f);
            EXPECT_LE(v.uv.y, 0.5f + 1e-6f);
            EXPECT_NEAR(v.influences[0].weight + v.influences[1].weight, 1.0f, 1e-6f);
        }
    }
}
