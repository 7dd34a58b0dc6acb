#pragma once

// Builds small Assimp scenes for the model tests and writes them as files. Scenes are made the
// way aiScene's destructor frees them: every object with new, every array with new[].

#include <assimp/Exporter.hpp>
#include <assimp/scene.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace testscene {

template <typename T> void append(T*& array, unsigned& count, T value) {
    T* grown = new T[count + 1];
    for (unsigned i = 0; i < count; ++i)
        grown[i] = array[i];
    grown[count] = value;
    delete[] array;
    array = grown;
    ++count;
}

inline aiNode* addNode(aiNode* parent, const char* name, const aiVector3D& offset = aiVector3D(0, 0, 0)) {
    aiNode* node = new aiNode(name);
    node->mParent = parent;
    node->mTransformation = aiMatrix4x4(aiVector3D(1, 1, 1), aiQuaternion(), offset);
    append(parent->mChildren, parent->mNumChildren, node);
    return node;
}

inline void attachMesh(aiNode* node, unsigned meshIndex) {
    append(node->mMeshes, node->mNumMeshes, meshIndex);
}

struct MeshOptions {
    bool normals = true;
    bool uvs = true;
    unsigned material = 0;
};

// `triangles` separate triangles in the z = 0 plane, three vertices each.
inline aiMesh* addMesh(aiScene* scene, const char* name, unsigned triangles, MeshOptions options = {}) {
    aiMesh* mesh = new aiMesh();
    mesh->mName = name;
    mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    mesh->mMaterialIndex = options.material;
    mesh->mNumVertices = 3 * triangles;
    mesh->mVertices = new aiVector3D[mesh->mNumVertices];
    if (options.normals)
        mesh->mNormals = new aiVector3D[mesh->mNumVertices];
    if (options.uvs) {
        mesh->mTextureCoords[0] = new aiVector3D[mesh->mNumVertices];
        mesh->mNumUVComponents[0] = 2;
    }
    const aiVector3D corners[3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
        mesh->mVertices[v] = corners[v % 3] + aiVector3D(static_cast<float>(v / 3), 0, 0);
        if (options.normals)
            mesh->mNormals[v] = aiVector3D(0, 0, 1);
        if (options.uvs)
            mesh->mTextureCoords[0][v] = aiVector3D(0.25f * static_cast<float>(v % 3), 0.5f, 0);
    }
    mesh->mNumFaces = triangles;
    mesh->mFaces = new aiFace[triangles];
    for (unsigned f = 0; f < triangles; ++f) {
        mesh->mFaces[f].mNumIndices = 3;
        mesh->mFaces[f].mIndices = new unsigned[3]{3 * f, 3 * f + 1, 3 * f + 2};
    }
    append(scene->mMeshes, scene->mNumMeshes, mesh);
    return mesh;
}

inline aiMaterial* addMaterial(aiScene* scene, const std::vector<std::string>& diffuse = {},
                               const std::vector<std::string>& specular = {}) {
    aiMaterial* material = new aiMaterial();
    for (unsigned i = 0; i < diffuse.size(); ++i) {
        aiString path(diffuse[i]);
        material->AddProperty(&path, AI_MATKEY_TEXTURE(aiTextureType_DIFFUSE, i));
    }
    for (unsigned i = 0; i < specular.size(); ++i) {
        aiString path(specular[i]);
        material->AddProperty(&path, AI_MATKEY_TEXTURE(aiTextureType_SPECULAR, i));
    }
    append(scene->mMaterials, scene->mNumMaterials, material);
    return material;
}

inline aiBone* addBone(aiMesh* mesh, const char* name, const std::vector<std::pair<unsigned, float>>& weights,
                       const aiMatrix4x4& offset = aiMatrix4x4()) {
    aiBone* bone = new aiBone();
    bone->mName = name;
    bone->mOffsetMatrix = offset;
    bone->mNumWeights = static_cast<unsigned>(weights.size());
    bone->mWeights = new aiVertexWeight[weights.size()];
    for (std::size_t i = 0; i < weights.size(); ++i)
        bone->mWeights[i] = aiVertexWeight(weights[i].first, weights[i].second);
    append(mesh->mBones, mesh->mNumBones, bone);
    return bone;
}

inline aiAnimation* addClip(aiScene* scene, const char* name, double duration, double ticksPerSecond) {
    aiAnimation* clip = new aiAnimation();
    clip->mName = name;
    clip->mDuration = duration;
    clip->mTicksPerSecond = ticksPerSecond;
    append(scene->mAnimations, scene->mNumAnimations, clip);
    return clip;
}

struct Key {
    double time;
    aiVector3D position;
    aiQuaternion rotation; // (w, x, y, z)
};

inline aiNodeAnim* addChannel(aiAnimation* clip, const char* node, const std::vector<Key>& keys) {
    aiNodeAnim* channel = new aiNodeAnim();
    channel->mNodeName = node;
    const unsigned n = static_cast<unsigned>(keys.size());
    channel->mNumPositionKeys = channel->mNumRotationKeys = channel->mNumScalingKeys = n;
    channel->mPositionKeys = new aiVectorKey[n];
    channel->mRotationKeys = new aiQuatKey[n];
    channel->mScalingKeys = new aiVectorKey[n];
    for (unsigned i = 0; i < n; ++i) {
        channel->mPositionKeys[i] = aiVectorKey(keys[i].time, keys[i].position);
        channel->mRotationKeys[i] = aiQuatKey(keys[i].time, keys[i].rotation);
        channel->mScalingKeys[i] = aiVectorKey(keys[i].time, aiVector3D(1, 1, 1));
    }
    append(clip->mChannels, clip->mNumChannels, channel);
    return channel;
}

inline std::unique_ptr<aiScene> newScene() {
    auto scene = std::make_unique<aiScene>();
    scene->mRootNode = new aiNode("root");
    return scene;
}

// The usual creature: root / Armature / Bone1 / Bone2 / Bone3 / End, and a mesh node "Body" with
// one two-triangle mesh weighted to Bone2 and Bone3. Clips use key times in seconds at 24 fps, as
// the FBX exporter wants them; each moves Bone2 along z over `frames` frames.
inline std::unique_ptr<aiScene> creatureScene(unsigned clips = 3, unsigned frames = 5) {
    auto scene = newScene();
    aiNode* armature = addNode(scene->mRootNode, "Armature");
    aiNode* bone1 = addNode(armature, "Bone1", aiVector3D(0, 0, 1));
    aiNode* bone2 = addNode(bone1, "Bone2", aiVector3D(0, 0, 1));
    aiNode* bone3 = addNode(bone2, "Bone3", aiVector3D(0, 0, 1));
    addNode(bone3, "End", aiVector3D(0, 0, 1));
    attachMesh(addNode(scene->mRootNode, "Body"), 0);
    addMaterial(scene.get(), {"skin.png"});
    aiMesh* mesh = addMesh(scene.get(), "Body", 2);
    addBone(mesh, "Bone2", {{0, 0.5f}, {1, 0.5f}, {2, 0.5f}});
    addBone(mesh, "Bone3", {{3, 1.0f}, {4, 1.0f}, {5, 1.0f}});
    for (unsigned c = 0; c < clips; ++c) {
        std::string name = "clip" + std::to_string(c);
        aiAnimation* clip = addClip(scene.get(), name.c_str(), 0.0, 24.0);
        std::vector<Key> keys;
        for (unsigned k = 0; k < frames; ++k)
            keys.push_back(
                {k / 24.0, aiVector3D(0, 0, 1.0f + 0.1f * k), aiQuaternion(aiVector3D(0, 0, 1), 0.1f * k)});
        addChannel(clip, "Bone2", keys);
    }
    return scene;
}

// "fbxa" (ASCII FBX; binary FBX does not reload in this Assimp) or "assbin" (keeps every value as
// given, so scenes no FBX file could describe can be written too).
inline bool writeScene(const aiScene* scene, const std::string& path, const char* format) {
    Assimp::Exporter exporter;
    return exporter.Export(scene, format, path, 0) == aiReturn_SUCCESS;
}

} // namespace testscene
