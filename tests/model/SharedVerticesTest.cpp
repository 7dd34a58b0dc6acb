#include "model/SharedVertices.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <stdexcept>

namespace {

Vertex vertex(float x, float y) {
    return {{x, y, 0.0f}, {0.0f, 0.0f, 1.0f}, {0.0f, 0.5f}};
}

std::vector<unsigned> inOrder(std::size_t n) {
    std::vector<unsigned> order(n);
    std::iota(order.begin(), order.end(), 0u);
    return order;
}

// Shares `vertices` drawn by `indices`, checks that every corner of the result is byte for byte the
// corner it stands for, and returns the result.
template <typename VertexT>
SharedVertices<VertexT> shared(const std::vector<VertexT>& vertices, const std::vector<unsigned>& indices) {
    const SharedVertices<VertexT> s = shareIdenticalVertices(vertices, indices);
    EXPECT_EQ(s.indices.size(), indices.size());
    for (std::size_t k = 0; k < indices.size() && k < s.indices.size(); ++k)
        EXPECT_EQ(std::memcmp(&s.vertices.at(s.indices[k]), &vertices[indices[k]], sizeof(VertexT)), 0) << k;
    return s;
}

} // namespace

TEST(SharedVertices, RepeatedCornersAreStoredOnceInOrderOfFirstUse) {
    // A quad as the importer delivers it: two triangles, six corners, two of them repeated.
    const Vertex a = vertex(0, 0), b = vertex(1, 0), c = vertex(0, 1), d = vertex(1, 1);
    const SharedVertices<Vertex> quad = shared<Vertex>({a, b, c, c, b, d}, inOrder(6));
    EXPECT_EQ(quad.vertices.size(), 4u);
    EXPECT_EQ(quad.indices, (std::vector<unsigned>{0, 1, 2, 2, 1, 3}));

    // A grid of 20 x 20 cells, unindexed: 2400 corners over 441 distinct grid points.
    const int corners[6][2] = {{0, 0}, {1, 0}, {0, 1}, {0, 1}, {1, 0}, {1, 1}};
    std::vector<Vertex> grid;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            for (const auto& corner : corners)
                grid.push_back(vertex(x + corner[0], y + corner[1]));
    EXPECT_EQ(shared(grid, inOrder(grid.size())).vertices.size(), 441u);

    // Already indexed input keeps its sharing; a vertex no index names is left out.
    EXPECT_EQ(shared<Vertex>({a, b, c, d, vertex(5, 5)}, {0, 1, 2, 2, 1, 3}).vertices.size(), 4u);
    EXPECT_THROW(shareIdenticalVertices(std::vector<Vertex>{a}, {0, 1, 0}), std::out_of_range);
}

TEST(SharedVertices, OnlyRecordsEqualByteForByteAreMerged) {
    // Equal as numbers is not enough: -0 and +0 differ in their bits, and so may the picture.
    Vertex negativeZero = vertex(0, 0), nextUv = vertex(0, 0);
    negativeZero.normal.x = -0.0f;
    nextUv.texCoords.x = std::nextafter(0.0f, 1.0f);
    const SharedVertices<Vertex> s =
        shared<Vertex>({vertex(0, 0), negativeZero, nextUv, vertex(0, 0)}, inOrder(4));
    EXPECT_EQ(s.indices, (std::vector<unsigned>{0, 1, 2, 0}));

    // Skinned records also differ by their joints and weights alone.
    SkinnedVertex base{};
    base.jointIds = {2, 0, 0};
    base.weights = {1, 0, 0};
    SkinnedVertex otherJoint = base, otherWeight = base;
    otherJoint.jointIds.y = 3;
    otherWeight.weights = {0.5f, 0.5f, 0.0f};
    const SharedVertices<SkinnedVertex> k =
        shared<SkinnedVertex>({base, otherJoint, otherWeight, base, otherJoint}, inOrder(5));
    EXPECT_EQ(k.indices, (std::vector<unsigned>{0, 1, 2, 0, 1}));
}
