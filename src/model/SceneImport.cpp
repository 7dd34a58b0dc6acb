#include "model/SceneImport.h"

#include "model/ModelLoadError.h"

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/scene.h>

#include <pthread.h>

#include <exception>
#include <iostream>
#include <stdexcept>
#include <unordered_set>
#include <utility>

// Debian builds libassimp with its internal checks on; a failed one calls this function, whose
// library version aborts the whole game (a skin weight on a vertex the mesh does not have is
// enough). The library calls it through its symbol table, so this definition takes its place:
// the failure becomes an exception, which the importer turns into a refused file.
namespace Assimp {
void aiAssertViolation(const char* failedExpression, const char* file, int line);
void aiAssertViolation(const char* failedExpression, const char* file, int line) {
    throw std::runtime_error(std::string("Assimp's own check failed: ") + failedExpression + " (" + file +
                             ":" + std::to_string(line) + ")");
}
} // namespace Assimp

namespace sceneimport {

namespace {

// Visits every node in depth-first pre-order with its depth, without recursion: file trees can be
// far deeper than the main thread's stack.
template <typename Visit> void walkNodes(const aiNode* root, Visit visit) {
    std::vector<std::pair<const aiNode*, unsigned>> pending{{root, 0u}};
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        if (!node)
            continue;
        visit(node, depth);
        for (unsigned i = node->mNumChildren; i > 0; --i)
            pending.emplace_back(node->mChildren[i - 1], depth + 1);
    }
}

struct StackJob {
    const std::function<void()>* work;
    std::exception_ptr failure;
};

void* runStackJob(void* argument) {
    StackJob* job = static_cast<StackJob*>(argument);
    try {
        (*job->work)();
    } catch (...) {
        job->failure = std::current_exception();
    }
    return nullptr;
}

const aiScene* checkImport(Assimp::Importer& importer, const aiScene* scene, std::string& error) {
    const char* code = nullptr;
    if (!scene)
        code = "1";
    else if ((scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) && scene->mRootNode)
        code = "2";
    else if (!scene->mRootNode)
        code = "3";
    if (code) {
        error = std::string("ERROR::ASSIMP::") + code + importer.GetErrorString();
        return nullptr;
    }
    // The scene is the importer's; only the bone pointer arrays change, before anyone reads them.
    const std::string shared = separateSharedBones(const_cast<aiScene*>(scene));
    if (!shared.empty())
        throw ModelLoadError("two bones are named \"" + shared + "\"");
    return scene;
}

void appendTextures(const aiMaterial* material, aiTextureType type, const char* typeName,
                    std::vector<TextureRef>& out) {
    unsigned count = aiGetMaterialTextureCount(material, type);
    for (unsigned i = 0; i < count; ++i) {
        aiString path;
        aiGetMaterialTexture(material, type, i, &path);
        out.push_back({typeName, path.C_Str()});
    }
}

std::string meshLabel(const aiMesh* mesh) {
    return "mesh \"" + std::string(mesh->mName.C_Str()) + "\"";
}

} // namespace

std::string directoryOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(0, slash);
}

void runOnLargeStack(const std::function<void()>& work) {
    StackJob job{&work, nullptr};
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, ImportStackBytes);
    pthread_t thread;
    const int started = pthread_create(&thread, &attributes, runStackJob, &job);
    pthread_attr_destroy(&attributes);
    if (started != 0)
        throw ModelLoadError("no thread could be started for the import");
    pthread_join(thread, nullptr);
    if (job.failure)
        std::rethrow_exception(job.failure);
}

const aiScene* readScene(Assimp::Importer& importer, const char* path, std::string& error) {
    return checkImport(importer, importer.ReadFile(path, ImportFlags), error);
}

const aiScene* readSceneFromMemory(Assimp::Importer& importer, const void* data, std::size_t size,
                                   const char* hint, std::string& error) {
    return checkImport(importer, importer.ReadFileFromMemory(data, size, ImportFlags, hint), error);
}

std::string separateSharedBones(aiScene* scene) {
    std::string firstShared;
    std::unordered_set<const aiBone*> seen;
    for (unsigned m = 0; scene->mMeshes && m < scene->mNumMeshes; ++m) {
        aiMesh* mesh = scene->mMeshes[m];
        if (!mesh || !mesh->mBones)
            continue;
        for (unsigned b = 0; b < mesh->mNumBones; ++b) {
            aiBone*& bone = mesh->mBones[b];
            if (!bone || seen.insert(bone).second)
                continue;
            if (firstShared.empty())
                firstShared = bone->mName.C_Str();
            bone = nullptr;
        }
    }
    return firstShared;
}

std::string importRefusalReason(const std::string& assimpLine) {
    const std::string prefix = "ERROR::ASSIMP::";
    const char code = assimpLine.size() > prefix.size() ? assimpLine[prefix.size()] : '?';
    switch (code) {
    case '1':
        return "Assimp could not read it";
    case '2':
        return "Assimp imported only part of it";
    case '3':
        return "its scene has no root node";
    default:
        return "Assimp refused it";
    }
}

std::vector<unsigned> meshOrder(const aiScene* scene) {
    std::vector<unsigned> order;
    walkNodes(scene->mRootNode, [&](const aiNode* node, unsigned) {
        for (unsigned i = 0; i < node->mNumMeshes; ++i)
            order.push_back(node->mMeshes[i]);
    });
    return order;
}

void printNodeStructure(const aiNode* root) {
    std::cout << "Model node structure:" << std::endl;
    walkNodes(root, [](const aiNode* node, unsigned depth) {
        std::cout << std::string(2 * depth, ' ') << node->mName.C_Str() << std::endl;
    });
}

unsigned nodeDepth(const aiNode* root) {
    unsigned deepest = 0;
    walkNodes(root, [&](const aiNode*, unsigned depth) { deepest = depth > deepest ? depth : deepest; });
    return deepest;
}

std::vector<TextureRef> materialTextures(const aiMaterial* material) {
    std::vector<TextureRef> textures;
    appendTextures(material, aiTextureType_DIFFUSE, "texture_diffuse", textures);
    appendTextures(material, aiTextureType_SPECULAR, "texture_specular", textures);
    return textures;
}

template <typename VertexT>
MeshData<VertexT> convertMesh(const aiScene* scene, const aiMesh* mesh, const std::string& directory,
                              std::ostream& out) {
    // Checked up front so that nothing reads through a null array or past the vertices.
    if (mesh->mNumVertices > 0 && !mesh->mVertices)
        throw ModelLoadError(meshLabel(mesh) + " has no vertex positions");
    if (mesh->mNumVertices > 0 && !mesh->mNormals)
        throw ModelLoadError(meshLabel(mesh) + " has no normals");
    if (mesh->mMaterialIndex >= scene->mNumMaterials || !scene->mMaterials)
        throw ModelLoadError(meshLabel(mesh) + " names material " + std::to_string(mesh->mMaterialIndex) +
                             " of " + std::to_string(scene->mNumMaterials));

    MeshData<VertexT> data;
    data.vertices.reserve(mesh->mNumVertices);
    const aiVector3D* uv = mesh->mTextureCoords[0];
    for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
        VertexT vertex{};
        const aiVector3D& p = mesh->mVertices[i];
        const aiVector3D& n = mesh->mNormals[i];
        vertex.position = glm::vec3(p.x, p.y, p.z);
        vertex.normal = glm::vec3(n.x, n.y, n.z);
        if (uv) {
            vertex.texCoords = glm::vec2(uv[i].x, uv[i].y);
        } else {
            vertex.texCoords = glm::vec2(0.0f);
            out << "Model from directory " << directory << " hat keine Texturkoordinaten" << std::endl;
        }
        data.vertices.push_back(vertex);
    }

    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        const aiFace& face = mesh->mFaces[f];
        for (unsigned k = 0; k < face.mNumIndices; ++k) {
            // An index past the vertices would make the GPU read outside the buffer.
            if (face.mIndices[k] >= mesh->mNumVertices)
                throw ModelLoadError(meshLabel(mesh) + " has face index " + std::to_string(face.mIndices[k]) +
                                     " beyond its " + std::to_string(mesh->mNumVertices) + " vertices");
            data.indices.push_back(face.mIndices[k]);
        }
    }

    data.textures = materialTextures(scene->mMaterials[mesh->mMaterialIndex]);
    return data;
}

template MeshData<Vertex> convertMesh<Vertex>(const aiScene*, const aiMesh*, const std::string&,
                                              std::ostream&);
template MeshData<SkinnedVertex> convertMesh<SkinnedVertex>(const aiScene*, const aiMesh*, const std::string&,
                                                            std::ostream&);

} // namespace sceneimport
