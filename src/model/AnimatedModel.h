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

struct aiScene;
struct aiMesh;

// The player's skinned creature: meshes, the joint tree and the clips of one FBX file.
// Joints and clips are heap objects reached through pointers and live for the whole run, so
// copies of the model share them.
class AnimatedModel {
public:
    static constexpr const char* defaultPath = "../assets/zub/zub.fbx";

    std::vector<SkinnedMesh> meshes;
    Joint* rootJoint = nullptr; // owned, never freed
    int jointCount = 0;
    std::vector<Animation*> animations; // owned, file order
    Animation* currentAnimation = nullptr; // non-owning, points into animations
    float animationTime = 0.0f;           // seconds into the current clip
    std::vector<glm::mat4> jointTransforms; // jointCount matrices, indexed by joint id
    Shader* shader = nullptr;               // non-owning
    std::string directory;
    std::vector<Texture> texturesLoaded;
    glm::vec3 position{0.0f};
    glm::mat4 modelMatrix{1.0f};
    glm::mat3 normalMatrix{1.0f};
    glm::vec3 rotation{0.0f};
    glm::vec3 scale{0.0f};
    glm::vec4 materialCoefficients{0.0f};
    // Empty when the file passed every check; otherwise the one line that said why it was refused.
    std::string loadError;

    AnimatedModel() = default;
    explicit AnimatedModel(Shader* shader, const char* path = defaultPath);

    bool usable() const { return loadError.empty(); }

    void updateTransform();
    void applyPose(const glm::mat4& pose); // pose · R, no scale; keeps normalMatrix
    void draw();

    void playClip(std::size_t index);
    void advance(float deltaSeconds);
    void animate();
    void uploadJointTransforms();
};
