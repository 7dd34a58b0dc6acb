#include "model/ModelImport.h"

#include "model/ModelLoadError.h"
#include "render/FileKind.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <exception>
#include <sstream>

namespace modelimport {

namespace {

// Joints the file's "Armature" children would give, counted before anything is built or printed.
long armatureJointCount(const aiNode* root) {
    long count = 0;
    for (unsigned i = 0; i < root->mNumChildren; ++i) {
        const aiNode* child = root->mChildren[i];
        if (!child || child->mName.length != 8 || std::strcmp(child->mName.C_Str(), ArmatureNodeName) != 0)
            continue;
        std::vector<const aiNode*> pending{child};
        while (!pending.empty()) {
            const aiNode* next = pending.back();
            pending.pop_back();
            ++count;
            for (unsigned c = 0; c < next->mNumChildren; ++c)
                pending.push_back(next->mChildren[c]);
        }
    }
    return count;
}

const aiMesh* referencedMesh(const aiScene* scene, unsigned index) {
    if (index >= scene->mNumMeshes || !scene->mMeshes || !scene->mMeshes[index])
        throw ModelLoadError("a node names mesh " + std::to_string(index) + " of " +
                             std::to_string(scene->mNumMeshes));
    return scene->mMeshes[index];
}

template <typename Data, typename Convert> ImportResult<Data> importWith(const char* path, Convert convert) {
    ImportResult<Data> result;
    // Assimp opens the file to see whether it exists: a named pipe would block the game there.
    const std::string notAFile = notAFileProblem(path);
    if (!notAFile.empty()) {
        result.reason = "it " + notAFile;
        return result;
    }
    // The importer's memory grows with the nodes long before our own checks can see the scene.
    std::ifstream file(path, std::ios::binary);
    if (file && modelimport::countModelNodes(file, modelimport::MaxModelNodes + 1) > modelimport::MaxModelNodes) {
        result.reason = "it has more than " + std::to_string(modelimport::MaxModelNodes) + " model nodes";
        return result;
    }
    file.close();
    auto work = [&] {
        try {
            Assimp::Importer importer;
            const aiScene* scene = sceneimport::readScene(importer, path, result.assimpLine);
            if (scene)
                result.data = convert(scene, path);
        } catch (const std::exception& e) {
            result.reason = e.what();
            result.data = Data();
        }
    };
    try {
        sceneimport::runOnLargeStack(work);
    } catch (const std::exception& e) {
        result.reason = e.what();
    }
    return result;
}

} // namespace

std::size_t countModelNodes(std::istream& in, std::size_t limit) {
    // A binary file names each node record by its length and name ("\x05Model"); a text file
    // starts each node's line with "Model:" (and never with "Model::", the names' own prefix).
    // A match is the byte before "Model" and the two after it; the chunks overlap by that much.
    constexpr std::size_t Overlap = 8;
    std::size_t count = 0;
    std::string text(Overlap, '\0');
    std::vector<char> chunk(1 << 20);
    while (count < limit && in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        text.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
        for (std::size_t at = text.find("Model", 1); at != std::string::npos && at + 6 < text.size();
             at = text.find("Model", at + 1)) {
            if (at + 6 < Overlap)
                continue; // counted with the chunk before
            const char before = text[at - 1];
            const bool record = before == '\x05';
            const bool line = (before == '\t' || before == ' ' || before == '\n') && text[at + 5] == ':' &&
                              text[at + 6] != ':';
            if ((record || line) && ++count == limit)
                break;
        }
        text.erase(0, text.size() - Overlap);
    }
    return count;
}

StaticModelData convertStatic(const aiScene* scene, const std::string& path) {
    StaticModelData data;
    data.directory = sceneimport::directoryOf(path);
    for (unsigned index : sceneimport::meshOrder(scene)) {
        std::ostringstream notes;
        data.meshes.push_back(
            sceneimport::convertMesh<Vertex>(scene, referencedMesh(scene, index), data.directory, notes));
        data.meshes.back().notes = notes.str();
    }
    return data;
}

AnimatedModelData convertAnimated(const aiScene* scene, const std::string& path) {
    AnimatedModelData data;
    data.directory = sceneimport::directoryOf(path);

    // Checked before the first line is printed: the prints are one line per node, indented by depth.
    const unsigned depth = sceneimport::nodeDepth(scene->mRootNode);
    if (depth > MaxAnimatedNodeDepth)
        throw ModelLoadError("its node tree is " + std::to_string(depth) + " levels deep, at most " +
                             std::to_string(MaxAnimatedNodeDepth) + " are loaded");
    const long joints = armatureJointCount(scene->mRootNode);
    if (joints > MaxJoints)
        throw ModelLoadError("it has " + std::to_string(joints) + " joints below \"" + ArmatureNodeName +
                             "\", the animation shader holds " + std::to_string(MaxJoints));

    sceneimport::printNodeStructure(scene->mRootNode);
    int count = 0;
    data.root.reset(buildJointTree(scene->mRootNode, count));
    if (!data.root)
        throw ModelLoadError(std::string("the root node has no child named \"") + ArmatureNodeName + "\"");
    printJointTree(data.root.get(), 0);

    for (unsigned index : sceneimport::meshOrder(scene)) {
        const aiMesh* mesh = referencedMesh(scene, index);
        std::ostringstream notes;
        MeshData<SkinnedVertex> converted =
            sceneimport::convertMesh<SkinnedVertex>(scene, mesh, data.directory, notes);
        std::vector<glm::mat4> jointOffsets =
            bindBones(mesh, data.root.get(), count, converted.vertices, data.directory, notes);
        converted.notes = notes.str();
        // Only the root takes its offset from the table; every other joint keeps the identity.
        if (!jointOffsets.empty())
            data.root->offset = jointOffsets.front();
        data.meshes.push_back(std::move(converted));
    }

    data.clips = loadAnimations(scene, data.root.get(), count);
    if (data.clips.size() < RequiredClips)
        throw ModelLoadError("it has " + std::to_string(data.clips.size()) + " animation clips, " +
                             std::to_string(RequiredClips) + " are needed");
    data.jointCount = count;
    return data;
}

ImportResult<StaticModelData> importStatic(const char* path) {
    return importWith<StaticModelData>(path, convertStatic);
}

ImportResult<AnimatedModelData> importAnimated(const char* path) {
    return importWith<AnimatedModelData>(path, convertAnimated);
}

} // namespace modelimport
