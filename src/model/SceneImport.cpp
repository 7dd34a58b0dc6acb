#include "model/SceneImport.h"

#include "model/ModelLoadError.h"

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/scene.h>

#include <iostream>

namespace sceneimport {

namespace {

void collectMeshes(const aiNode* node, std::vector<unsigned>& order) {
    for (unsigned i = 0; i < node->mNumMeshes; ++i)
        order.push_back(node->mMeshes[i]);
    for (unsigned i = 0; i < node->mNumChildren; ++i)
        collectMeshes(node->mChildren[i], order);
}

void printNode(const aiNode* node, unsigned depth) {
    std::cout << std::string(2 * depth, ' ') << node->mName.C_Str() << std::endl;
    for (unsigned i = 0; i < node->mNumChildren; ++i)
        printNode(node->mChildren[i], depth + 1);
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

const aiScene* readScene(Assimp::Importer& importer, const char* path, std::string& error) {
    const aiScene* scene = importer.ReadFile(path, ImportFlags);
    const char* code = nullptr;
    if (!scene)
        code = "1";
    else if ((scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) && scene->mRootNode)
        code = "2";
    else if (!scene->mRootNode)
        code = "3";
    if (!code)
        return scene;
    error = std::string("ERROR::ASSIMP::") + code + importer.GetErrorString();
    return nullptr;
}

std::vector<unsigned> meshOrder(const aiScene* scene) {
    std::vector<unsigned> order;
    collectMeshes(scene->mRootNode, order);
    return order;
}

void printNodeStructure(const aiNode* root) {
    std::cout << "Model node structure:" << std::endl;
    printNode(root, 0);
}

std::vector<TextureRef> materialTextures(const aiMaterial* material) {
    std::vector<TextureRef> textures;
    appendTextures(material, aiTextureType_DIFFUSE, "texture_diffuse", textures);
    appendTextures(material, aiTextureType_SPECULAR, "texture_specular", textures);
    return textures;
}

template <typename VertexT>
MeshData<VertexT> convertMesh(const aiScene* scene, const aiMesh* mesh, const std::string& directory) {
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
            std::cout << "Model from directory " << directory << " hat keine Texturkoordinaten" << std::endl;
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

template MeshData<Vertex> convertMesh<Vertex>(const aiScene*, const aiMesh*, const std::string&);
template MeshData<SkinnedVertex> convertMesh<SkinnedVertex>(const aiScene*, const aiMesh*,
                                                            const std::string&);

} // namespace sceneimport
