#pragma once

#include "model/Mesh.h"
#include "model/ModelImport.h"
#include "model/SceneImport.h"
#include "render/Shader.h"
#include "render/Texture.h"

#include <glm/glm.hpp>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

// The GL half of model loading and drawing, shared by both model kinds. Requires a current context.
namespace modelgpu {

// Loads each named texture once per model: a path already in `texturesLoaded` (exact bytes) reuses
// that record; a new one is loaded from `directory` and remembered.
std::vector<Texture> resolveTextures(const std::vector<TextureRef>& refs,
                                     std::vector<Texture>& texturesLoaded, const std::string& directory);

// Uploads converted meshes in order, resolving their textures on the way. The buffers share
// repeated vertices (VertexStorage::Shared): file meshes arrive unindexed.
template <typename VertexT>
std::vector<BasicMesh<VertexT>> uploadMeshes(std::vector<MeshData<VertexT>> converted,
                                             std::vector<Texture>& texturesLoaded,
                                             const std::string& directory) {
    std::vector<BasicMesh<VertexT>> meshes;
    meshes.reserve(converted.size());
    for (MeshData<VertexT>& data : converted)
        meshes.emplace_back(std::move(data.vertices), std::move(data.indices),
                            resolveTextures(data.textures, texturesLoaded, directory), VertexStorage::Shared);
    return meshes;
}

// The GL half of loading a file that `modelimport` read: prints the importer's own line if it had
// one, then uploads the meshes of a file that passed every check. A mesh that cannot be uploaded
// refuses the file after all: `imported` then says why and nothing is kept.
template <typename Data, typename VertexT>
void uploadImported(ImportResult<Data>& imported, std::vector<BasicMesh<VertexT>>& meshes,
                    std::vector<Texture>& texturesLoaded, std::string& directory) {
    if (!imported.assimpLine.empty())
        std::cout << imported.assimpLine << std::endl;
    if (!imported.loaded())
        return;
    try {
        directory = imported.data.directory;
        meshes = uploadMeshes(std::move(imported.data.meshes), texturesLoaded, directory);
    } catch (const std::exception& e) {
        imported.reason = e.what();
        meshes.clear();
        texturesLoaded.clear();
        directory.clear();
    }
}

// The per-object uniforms every model draw sends first, in this order.
void setObjectUniforms(const Shader& shader, const glm::vec4& colour, const glm::mat4& modelMatrix,
                       const glm::mat3& normalMatrix, const glm::vec4& materialCoefficients);

} // namespace modelgpu
