#include "model/Mesh.h"

#include "model/SharedVertices.h"

#include <cstddef>
#include <type_traits>
#include <utility>

namespace {

// One float attribute of the interleaved record; offsets come from the record itself so that the
// layout table and the struct cannot drift apart.
template <typename VertexT> void floatAttribute(GLuint location, GLint components, std::size_t offset) {
    glEnableVertexAttribArray(location);
    glVertexAttribPointer(location, components, GL_FLOAT, GL_FALSE, sizeof(VertexT),
                          reinterpret_cast<const void*>(offset));
}

} // namespace

template <typename VertexT>
BasicMesh<VertexT>::BasicMesh(std::vector<VertexT> vertices, std::vector<unsigned> indices,
                              std::vector<Texture> textures, VertexStorage storage)
    : vertices(std::move(vertices)), indices(std::move(indices)), textures(std::move(textures)) {
    SharedVertices<VertexT> shared;
    if (storage == VertexStorage::Shared)
        shared = shareIdenticalVertices(this->vertices, this->indices);
    const std::vector<VertexT>& bufferVertices = storage == VertexStorage::Shared ? shared.vertices : this->vertices;
    const std::vector<unsigned>& bufferIndices = storage == VertexStorage::Shared ? shared.indices : this->indices;

    glGenVertexArrays(1, &VAO);
    glGenBuffers(1, &VBO);
    glGenBuffers(1, &EBO);

    glBindVertexArray(VAO);
    glBindBuffer(GL_ARRAY_BUFFER, VBO);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bufferVertices.size() * sizeof(VertexT)),
                 bufferVertices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, EBO);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(bufferIndices.size() * sizeof(unsigned)),
                 bufferIndices.data(), GL_STATIC_DRAW);

    floatAttribute<VertexT>(0, 3, offsetof(VertexT, position));
    floatAttribute<VertexT>(1, 3, offsetof(VertexT, normal));
    floatAttribute<VertexT>(2, 2, offsetof(VertexT, texCoords));
    if constexpr (std::is_same_v<VertexT, SkinnedVertex>) {
        // Joint ids must reach the shader as integers: a float attribute would convert them.
        glEnableVertexAttribArray(3);
        glVertexAttribIPointer(3, 3, GL_INT, sizeof(VertexT),
                               reinterpret_cast<const void*>(offsetof(VertexT, jointIds)));
        floatAttribute<VertexT>(4, 3, offsetof(VertexT, weights));
    }
    // The element buffer stays recorded in the vertex array.
    glBindVertexArray(0);
}

template <typename VertexT> void BasicMesh<VertexT>::draw() const {
    // Textures go to units by position; samplers pick them by unit number.
    for (std::size_t i = 0; i < textures.size(); ++i) {
        glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + i));
        glBindTexture(GL_TEXTURE_2D, textures[i].id);
    }
    glActiveTexture(GL_TEXTURE0);
    glBindVertexArray(VAO);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
}

template class BasicMesh<Vertex>;
template class BasicMesh<SkinnedVertex>;
