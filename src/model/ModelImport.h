#pragma once

#include "model/Animation.h"
#include "model/Joint.h"
#include "model/SceneImport.h"
#include "model/Vertex.h"

#include <cstddef>
#include <istream>
#include <memory>
#include <string>
#include <vector>

struct aiScene;

// Parsing without upload: an FBX file imported, checked and converted into plain vectors, joints
// and clips, all without a GL context. The two model kinds upload what this gives them; the fuzz
// target runs exactly this on arbitrary bytes.

struct StaticModelData {
    std::string directory;
    std::vector<MeshData<Vertex>> meshes; // in node order, a mesh per reference
};

struct AnimatedModelData {
    std::string directory;
    std::vector<MeshData<SkinnedVertex>> meshes;
    std::unique_ptr<Joint, JointTreeDeleter> root; // released into the model that takes it
    int jointCount = 0;
    std::vector<std::unique_ptr<Animation>> clips; // file order
};

// How an import ended. Loaded when both strings are empty; otherwise `assimpLine` holds the
// importer's own "ERROR::ASSIMP::..." line, or `reason` says which of our checks refused the file.
template <typename Data> struct ImportResult {
    Data data;
    std::string assimpLine;
    std::string reason;

    bool loaded() const { return assimpLine.empty() && reason.empty(); }
    // The reason for a refusal in words, whoever refused.
    std::string why() const { return reason.empty() ? sceneimport::importRefusalReason(assimpLine) : reason; }
};

namespace modelimport {

// A node tree deeper than this is refused for the animated model: it prints one line per node
// indented by its depth, and real skeletons are a few dozen levels deep.
constexpr unsigned MaxAnimatedNodeDepth = 256;
// A file with more model nodes than this is refused before the importer reads it: the importer
// needs tens of kilobytes for each, and real models have a few dozen.
constexpr std::size_t MaxModelNodes = 4096;
// The number of model nodes an FBX text or binary stream declares, counted without parsing it, up
// to `limit` (counting stops there).
std::size_t countModelNodes(std::istream& in, std::size_t limit);

// The animated model needs clips 0 to 2: the clip keys select 1 and 2, and it starts on 1.
constexpr std::size_t RequiredClips = 3;

// Conversion of an imported scene; `path` names the file in messages. Throw ModelLoadError on
// refusal. The animated conversion prints the node structure, the joint tree and the per-mesh
// bone lines as it goes.
StaticModelData convertStatic(const aiScene* scene, const std::string& path);
AnimatedModelData convertAnimated(const aiScene* scene, const std::string& path);

// Import and conversion on a thread with a large stack (sceneimport::runOnLargeStack). Nothing
// is printed for a refusal; the caller prints the lines.
ImportResult<StaticModelData> importStatic(const char* path);
ImportResult<AnimatedModelData> importAnimated(const char* path);

} // namespace modelimport
