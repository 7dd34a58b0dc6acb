#include "model/SharedVertices.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

namespace {

Vertex vertex(float x, float y, float u = 0.0f) { return {{x, y, 0.0f}, {0.0f, 0.0f, 1.0f}, {u, 0.5f}}; }

template <typename VertexT> bool sameBytes(const VertexT& a, const VertexT& b) {
    return std::memcmp(&a, &b, sizeof(VertexT)) == 0;
}

// Every corner of the result is, byte for byte, the corner it stands for.
template <typename VertexT>
void expectSameCorners(const std::vector<VertexT>& vertices, const std::vector<unsigned>& indices,
                       const SharedVertices<VertexT>& shared) {
    ASSERT_EQ(shared.indices.size(), indices.size());
    for (std::size_t k = 0; k < indices.size(); ++k) {
        ASSERT_LT(shared.indices[k], shared.vertices.size()) << k;
        EXPECT_TRUE(sameBytes(shared.vertices[shared.indices[k]], vertices[indices[k]])) << "corner " << k;
    }
}

} // namespace

TEST(SharedVertices, RepeatedCornersAreStoredOnceInOrderOfFirstUse) {
    // A quad as the importer delivers it: two triangles, six corners, two of them repeated.
    const Vertex a = vertex(0, 0), b = vertex(1, 0), c = vertex(0, 1), d = vertex(1, 1);
    const std::vector<Vertex> corners = {a, b, c, c, b, d};
    const std::vector<unsigned> unindexed = {0, 1, 2, 3, 4, 5};
    const SharedVertices<Vertex> quad = shareIdenticalVertices(corners, unindexed);
    ASSERT_EQ(quad.vertices.size(), 4u);
    EXPECT_TRUE(sameBytes(quad.vertices[3], d));
    EXPECT_EQ(quad.indices, (std::vector<unsigned>{0, 1, 2, 2, 1, 3}));
    expectSameCorners(corners, unindexed, quad);

    // A grid of 20 x 20 cells, unindexed: 2400 corners over 441 distinct grid points.
    std::vector<Vertex> grid;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const Vertex p = vertex(x, y), q = vertex(x + 1, y), r = vertex(x, y + 1), s = vertex(x + 1, y + 1);
            for (const Vertex& v : {p, q, r, r, q, s})
                grid.push_back(v);
        }
    std::vector<unsigned> order(grid.size());
    for (unsigned i = 0; i < order.size(); ++i)
        order[i] = i;
    const SharedVertices<Vertex> cells = shareIdenticalVertices(grid, order);
    EXPECT_EQ(cells.vertices.size(), 441u);
    expectSameCorners(grid, order, cells);

    // Already indexed input keeps its sharing; a vertex no index names is left out.
    const std::vector<Vertex> withSpare = {a, b, c, d, vertex(5, 5)};
    const SharedVertices<Vertex> indexed = shareIdenticalVertices(withSpare, {0, 1, 2, 2, 1, 3});
    EXPECT_EQ(indexed.vertices.size(), 4u);
    EXPECT_EQ(indexed.indices, (std::vector<unsigned>{0, 1, 2, 2, 1, 3}));
}

TEST(SharedVertices, OnlyRecordsEqualByteForByteAreMerged) {
    // Equal as numbers is not enough: -0 and +0 differ in their bits, and so may the picture.
    Vertex negativeZero = vertex(0, 0);
    negativeZero.normal.x = -0.0f;
    Vertex nextUv = vertex(0, 0);
    nextUv.texCoords.x = std::nextafter(0.0f, 1.0f);
    const std::vector<Vertex> plain = {vertex(0, 0), negativeZero, nextUv, vertex(0, 0)};
    const SharedVertices<Vertex> s = shareIdenticalVertices(plain, {0, 1, 2, 3});
    EXPECT_EQ(s.vertices.size(), 3u);
    EXPECT_EQ(s.indices, (std::vector<unsigned>{0, 1, 2, 0}));

    // Skinned records also differ by their joints and weights alone.
    SkinnedVertex base{};
    base.position = {1, 2, 3};
    base.jointIds = {2, 0, 0};
    base.weights = {1, 0, 0};
    SkinnedVertex otherJoint = base, otherWeight = base;
    otherJoint.jointIds.y = 3;
    otherWeight.weights = {0.5f, 0.5f, 0.0f};
    const std::vector<SkinnedVertex> skinned = {base, otherJoint, otherWeight, base, otherJoint};
    const std::vector<unsigned> five = {0, 1, 2, 3, 4};
    const SharedVertices<SkinnedVertex> k = shareIdenticalVertices(skinned, five);
    EXPECT_EQ(k.vertices.size(), 3u);
    EXPECT_EQ(k.indices, (std::vector<unsigned>{0, 1, 2, 0, 1}));
    expectSameCorners(skinned, five, k);
}

TEST(SharedVertices, AnIndexPastTheVerticesIsRefused) {
    EXPECT_THROW(shareIdenticalVertices(std::vector<Vertex>{vertex(0, 0)}, {0, 1, 0}), std::out_of_range);
    const SharedVertices<Vertex> empty = shareIdenticalVertices(std::vector<Vertex>{}, {});
    EXPECT_TRUE(empty.vertices.empty());
    EXPECT_TRUE(empty.indices.empty());
}
