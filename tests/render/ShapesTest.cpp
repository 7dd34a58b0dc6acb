#include "render/Shapes.h"

#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

glm::vec3 faceNormal(const ShapeGeometry& g, size_t t) {
    const glm::vec3& a = g.vertices[g.indices[t]].position;
    const glm::vec3& b = g.vertices[g.indices[t + 1]].position;
    const glm::vec3& c = g.vertices[g.indices[t + 2]].position;
    return glm::cross(b - a, c - a);
}

// Counter-clockwise seen from outside means the right-hand normal of the triangle points the
// same way as the normals its vertices carry (and, for these convex shapes, away from the centre).
void expectOutwardWinding(const ShapeGeometry& g) {
    for (size_t t = 0; t < g.indices.size(); t += 3) {
        const glm::vec3 geometric = faceNormal(g, t);
        ASSERT_GT(glm::length(geometric), 0.0f) << "degenerate triangle " << t / 3;
        glm::vec3 carried(0.0f), centroid(0.0f);
        for (size_t k = 0; k < 3; ++k) {
            carried += g.vertices[g.indices[t + k]].normal;
            centroid += g.vertices[g.indices[t + k]].position;
        }
        EXPECT_GT(glm::dot(geometric, carried), 0.0f)
            << "triangle " << t / 3 << " disagrees with its normals";
        EXPECT_GT(glm::dot(geometric, centroid), 0.0f) << "triangle " << t / 3 << " faces inwards";
    }
}

unsigned maxIndex(const ShapeGeometry& g) {
    return *std::max_element(g.indices.begin(), g.indices.end());
}

bool hasTriangle(const ShapeGeometry& g, unsigned a, unsigned b, unsigned c) {
    for (size_t t = 0; t < g.indices.size(); t += 3)
        if (g.indices[t] == a && g.indices[t + 1] == b && g.indices[t + 2] == c)
            return true;
    return false;
}

} // namespace

TEST(ShapesTest, BoxHasFourVerticesPerFaceAndOutwardTriangles) {
    const ShapeGeometry box = boxGeometry(2.0f, 4.0f, 6.0f);
    ASSERT_EQ(box.vertices.size(), 24u);
    ASSERT_EQ(box.indices.size(), 36u);
    EXPECT_EQ(maxIndex(box), 23u);
    expectOutwardWinding(box);

    // Every vertex lies on a corner of a 2 x 4 x 6 box.
    for (const Vertex& v : box.vertices) {
        EXPECT_FLOAT_EQ(std::abs(v.position.x), 1.0f);
        EXPECT_FLOAT_EQ(std::abs(v.position.y), 2.0f);
        EXPECT_FLOAT_EQ(std::abs(v.position.z), 3.0f);
    }
}

TEST(ShapesTest, CylinderClosesItsRimWithoutASeamVertex) {
    const ShapeGeometry cylinder = cylinderGeometry(15.0f, 200.0f);
    ASSERT_EQ(cylinder.vertices.size(), 130u);
    ASSERT_EQ(cylinder.indices.size(), 384u);
    EXPECT_EQ(maxIndex(cylinder), 129u);
    expectOutwardWinding(cylinder);

    // The last slice joins rim vertex 31 back to rim vertex 0, on both caps and on the side.
    EXPECT_TRUE(hasTriangle(cylinder, 0, 2 + 2 * 31, 2));
    EXPECT_TRUE(hasTriangle(cylinder, 1, 3, 3 + 2 * 31));
    EXPECT_TRUE(hasTriangle(cylinder, 66 + 2 * 31, 67, 66));
    EXPECT_TRUE(hasTriangle(cylinder, 67, 66 + 2 * 31, 67 + 2 * 31));

    // Rim vertices sit on the circle at the cap heights; side normals are radial.
    for (unsigned i = 2; i < 130; ++i) {
        const Vertex& v = cylinder.vertices[i];
        EXPECT_NEAR(std::hypot(v.position.x, v.position.z), 15.0f, 1e-4f);
        EXPECT_FLOAT_EQ(std::abs(v.position.y), 100.0f);
        if (i >= 66) {
            EXPECT_FLOAT_EQ(v.normal.y, 0.0f);
            EXPECT_NEAR(v.normal.x * 15.0f, v.position.x, 1e-4f);
        }
    }
    // The side wraps the texture once around: u from 0 at slice 0 to 31/32 at slice 31.
    EXPECT_NEAR(cylinder.vertices[66 + 62].texCoords.x, 31.0f / 32.0f, 1e-6f);
}

TEST(ShapesTest, SphereHasFifteenRingsBetweenTwoPoles) {
    const ShapeGeometry sphere = sphereGeometry(2.0f);
    ASSERT_EQ(sphere.vertices.size(), 482u);
    ASSERT_EQ(sphere.indices.size(), 2880u);
    EXPECT_EQ(maxIndex(sphere), 481u);
    expectOutwardWinding(sphere);

    for (const Vertex& v : sphere.vertices) {
        EXPECT_NEAR(glm::length(v.position), 2.0f, 1e-5f);
        EXPECT_NEAR(glm::length(v.normal - v.position / 2.0f), 0.0f, 1e-5f);
    }
    EXPECT_EQ(sphere.vertices[0].position, glm::vec3(0.0f, 2.0f, 0.0f));
    // The poles' v continues the rings' v = φ / π: 0 in the north, 1 in the south.
    EXPECT_FLOAT_EQ(sphere.vertices[0].texCoords.y, 0.0f);
    EXPECT_FLOAT_EQ(sphere.vertices[1].texCoords.y, 1.0f);
    EXPECT_NEAR(sphere.vertices[2].texCoords.y, 1.0f / 16.0f, 1e-6f);
    EXPECT_NEAR(sphere.vertices[481].texCoords.y, 15.0f / 16.0f, 1e-6f);
    // Both cap fans and the bands close from slice 31 back to slice 0.
    EXPECT_TRUE(hasTriangle(sphere, 0, 2, 2 + 31));
    EXPECT_TRUE(hasTriangle(sphere, 2 + 14 * 32 + 31, 2 + 14 * 32, 1));
}
