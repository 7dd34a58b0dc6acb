#pragma once

#include "model/Animation.h"
#include "model/Joint.h"
#include "model/Mesh.h"
#include "render/Shader.h"
#include "render/Texture.h"

#include <glm/glm.hpp>

#include <cstddef>
#include <string>
#include <vector>

// The creature is always drawn in one colour, the least light it ever gets, so it never sinks
// into the dark; its texture carries the rest.
inline const glm::vec4 CreatureColour(0.4f, 0.4f, 0.4f, 1.0f);

// The player's skinned creature: meshes, the joint tree and the clips of one FBX file.
// Joints and clips are heap objects reached through pointers and live for the whole run, so
// copies of the model share them.
class AnimatedModel {
  public:
    static constexpr const char* defaultPath = "../assets/zub/zub.fbx";

    std::vector<SkinnedMesh> meshes;
    Joint* rootJoint = nullptr; // owned, never freed
    int jointCount = 0;
    std::vector<Animation*> animations;     // owned, file order
    Animation* currentAnimation = nullptr;  // non-owning, points into animations
    float animationTime = 0.0f;             // seconds into the current clip
    std::vector<glm::mat4> jointTransforms; // jointCount matrices, indexed by joint id
    std::vector<Joint*> jointsInIdOrder;    // the tree's joints by id, listed once at load
    Shader* shader = nullptr;               // non-owning
    std::string directory;
    std::vector<Texture> texturesLoaded;
    glm::vec3 position{0.0f};
    glm::mat4 modelMatrix{1.0f};
    glm::mat3 normalMatrix{1.0f};
    glm::vec3 rotation{0.0f};
    glm::vec3 scale{0.0f};
    glm::vec4 materialCoefficients{0.0f};
    // Empty when the file passed every check; otherwise the line that named the file and said why
    // it was refused (after the importer's own "ERROR::ASSIMP::" line when the importer refused).
    std::string loadError;
    std::string sourcePath; // the file this model was loaded from, for messages

    AnimatedModel() = default;
    // Loads the file. A refused file prints a line naming it, keeps that line in loadError and
    // leaves the model empty (no meshes, joints or clips); nothing escapes.
    explicit AnimatedModel(Shader* shader, const char* path = defaultPath);

    bool usable() const { return loadError.empty(); }

    void updateTransform();
    void applyPose(const glm::mat4& pose); // pose · R, no scale; keeps normalMatrix
    void draw();

    // Selects clip `index` and restarts it. An index the file has no clip for prints
    // "No animation clip <index> in <file>", changes nothing and returns false.
    bool playClip(std::size_t index);
    // Moves the clip clock; wraps only once strictly past the clip's length.
    void advance(float deltaSeconds);
    // Poses the joints for the current time into jointTransforms (no GL).
    void animate();
    // Sends jointTransforms as "jointTransforms"; call right after animate().
    void uploadJointTransforms();
};
