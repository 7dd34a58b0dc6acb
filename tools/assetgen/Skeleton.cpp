#include "Skeleton.h"

#include <assimp/types.h> // brings the math types with their inline definitions
#include <glm/gtc/matrix_transform.hpp>

namespace assetgen {

glm::mat4 rotationAbout(const glm::vec3& pivot, const glm::vec3& axis, float degrees) {
    const glm::mat4 toPivot = glm::translate(glm::mat4(1.0f), pivot);
    const glm::mat4 turn = glm::rotate(glm::mat4(1.0f), glm::radians(degrees), glm::normalize(axis));
    return toPivot * turn * glm::translate(glm::mat4(1.0f), -pivot);
}

glm::mat4 translation(const glm::vec3& offset) {
    return glm::translate(glm::mat4(1.0f), offset);
}

JointKey keyFor(const glm::mat4& motion, const glm::mat4& parentMotion) {
    const glm::mat4 local = motion * glm::inverse(parentMotion);
    JointKey key;
    key.position = glm::vec3(local[3]);
    key.rotation = glm::normalize(glm::quat_cast(glm::mat3(local)));
    // One hemisphere for every key keeps neighbouring keys on the short arc.
    if (key.rotation.w < 0.0f)
        key.rotation = -key.rotation;
    return key;
}

glm::mat4 keyMatrix(const JointKey& key) {
    return translation(key.position) * glm::mat4_cast(key.rotation);
}

glm::vec3 exportedEulerDegrees(const glm::quat& q) {
    aiVector3D scaling, euler, position;
    aiMatrix4x4(aiQuaternion(q.w, q.x, q.y, q.z).GetMatrix()).Decompose(scaling, euler, position);
    return glm::degrees(glm::vec3(euler.x, euler.y, euler.z));
}

} // namespace assetgen
