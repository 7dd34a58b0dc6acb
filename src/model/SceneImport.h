#pragma once

#include "model/Vertex.h"

#include <cstddef>
#include <functional>
#include <iostream>
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
    // What converting it had to say (one line each), printed by the upload before its textures
    // load, so that a model's lines come mesh by mesh.
    std::string notes;
};

namespace sceneimport {

// Triangulate | FlipUVs; no normal generation, no vertex joining, no weight limit.
constexpr unsigned ImportFlags = 0x800008;

// The path up to its last '/', or the whole path when it has none.
std::string directoryOf(const std::string& path);

// Assimp and our own walks recurse once per node level; the import runs on a thread whose stack
// holds far deeper trees than any file we accept (only the pages touched are ever committed).
constexpr std::size_t ImportStackBytes = std::size_t(512) << 20;

// Runs `work` to its end on a fresh thread with an ImportStackBytes stack and rethrows here
// whatever it threw. Everything that touches an imported scene, the importer's destructor
// included, belongs inside.
void runOnLargeStack(const std::function<void()>& work);

// Imports `path`. On refusal returns null and sets `error` to the console line
// "ERROR::ASSIMP::<code><reason>" (1: no scene, 2: incomplete, 3: no root node).
// The scene belongs to `importer`. Throws ModelLoadError for a scene whose destruction would
// corrupt memory (see separateSharedBones), after making that destruction safe.
const aiScene* readScene(Assimp::Importer& importer, const char* path, std::string& error);

// The same for bytes in memory (`hint`: the file extension), for the fuzz target.
const aiScene* readSceneFromMemory(Assimp::Importer& importer, const void* data, std::size_t size,
                                   const char* hint, std::string& error);

// Assimp 5.2.5's FBX converter hands one aiBone to two clusters that deform equally named nodes,
// and the scene's destructor then frees it twice. Clears every repeated bone pointer so that each
// bone is freed once, and returns the name of the first bone that was shared ("" when none was).
std::string separateSharedBones(aiScene* scene);

// What the game prints after an "ERROR::ASSIMP::" line, in words: why the importer refused.
std::string importRefusalReason(const std::string& assimpLine);

// The scene mesh index of every node reference, nodes in depth-first pre-order: a mesh named by
// two nodes appears twice. Node transformations are deliberately not collected. Iterative.
std::vector<unsigned> meshOrder(const aiScene* scene);

// "Model node structure:" followed by one line per node, two spaces per depth level. Iterative.
void printNodeStructure(const aiNode* root);

// The number of levels below `root` (0 for a node without children). Iterative.
unsigned nodeDepth(const aiNode* root);

// The material's diffuse textures (type name "texture_diffuse"), then its specular ones.
std::vector<TextureRef> materialTextures(const aiMaterial* material);

// Vertices, indices and texture paths of one mesh. Writes one "hat keine Texturkoordinaten" line
// per vertex to `out` when channel 0 is missing. Throws ModelLoadError for a mesh that cannot be
// drawn (no positions or normals, an index past the vertices, a material that does not exist).
template <typename VertexT>
MeshData<VertexT> convertMesh(const aiScene* scene, const aiMesh* mesh, const std::string& directory,
                              std::ostream& out = std::cout);

extern template MeshData<Vertex> convertMesh<Vertex>(const aiScene*, const aiMesh*, const std::string&,
                                                     std::ostream&);
extern template MeshData<SkinnedVertex> convertMesh<SkinnedVertex>(const aiScene*, const aiMesh*,
                                                                   const std::string&, std::ostream&);

} // namespace sceneimport
