#pragma once

#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

#include <memory>
#include <string>
#include <vector>

struct aiScene;
struct aiAnimation;
struct Joint;

struct JointTransform {
    glm::vec3 position{0.0f};                   // relative to the parent node
    glm::quat rotation{1.0f, 0.0f, 0.0f, 0.0f}; // identity
};

struct KeyFrame {
    unsigned tick = 0;                      // equals the frame's index in its clip
    std::vector<JointTransform> transforms; // one per joint, indexed by joint id
};

// One clip, dense: a key frame on every integer tick from 0 to duration.
struct Animation {
    std::vector<KeyFrame> keyFrames;
    float lengthSeconds = 0.0f; // duration / ticksPerSecond
    unsigned duration = 0;      // ticks, truncated
    unsigned ticksPerSecond = 0;
    std::string name;
};

// Turns one Assimp animation into a dense clip with `jointCount` transforms per frame. Position
// key i is paired with rotation key i and lands on the frame of rotation key i's tick. Throws
// ModelLoadError for a channel naming no joint, a key outside the clip, fewer rotation than
// position keys, or a duration no clip can have. GL-free.
std::unique_ptr<Animation> buildClip(const aiAnimation* animation, const Joint* root, int jointCount);

// Every animation of the scene, in file order.
std::vector<std::unique_ptr<Animation>> loadAnimations(const aiScene* scene, const Joint* root,
                                                       int jointCount);

// "Animation: <name>; Duration(<seconds>), TicksPS(<tps>)"
std::string describeClip(const Animation& clip);
