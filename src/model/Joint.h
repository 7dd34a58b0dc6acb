#pragma once

#include "model/Vertex.h"

#include <glm/glm.hpp>

#include <iostream>
#include <string>
#include <vector>

struct aiNode;
struct aiMesh;

// One node of the player's skeleton. Ids are dense and assigned in depth-first pre-order, so a
// parent's id is always smaller than its children's. A joint owns its children; the tree is
// never freed (copies of the animated model share it).
struct Joint {
    unsigned id = 0;
    std::string name;
    std::vector<Joint*> children;
    Joint* parent = nullptr; // non-owning; null for the root
    glm::mat4 finalTransform{1.0f};
    glm::mat4 offset{1.0f};
};

// The root child every skeleton hangs from; matched byte for byte.
constexpr const char* ArmatureNodeName = "Armature";

// The animation shader's "jointTransforms" holds this many matrices; a skeleton with more joints
// could not be drawn and is refused at load.
constexpr int MaxJoints = 32;

// The id of the joint named `name` in the subtree, or -1. Among duplicates the last answer of the
// children that is not -1 wins.
int findJointId(const Joint* joint, std::string name);
// The joint with that id in the subtree (depth first), or null.
Joint* findJointById(const Joint* joint, unsigned id);
// Prints "ID: <id>, name: <name>" per joint, two spaces per depth level.
void printJointTree(const Joint* joint, unsigned depth);
// Every joint of the tree at its id (jointCount entries, null where the tree has no such id): one
// walk instead of a search per id. Among repeated ids the first in pre-order is kept.
std::vector<Joint*> jointsById(Joint* root, int jointCount);
// Tree walks are iterative: a joint tree may be as deep as the file's node tree.

// Builds a joint for every node below each root child named "Armature", handing out ids from
// `jointCount` on. Returns the last tree built, or null when no root child is named so. Prints a
// "Created Joint: " line for each tree root. GL-free.
Joint* buildJointTree(const aiNode* sceneRoot, int& jointCount);

// Writes the mesh's bone weights into the vertices' first free slots (up to three) and returns the
// bones' offset matrices indexed by joint id (jointCount entries, identity where no bone is), or
// an empty table when the mesh has no bones ("hat keine Knochen" line). Its lines go to `out`.
// Throws ModelLoadError for a bone naming no joint or a weight naming no vertex. GL-free.
std::vector<glm::mat4> bindBones(const aiMesh* mesh, const Joint* root, int jointCount,
                                 std::vector<SkinnedVertex>& vertices, const std::string& directory,
                                 std::ostream& out = std::cout);

// Frees a tree that was never handed to a model (a refused load).
void deleteJointTree(Joint* joint);

// Owns a tree until it is handed to a model.
struct JointTreeDeleter {
    void operator()(Joint* root) const { deleteJointTree(root); }
};
