#pragma once

#include "model/Vertex.h"
#include "render/Texture.h"

#include <GL/glew.h>

#include <vector>

// A GPU mesh: the CPU copies of its vertices and indices plus the GL objects made from them.
// A value type: copies share the GL names, and nothing deletes them.
template <typename VertexT> class BasicMesh {
  public:
    GLuint VBO = 0;
    GLuint VAO = 0;
    GLuint EBO = 0;
    std::vector<VertexT> vertices;
    std::vector<unsigned> indices;
    std::vector<Texture> textures; // bound to units 0, 1, ... in this order when drawn

    BasicMesh() = default;
    // Uploads at once; requires a current GL context.
    BasicMesh(std::vector<VertexT> vertices, std::vector<unsigned> indices, std::vector<Texture> textures);

    void addTexture(Texture texture) { textures.push_back(std::move(texture)); }
    // Binds the textures and draws the triangles with whatever program is current.
    void draw() const;
};

using Mesh = BasicMesh<Vertex>;
using SkinnedMesh = BasicMesh<SkinnedVertex>;

extern template class BasicMesh<Vertex>;
extern template class BasicMesh<SkinnedVertex>;
