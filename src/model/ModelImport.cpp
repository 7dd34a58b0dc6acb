#include "model/ModelImport.h"

#include "model/ModelLoadError.h"
#include "render/FileKind.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <cstring>
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
