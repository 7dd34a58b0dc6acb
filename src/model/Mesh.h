#pragma once

#include "model/Vertex.h"
#include "render/Texture.h"

#include <GL/glew.h>

#include <vector>

// What the buffers of a mesh hold. AsGiven: the vertices and indices as they are. Shared: each
// distinct vertex once and the indices pointing at it (see SharedVertices.h), for meshes that come
// unindexed from a file; the same triangles, drawn with a fraction of the vertex work.
enum class VertexStorage { AsGiven, Shared };

// A GPU mesh: the CPU copies of its vertices and indices plus the GL objects made from them.
// A value type: copies share the GL names, and nothing deletes them.
template <typename VertexT> class BasicMesh {
  public:
    GLuint VBO = 0;
    GLuint VAO = 0;
    GLuint EBO = 0;
    std::vector<VertexT> vertices;  // as given, also when the buffers hold them Shared
    std::vector<unsigned> indices;  // as given; their count is the draw's
    std::vector<Texture> textures; // bound to units 0, 1, ... in this order when drawn

    BasicMesh() = default;
    // Uploads at once; requires a current GL context. Shared throws std::out_of_range for an index
    // past the vertices, before any GL object is made.
    BasicMesh(std::vector<VertexT> vertices, std::vector<unsigned> indices, std::vector<Texture> textures,
              VertexStorage storage = VertexStorage::AsGiven);

    void addTexture(Texture texture) { textures.push_back(std::move(texture)); }
    // Binds the textures and draws the triangles with whatever program is current.
    void draw() const;
};

using Mesh = BasicMesh<Vertex>;
using SkinnedMesh = BasicMesh<SkinnedVertex>;

extern template class BasicMesh<Vertex>;
extern template class BasicMesh<SkinnedVertex>;
