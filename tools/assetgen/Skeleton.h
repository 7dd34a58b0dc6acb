#pragma once

#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

#include <string>
#include <vector>

// What the FBX writer needs to know about a skeleton and its clips, independent of any one creature.
namespace assetgen {

struct SkeletonJoint {
    std::string name; // the node's name, which is also the bone's
    int parent = -1;  // index into the joint list; -1 only for the armature itself
};

// One key of one joint: the game's local transform L = T(position) · R(rotation).
struct JointKey {
    glm::vec3 position{0.0f};
    glm::quat rotation{1.0f, 0.0f, 0.0f, 0.0f};
};

struct ClipKeys {
    std::string name;
    int ticks = 0;                           // duration; keys run from tick 0 to tick `ticks`
    std::vector<std::vector<JointKey>> keys; // [tick][joint]
};

// Rigid motions are kept as 4×4 matrices; these build and take them apart.
glm::mat4 rotationAbout(const glm::vec3& pivot, const glm::vec3& axis, float degrees);
glm::mat4 translation(const glm::vec3& offset);
// The key that makes the game's animator reproduce `motion` for a joint whose parent moves by
// `parentMotion` (the animator composes L · parent, so L = motion · parent⁻¹).
JointKey keyFor(const glm::mat4& motion, const glm::mat4& parentMotion);
glm::mat4 keyMatrix(const JointKey& key);
// The XYZ Euler angles (degrees) the FBX exporter writes for a rotation, decomposed as it does.
glm::vec3 exportedEulerDegrees(const glm::quat& rotation);

} // namespace assetgen
