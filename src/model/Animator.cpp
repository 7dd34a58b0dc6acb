#include "model/Animator.h"

#include "model/Joint.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>

namespace animator {

float advanceClipTime(float time, float deltaSeconds, float lengthSeconds) {
    time += deltaSeconds;
    if (time > lengthSeconds)
        time = std::fmod(time, lengthSeconds);
    return time;
}

ClipSample sampleClip(const Animation& clip, float time) {
    ClipSample sample;
    if (clip.keyFrames.empty())
        return sample;
    float tick = static_cast<float>(clip.ticksPerSecond) * time;
    if (!(tick >= 0.0f) || tick >= static_cast<float>(clip.keyFrames.size()))
        tick = 0.0f;
    const unsigned i = static_cast<unsigned>(tick);
    sample.frameA = i;
    sample.frameB = (i + 1 > clip.duration) ? 0 : i + 1;
    if (sample.frameB >= clip.keyFrames.size())
        sample.frameB = 0;
    sample.t = tick - static_cast<float>(i);
    return sample;
}

glm::quat blendRotation(const glm::quat& qa, const glm::quat& qb, float t) {
    const float c = glm::dot(qa, qb);
    glm::quat q;
    if (c > LinearBlendCosine) {
        q = qa + t * (qb - qa);
    } else {
        // Clamped so that rounding just past -1 cannot turn acos into NaN.
        const float a = std::acos(c < -1.0f ? -1.0f : c);
        q = (std::sin((1.0f - t) * a) * qa + std::sin(t * a) * qb) / std::sin(a);
    }
    const float length = glm::length(q);
    if (!(length > 0.0f) || !std::isfinite(length))
        return glm::quat(1.0f, 0.0f, 0.0f, 0.0f);
    return q / length;
}

void poseSkeleton(const Animation& clip, float time, Joint* root, std::vector<glm::mat4>& jointTransforms) {
    if (!root || clip.keyFrames.empty())
        return;
    std::size_t most = 0;
    for (const KeyFrame& frame : clip.keyFrames)
        most = std::max(most, frame.transforms.size());
    poseSkeleton(clip, time, jointsById(root, static_cast<int>(most)), jointTransforms);
}

void poseSkeleton(const Animation& clip, float time, const std::vector<Joint*>& byId,
                  std::vector<glm::mat4>& jointTransforms) {
    if (byId.empty() || clip.keyFrames.empty())
        return;
    const ClipSample sample = sampleClip(clip, time);
    const KeyFrame& a = clip.keyFrames[sample.frameA];
    const KeyFrame& b = clip.keyFrames[sample.frameB];

    // Ids grow in pre-order, so a parent's finalTransform is already this frame's when its
    // children are composed. One walk finds every joint: a search per id would make the frame
    // quadratic in the joints.
    const std::size_t count = std::min(a.transforms.size(), b.transforms.size());
    for (std::size_t j = 0; j < count; ++j) {
        Joint* joint = j < byId.size() ? byId[j] : nullptr;
        if (joint && j < PosedJointLimit) {
            glm::mat4 local(1.0f);
            if (j >= FirstPosedJoint) {
                const JointTransform& ta = a.transforms[j];
                const JointTransform& tb = b.transforms[j];
                const glm::quat q = blendRotation(ta.rotation, tb.rotation, sample.t);
                const glm::vec3 p = ta.position + sample.t * (tb.position - ta.position);
                local = glm::translate(glm::mat4(1.0f), p) * glm::mat4_cast(q);
            }
            const glm::mat4 parent =
                (joint->id != 0 && joint->parent) ? joint->parent->finalTransform : glm::mat4(1.0f);
            joint->finalTransform = local * joint->offset * parent;
        }
        if (j < jointTransforms.size())
            jointTransforms[j] = joint ? joint->finalTransform : glm::mat4(1.0f);
    }
}

} // namespace animator
