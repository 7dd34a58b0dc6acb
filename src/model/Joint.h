#pragma once

#include <glm/glm.hpp>

#include <string>
#include <vector>

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

// The id of the joint named `name` in the subtree, or -1. Among duplicates the last answer of the
// children that is not -1 wins.
int findJointId(const Joint* joint, std::string name);
// The joint with that id in the subtree (depth first), or null.
Joint* findJointById(const Joint* joint, unsigned id);
// Prints "ID: <id>, name: <name>" per joint, two spaces per depth level.
void printJointTree(const Joint* joint, unsigned depth);
