#pragma once

#include "model/Vertex.h"

#include <vector>

// The importer hands meshes over unindexed (every triangle has three vertices of its own), so a
// vertex of a closed surface is repeated about six times, and the vertex shader runs once per copy.
// Storing each distinct record once and pointing the indices at it draws exactly the same
// triangles: only records that are equal byte for byte are merged, so every triangle corner keeps
// its position, normal, texture coordinates and joint weights bit for bit. GL-free.
template <typename VertexT> struct SharedVertices {
    std::vector<VertexT> vertices; // each distinct record once, in order of first use
    std::vector<unsigned> indices; // as many as given; indices[k] names a record equal to the k-th corner
};

// Throws std::out_of_range for an index past the vertices. Vertices no index names are left out.
template <typename VertexT>
SharedVertices<VertexT> shareIdenticalVertices(const std::vector<VertexT>& vertices,
                                               const std::vector<unsigned>& indices);

extern template SharedVertices<Vertex> shareIdenticalVertices(const std::vector<Vertex>&,
                                                              const std::vector<unsigned>&);
extern template SharedVertices<SkinnedVertex> shareIdenticalVertices(const std::vector<SkinnedVertex>&,
                                                                     const std::vector<unsigned>&);
