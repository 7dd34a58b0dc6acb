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

// The lighting every loaded or generated model starts with: ambient, diffuse, specular factor,
// specular exponent. (An empty model, made to be assigned into, has all four at 0.)
inline const glm::vec4 MaterialCoefficients(0.05f, 0.5f, 0.6f, 4.0f);

// Loads each named texture once per model: a path already in `texturesLoaded` (exact bytes) reuses
// that record; a new one is loaded from `directory` and remembered. Failures are reported to `out`.
std::vector<Texture> resolveTextures(const std::vector<TextureRef>& refs,
                                     std::vector<Texture>& texturesLoaded, const std::string& directory,
                                     std::ostream& out);

// Writes text of whole lines to `out`, each ended with a flush like every console line.
void writeLines(std::ostream& out, const std::string& text);

// Uploads converted meshes in order, resolving their textures on the way. Each mesh's notes go to
// `out` just before its textures load, so that a model reports mesh by mesh. The buffers share
// repeated vertices (VertexStorage::Shared): file meshes arrive unindexed.
template <typename VertexT>
std::vector<BasicMesh<VertexT>> uploadMeshes(std::vector<MeshData<VertexT>> converted,
                                             std::vector<Texture>& texturesLoaded,
                                             const std::string& directory, std::ostream& out) {
    std::vector<BasicMesh<VertexT>> meshes;
    meshes.reserve(converted.size());
    for (MeshData<VertexT>& data : converted) {
        writeLines(out, data.notes);
        meshes.emplace_back(std::move(data.vertices), std::move(data.indices),
                            resolveTextures(data.textures, texturesLoaded, directory, out),
                            VertexStorage::Shared);
    }
    return meshes;
}

// The GL half of loading a file that `modelimport` read: writes the importer's own line to `out`
// if it had one, then uploads the meshes of a file that passed every check. A mesh that cannot be
// uploaded refuses the file after all: `imported` then says why and nothing is kept.
template <typename Data, typename VertexT>
void uploadImported(ImportResult<Data>& imported, std::vector<BasicMesh<VertexT>>& meshes,
                    std::vector<Texture>& texturesLoaded, std::string& directory, std::ostream& out) {
    if (!imported.assimpLine.empty())
        out << imported.assimpLine << std::endl;
    if (!imported.loaded())
        return;
    try {
        directory = imported.data.directory;
        meshes = uploadMeshes(std::move(imported.data.meshes), texturesLoaded, directory, out);
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
