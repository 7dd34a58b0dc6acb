#pragma once

#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

#include <string>
#include <vector>

struct JointTransform {
    glm::vec3 position{0.0f};              // relative to the parent node
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
