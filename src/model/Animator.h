#pragma once

#include "model/Animation.h"

#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

#include <cstddef>
#include <vector>

struct Joint;

// Clip evaluation, GL-free: the animated model calls these every frame.
namespace animator {

// Joints 0 and 1 (the armature root and the joint right below it) are never moved by a clip.
constexpr unsigned FirstPosedJoint = 2;
// Joints from this id on are not posed at all; their matrix stays the identity they were made with.
constexpr unsigned PosedJointLimit = 20;
// Above this cosine the two rotations are too close for the slerp division: blend linearly.
constexpr float LinearBlendCosine = 0.99999988f;

// The two frames a clip time falls between, and how far from the first.
struct ClipSample {
    std::size_t frameA = 0;
    std::size_t frameB = 0;
    float t = 0.0f;
};

// Adds the frame time; wraps with fmodf only once the time is strictly past the clip's length.
float advanceClipTime(float time, float deltaSeconds, float lengthSeconds);

// The last frame blends back into frame 0. A time outside the clip (negative, or past it through
// a caller's mistake) samples frame 0 instead of reading outside the frames.
ClipSample sampleClip(const Animation& clip, float time);

// Slerp without flipping towards the shorter arc: a negative dot product takes the long way.
// Normalised; a result of length 0 (or not a number) becomes the identity.
glm::quat blendRotation(const glm::quat& qa, const glm::quat& qb, float t);

// Poses the skeleton at `time` of `clip`: each joint's finalTransform = L · offset · parent's,
// and jointTransforms[id] = finalTransform. A joint id the tree does not hold (a second armature)
// gets the identity.
void poseSkeleton(const Animation& clip, float time, Joint* root, std::vector<glm::mat4>& jointTransforms);
// The same with the joints already listed by id (jointsById), as a model keeps them: no allocation.
void poseSkeleton(const Animation& clip, float time, const std::vector<Joint*>& byId,
                  std::vector<glm::mat4>& jointTransforms);

} // namespace animator
