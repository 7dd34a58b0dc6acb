#pragma once

#include "model/Vertex.h"

#include <string>
#include <vector>

struct aiScene;
struct aiMesh;
struct aiMaterial;
struct aiNode;
namespace Assimp {
class Importer;
}

// The GL-free half of model loading: from an imported Assimp scene to vertex, index and
// texture-path vectors. Everything here can run without a window; the upload is separate.

// A texture a material names, before any image is loaded.
struct TextureRef {
    std::string type; // "texture_diffuse" or "texture_specular"
    std::string path; // exactly as the material gives it
};

template <typename VertexT> struct MeshData {
    std::vector<VertexT> vertices;
    std::vector<unsigned> indices;
    std::vector<TextureRef> textures; // diffuse first, then specular
};

namespace sceneimport {

// Triangulate | FlipUVs; no normal generation, no vertex joining, no weight limit.
constexpr unsigned ImportFlags = 0x800008;

// The path up to its last '/', or the whole path when it has none.
std::string directoryOf(const std::string& path);

// Imports `path`. On refusal returns null and sets `error` to the console line
// "ERROR::ASSIMP::<code><reason>" (1: no scene, 2: incomplete, 3: no root node).
// The scene belongs to `importer`.
const aiScene* readScene(Assimp::Importer& importer, const char* path, std::string& error);

// The scene mesh index of every node reference, nodes in depth-first pre-order: a mesh named by
// two nodes appears twice. Node transformations are deliberately not collected.
std::vector<unsigned> meshOrder(const aiScene* scene);

// "Model node structure:" followed by one line per node, two spaces per depth level.
void printNodeStructure(const aiNode* root);

// The material's diffuse textures (type name "texture_diffuse"), then its specular ones.
std::vector<TextureRef> materialTextures(const aiMaterial* material);

// Vertices, indices and texture paths of one mesh. Prints one "hat keine Texturkoordinaten" line
// per vertex when channel 0 is missing. Throws ModelLoadError for a mesh that cannot be drawn
// (no positions or normals, an index past the vertices, a material that does not exist).
template <typename VertexT>
MeshData<VertexT> convertMesh(const aiScene* scene, const aiMesh* mesh, const std::string& directory);

extern template MeshData<Vertex> convertMesh<Vertex>(const aiScene*, const aiMesh*, const std::string&);
extern template MeshData<SkinnedVertex> convertMesh<SkinnedVertex>(const aiScene*, const aiMesh*,
                                                                   const std::string&);

} // namespace sceneimport
