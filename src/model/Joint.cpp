#include "model/Joint.h"

#include "model/ModelLoadError.h"

#include <assimp/mesh.h>
#include <assimp/scene.h>

#include <cstring>
#include <iostream>

namespace {

Joint* newJoint(unsigned id, const char* name, Joint* parent) {
    Joint* joint = new Joint;
    joint->id = id;
    joint->name = name;
    joint->parent = parent;
    return joint;
}

void addChildren(const aiNode* node, Joint* parent, int& jointCount) {
    for (unsigned i = 0; i < node->mNumChildren; ++i) {
        const aiNode* childNode = node->mChildren[i];
        Joint* child = newJoint(static_cast<unsigned>(jointCount), childNode->mName.C_Str(), parent);
        parent->children.push_back(child);
        ++jointCount;
        addChildren(childNode, child, jointCount);
    }
}

// Assimp keeps matrices row-major; GLM wants columns.
glm::mat4 toGlm(const aiMatrix4x4& m) {
    glm::mat4 out;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            out[col][row] = m[row][col];
    return out;
}

} // namespace

int findJointId(const Joint* joint, std::string name) {
    if (joint->name == name)
        return static_cast<int>(joint->id);
    int found = -1;
    for (const Joint* child : joint->children) {
        int id = findJointId(child, name);
        if (id != -1)
            found = id;
    }
    return found;
}

Joint* findJointById(const Joint* joint, unsigned id) {
    if (joint->id == id)
        return const_cast<Joint*>(joint);
    for (const Joint* child : joint->children)
        if (Joint* hit = findJointById(child, id))
            return hit;
    return nullptr;
}

void printJointTree(const Joint* joint, unsigned depth) {
    std::cout << std::string(2 * depth, ' ') << "ID: " << joint->id << ", name: " << joint->name << std::endl;
    for (const Joint* child : joint->children)
        printJointTree(child, depth + 1);
}

Joint* buildJointTree(const aiNode* sceneRoot, int& jointCount) {
    Joint* root = nullptr;
    for (unsigned i = 0; i < sceneRoot->mNumChildren; ++i) {
        const aiNode* node = sceneRoot->mChildren[i];
        if (std::strcmp(node->mName.C_Str(), ArmatureNodeName) != 0 || node->mName.length != 8)
            continue;
        root = newJoint(static_cast<unsigned>(jointCount), node->mName.C_Str(), nullptr);
        std::cout << "Created Joint: " << root->name << "; jointCount now: " << jointCount + 1 << std::endl;
        ++jointCount;
        addChildren(node, root, jointCount);
    }
    return root;
}

std::vector<glm::mat4> bindBones(const aiMesh* mesh, const Joint* root, int jointCount,
                                 std::vector<SkinnedVertex>& vertices, const std::string& directory) {
    if (!mesh->mBones || mesh->mNumBones == 0) {
        std::cout << "Model from directory " << directory << " hat keine Knochen" << std::endl;
        return {};
    }
    std::vector<glm::mat4> jointOffsets(static_cast<std::size_t>(jointCount), glm::mat4(1.0f));
    std::cout << "jointOffsets Size: " << jointOffsets.size() << ", mesh->NumBones: " << mesh->mNumBones
              << std::endl;

    for (unsigned b = 0; b < mesh->mNumBones; ++b) {
        const aiBone* bone = mesh->mBones[b];
        int id = findJointId(root, bone->mName.C_Str());
        if (id < 0 || id >= jointCount)
            throw ModelLoadError("bone \"" + std::string(bone->mName.C_Str()) + "\" names no joint below \"" +
                                 ArmatureNodeName + "\"");
        jointOffsets[static_cast<std::size_t>(id)] = toGlm(bone->mOffsetMatrix);

        for (unsigned w = 0; w < bone->mNumWeights; ++w) {
            const aiVertexWeight& weight = bone->mWeights[w];
            if (weight.mWeight == 0.0f)
                continue;
            if (weight.mVertexId >= vertices.size())
                throw ModelLoadError("bone \"" + std::string(bone->mName.C_Str()) + "\" weighs vertex " +
                                     std::to_string(weight.mVertexId) + " of a mesh with " +
                                     std::to_string(vertices.size()));
            SkinnedVertex& vertex = vertices[weight.mVertexId];
            // Id 0 doubles as the empty mark, so a slot given to joint 0 still reads as free and
            // the next bone on this vertex takes it over.
            for (int slot = 0; slot < 3; ++slot) {
                if (vertex.jointIds[slot] == 0) {
                    vertex.jointIds[slot] = id;
                    vertex.weights[slot] = weight.mWeight;
                    break;
                }
            }
        }
    }
    return jointOffsets;
}

void deleteJointTree(Joint* joint) {
    if (!joint)
        return;
    for (Joint* child : joint->children)
        deleteJointTree(child);
    delete joint;
}
