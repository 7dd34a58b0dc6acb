#include "model/Joint.h"

#include "model/ModelLoadError.h"

#include <assimp/mesh.h>
#include <assimp/scene.h>

#include <cstring>
#include <iostream>
#include <utility>

namespace {

Joint* newJoint(unsigned id, const char* name, Joint* parent) {
    Joint* joint = new Joint;
    joint->id = id;
    joint->name = name;
    joint->parent = parent;
    return joint;
}

// Every node below `node` becomes a joint, in pre-order, without recursion: a file's chain of
// nodes can be far deeper than the stack.
void addChildren(const aiNode* node, Joint* parent, int& jointCount) {
    std::vector<std::pair<const aiNode*, Joint*>> pending;
    for (unsigned i = node->mNumChildren; i > 0; --i)
        pending.emplace_back(node->mChildren[i - 1], parent);
    while (!pending.empty()) {
        const auto [childNode, owner] = pending.back();
        pending.pop_back();
        Joint* child = newJoint(static_cast<unsigned>(jointCount), childNode->mName.C_Str(), owner);
        owner->children.push_back(child);
        ++jointCount;
        for (unsigned i = childNode->mNumChildren; i > 0; --i)
            pending.emplace_back(childNode->mChildren[i - 1], child);
    }
}

// The joints of the subtree in pre-order, each with its depth and the index of its parent in the
// list (-1 for the first).
struct Visited {
    const Joint* joint;
    unsigned depth;
    long parent;
};

std::vector<Visited> preOrder(const Joint* root) {
    std::vector<Visited> order;
    std::vector<Visited> pending{{root, 0u, -1}};
    while (!pending.empty()) {
        const Visited next = pending.back();
        pending.pop_back();
        const long index = static_cast<long>(order.size());
        order.push_back(next);
        const std::vector<Joint*>& children = next.joint->children;
        for (std::size_t i = children.size(); i > 0; --i)
            pending.push_back({children[i - 1], next.depth + 1, index});
    }
    return order;
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
    // Bottom-up over the pre-order list: a joint's answer is its own id on a match, otherwise the
    // answer of its last child that has one. Walking the list backwards meets a parent's last
    // child first, so the first answer to reach a parent is the one that counts.
    const std::vector<Visited> order = preOrder(joint);
    std::vector<int> answer(order.size(), -1);
    for (std::size_t i = order.size(); i > 0; --i) {
        const Visited& v = order[i - 1];
        const int own = v.joint->name == name ? static_cast<int>(v.joint->id) : answer[i - 1];
        answer[i - 1] = own;
        if (v.parent >= 0 && own != -1 && answer[static_cast<std::size_t>(v.parent)] == -1)
            answer[static_cast<std::size_t>(v.parent)] = own;
    }
    return answer.front();
}

Joint* findJointById(const Joint* joint, unsigned id) {
    std::vector<const Joint*> pending{joint};
    while (!pending.empty()) {
        const Joint* next = pending.back();
        pending.pop_back();
        if (next->id == id)
            return const_cast<Joint*>(next);
        for (std::size_t i = next->children.size(); i > 0; --i)
            pending.push_back(next->children[i - 1]);
    }
    return nullptr;
}

void printJointTree(const Joint* joint, unsigned depth) {
    for (const Visited& v : preOrder(joint))
        std::cout << std::string(2 * (depth + v.depth), ' ') << "ID: " << v.joint->id
                  << ", name: " << v.joint->name << std::endl;
}

std::vector<Joint*> jointsById(Joint* root, int jointCount) {
    std::vector<Joint*> table(jointCount > 0 ? static_cast<std::size_t>(jointCount) : 0, nullptr);
    if (!root)
        return table;
    std::vector<Joint*> pending{root};
    while (!pending.empty()) {
        Joint* next = pending.back();
        pending.pop_back();
        // The first in pre-order wins, as findJointById would answer.
        if (next->id < table.size() && !table[next->id])
            table[next->id] = next;
        for (std::size_t i = next->children.size(); i > 0; --i)
            pending.push_back(next->children[i - 1]);
    }
    return table;
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
                                 std::vector<SkinnedVertex>& vertices, const std::string& directory,
                                 std::ostream& out) {
    if (!mesh->mBones || mesh->mNumBones == 0) {
        out << "Model from directory " << directory << " hat keine Knochen" << std::endl;
        return {};
    }
    std::vector<glm::mat4> jointOffsets(static_cast<std::size_t>(jointCount), glm::mat4(1.0f));
    out << "jointOffsets Size: " << jointOffsets.size() << ", mesh->NumBones: " << mesh->mNumBones
        << std::endl;

    for (unsigned b = 0; b < mesh->mNumBones; ++b) {
        const aiBone* bone = mesh->mBones[b];
        if (!bone)
            throw ModelLoadError("bone " + std::to_string(b) + " of the mesh is missing");
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
    std::vector<Joint*> pending;
    if (joint)
        pending.push_back(joint);
    while (!pending.empty()) {
        Joint* next = pending.back();
        pending.pop_back();
        pending.insert(pending.end(), next->children.begin(), next->children.end());
        delete next;
    }
}
