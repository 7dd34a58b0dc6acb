#include "FbxWriter.h"

#include <assimp/Exporter.hpp>
#include <assimp/material.h>
#include <assimp/scene.h>

#include <cstring>
#include <memory>

namespace assetgen {

namespace {

const char* const ExportFormat = "fbxa";

aiNode* newNode(const std::string& name, aiNode* parent) {
    aiNode* node = new aiNode(name);
    node->mParent = parent;
    return node;
}

void setChildren(aiNode* parent, const std::vector<aiNode*>& children) {
    if (children.empty())
        return;
    parent->mNumChildren = static_cast<unsigned>(children.size());
    parent->mChildren = new aiNode*[children.size()];
    for (size_t i = 0; i < children.size(); ++i) {
        parent->mChildren[i] = children[i];
        children[i]->mParent = parent;
    }
}

// Assimp 5.2 writes every vertex as its own FBX control point, so each vertex carries its weights.
bool boneWeights(const MeshData& mesh, int jointCount, std::vector<std::vector<aiVertexWeight>>& perJoint,
                 std::string& error) {
    perJoint.assign(static_cast<size_t>(jointCount), {});
    for (size_t i = 0; i < mesh.vertices.size(); ++i)
        for (const Influence& in : mesh.vertices[i].influences) {
            if (in.weight <= 0.0f)
                continue;
            if (in.joint <= 1 || in.joint >= jointCount) {
                error = "vertex " + std::to_string(i) + " is bound to joint " + std::to_string(in.joint) +
                        ", which the game never moves or does not have";
                return false;
            }
            perJoint[static_cast<size_t>(in.joint)].emplace_back(static_cast<unsigned>(i), in.weight);
        }
    return true;
}

aiMesh* buildMesh(const ModelDesc& model, const std::vector<std::vector<aiVertexWeight>>& weights) {
    const MeshData& data = model.mesh;
    aiMesh* mesh = new aiMesh();
    mesh->mName = model.meshNodeName;
    mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    mesh->mMaterialIndex = 0;
    const unsigned n = static_cast<unsigned>(data.vertices.size());
    mesh->mNumVertices = n;
    mesh->mVertices = new aiVector3D[n];
    mesh->mNormals = new aiVector3D[n];
    mesh->mTextureCoords[0] = new aiVector3D[n];
    mesh->mNumUVComponents[0] = 2;
    for (unsigned i = 0; i < n; ++i) {
        const MeshVertex& v = data.vertices[i];
        mesh->mVertices[i] = aiVector3D(v.position.x, v.position.y, v.position.z);
        mesh->mNormals[i] = aiVector3D(v.normal.x, v.normal.y, v.normal.z);
        mesh->mTextureCoords[0][i] = aiVector3D(v.uv.x, v.uv.y, 0.0f);
    }
    const unsigned faces = static_cast<unsigned>(data.indices.size() / 3);
    mesh->mNumFaces = faces;
    mesh->mFaces = new aiFace[faces];
    for (unsigned f = 0; f < faces; ++f) {
        mesh->mFaces[f].mNumIndices = 3;
        mesh->mFaces[f].mIndices = new unsigned[3];
        for (unsigned c = 0; c < 3; ++c)
            mesh->mFaces[f].mIndices[c] = data.indices[f * 3 + c];
    }

    std::vector<unsigned> boned;
    for (size_t j = 0; j < weights.size(); ++j)
        if (!weights[j].empty())
            boned.push_back(static_cast<unsigned>(j));
    if (!boned.empty()) {
        mesh->mNumBones = static_cast<unsigned>(boned.size());
        mesh->mBones = new aiBone*[boned.size()];
        for (size_t b = 0; b < boned.size(); ++b) {
            const std::vector<aiVertexWeight>& list = weights[boned[b]];
            aiBone* bone = new aiBone();
            bone->mName = model.skeleton[boned[b]].name; // bones are named like their nodes
            // Joints sit at the origin in the bind pose, so every offset is the identity.
            bone->mOffsetMatrix = aiMatrix4x4();
            bone->mNumWeights = static_cast<unsigned>(list.size());
            bone->mWeights = new aiVertexWeight[list.size()];
            for (size_t w = 0; w < list.size(); ++w)
                bone->mWeights[w] = list[w];
            mesh->mBones[b] = bone;
        }
    }
    return mesh;
}

aiMaterial* buildMaterial(const ModelDesc& model) {
    aiMaterial* material = new aiMaterial();
    const aiString name(model.materialName);
    material->AddProperty(&name, AI_MATKEY_NAME);
    const aiColor3D white(1.0f, 1.0f, 1.0f);
    material->AddProperty(&white, 1, AI_MATKEY_COLOR_DIFFUSE);
    const aiString texture(model.textureFile);
    material->AddProperty(&texture, AI_MATKEY_TEXTURE_DIFFUSE(0));
    return material;
}

aiAnimation* buildAnimation(const ModelDesc& model, const ClipKeys& clip) {
    aiAnimation* animation = new aiAnimation();
    animation->mName = clip.name;
    // The exporter writes key times in seconds and would truncate a duration to whole seconds;
    // with 0 the importer takes the clip's length from its last key.
    animation->mDuration = 0.0;
    animation->mTicksPerSecond = model.ticksPerSecond;
    const unsigned joints = static_cast<unsigned>(model.skeleton.size());
    const unsigned keys = static_cast<unsigned>(clip.ticks + 1);
    animation->mNumChannels = joints;
    animation->mChannels = new aiNodeAnim*[joints];
    for (unsigned j = 0; j < joints; ++j) {
        aiNodeAnim* channel = new aiNodeAnim();
        channel->mNodeName = model.skeleton[j].name;
        channel->mNumPositionKeys = keys;
        channel->mPositionKeys = new aiVectorKey[keys];
        channel->mNumRotationKeys = keys;
        channel->mRotationKeys = new aiQuatKey[keys];
        channel->mNumScalingKeys = keys;
        channel->mScalingKeys = new aiVectorKey[keys];
        for (unsigned k = 0; k < keys; ++k) {
            const JointKey& key = clip.keys[k][j];
            const double seconds = static_cast<double>(k) / model.ticksPerSecond;
            channel->mPositionKeys[k] =
                aiVectorKey(seconds, aiVector3D(key.position.x, key.position.y, key.position.z));
            channel->mRotationKeys[k] = aiQuatKey(
                seconds, aiQuaternion(key.rotation.w, key.rotation.x, key.rotation.y, key.rotation.z));
            channel->mScalingKeys[k] = aiVectorKey(seconds, aiVector3D(1.0f, 1.0f, 1.0f));
        }
        animation->mChannels[j] = channel;
    }
    return animation;
}

} // namespace

std::string writeFbx(const ModelDesc& model, std::string& error) {
    std::vector<std::vector<aiVertexWeight>> weights;
    if (!model.skeleton.empty() &&
        !boneWeights(model.mesh, static_cast<int>(model.skeleton.size()), weights, error))
        return {};
    for (const ClipKeys& clip : model.clips)
        if (clip.keys.size() != static_cast<size_t>(clip.ticks + 1)) {
            error = "clip " + clip.name + " has " + std::to_string(clip.keys.size()) + " keys for " +
                    std::to_string(clip.ticks) + " ticks";
            return {};
        }

    std::unique_ptr<aiScene> scene(new aiScene());
    scene->mRootNode = newNode("RootNode", nullptr);
    std::vector<aiNode*> rootChildren;
    if (!model.skeleton.empty()) {
        std::vector<aiNode*> nodes;
        for (const SkeletonJoint& joint : model.skeleton)
            nodes.push_back(newNode(joint.name, nullptr));
        for (size_t j = 0; j < nodes.size(); ++j) {
            std::vector<aiNode*> children;
            for (size_t c = 0; c < nodes.size(); ++c)
                if (model.skeleton[c].parent == static_cast<int>(j))
                    children.push_back(nodes[c]);
            setChildren(nodes[j], children);
        }
        rootChildren.push_back(nodes[0]);
    }
    aiNode* meshNode = newNode(model.meshNodeName, nullptr);
    meshNode->mNumMeshes = 1;
    meshNode->mMeshes = new unsigned[1]{0};
    rootChildren.push_back(meshNode);
    setChildren(scene->mRootNode, rootChildren);

    scene->mNumMeshes = 1;
    scene->mMeshes = new aiMesh* [1] { buildMesh(model, weights) };
    scene->mNumMaterials = 1;
    scene->mMaterials = new aiMaterial* [1] { buildMaterial(model) };
    if (!model.clips.empty()) {
        scene->mNumAnimations = static_cast<unsigned>(model.clips.size());
        scene->mAnimations = new aiAnimation*[model.clips.size()];
        for (size_t c = 0; c < model.clips.size(); ++c)
            scene->mAnimations[c] = buildAnimation(model, model.clips[c]);
    }

    Assimp::Exporter exporter;
    // No preprocessing: joining identical vertices would merge vertices together with their weights.
    const aiExportDataBlob* blob = exporter.ExportToBlob(scene.get(), ExportFormat, 0);
    if (!blob) {
        error = std::string("the exporter failed: ") + exporter.GetErrorString();
        return {};
    }
    std::string text(static_cast<const char*>(blob->data), blob->size);
    if (!pinCreationTimeStamp(text)) {
        error = "the exported file has no CreationTimeStamp block";
        return {};
    }
    return text;
}

bool pinCreationTimeStamp(std::string& text) {
    static const std::pair<const char*, const char*> fields[] = {
        {"Year: ", "2024"}, {"Month: ", "1"},  {"Day: ", "1"},         {"Hour: ", "0"},
        {"Minute: ", "0"},  {"Second: ", "0"}, {"Millisecond: ", "0"},
    };
    size_t pos = text.find("CreationTimeStamp:");
    if (pos == std::string::npos)
        return false;
    pos = text.find('\n', pos);
    int pinned = 0;
    // Line by line up to the block's closing brace.
    while (pos != std::string::npos) {
        const size_t lineStart = pos + 1;
        const size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            return false;
        const std::string line = text.substr(lineStart, lineEnd - lineStart);
        if (line.find('}') != std::string::npos)
            break;
        size_t next = lineEnd;
        for (const auto& field : fields) {
            const size_t at = line.find(field.first);
            if (at == std::string::npos)
                continue;
            const size_t valueStart = lineStart + at + std::strlen(field.first);
            text.replace(valueStart, lineEnd - valueStart, field.second);
            next = valueStart + std::strlen(field.second);
            ++pinned;
            break;
        }
        pos = next;
    }
    return pinned == static_cast<int>(sizeof(fields) / sizeof(fields[0]));
}

} // namespace assetgen
