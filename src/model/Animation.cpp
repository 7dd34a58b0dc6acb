#include "model/Animation.h"

#include "model/Joint.h"
#include "model/ModelLoadError.h"

#include <assimp/anim.h>
#include <assimp/scene.h>

#include <cmath>
#include <limits>
#include <sstream>

namespace {

// A malformed duration must not turn into an allocation that takes the machine down; this is far
// beyond any real clip (ten minutes at 60 ticks for 100 joints).
constexpr double MaxClipTransforms = 4.0e6;

std::string clipLabel(const aiAnimation* animation) {
    return "clip \"" + std::string(animation->mName.C_Str()) + "\"";
}

} // namespace

std::unique_ptr<Animation> buildClip(const aiAnimation* animation, const Joint* root, int jointCount) {
    const double duration = animation->mDuration;
    const double ticksPerSecond = animation->mTicksPerSecond;
    if (!std::isfinite(duration) || duration < 0.0)
        throw ModelLoadError(clipLabel(animation) + " has an invalid duration");
    if (!std::isfinite(ticksPerSecond) || ticksPerSecond < 0.0)
        throw ModelLoadError(clipLabel(animation) + " has an invalid tick rate");
    // The clip keeps its rate as an unsigned count; a larger one would not convert.
    if (ticksPerSecond > static_cast<double>(std::numeric_limits<unsigned>::max()))
        throw ModelLoadError(clipLabel(animation) + " has a tick rate of " + std::to_string(ticksPerSecond) +
                             ", more than " + std::to_string(std::numeric_limits<unsigned>::max()));
    const double frames = std::trunc(duration + 1.0);
    if (frames * static_cast<double>(jointCount > 0 ? jointCount : 1) > MaxClipTransforms)
        throw ModelLoadError(clipLabel(animation) + " is too long (" + std::to_string(frames) + " frames)");

    const std::size_t frameCount = static_cast<std::size_t>(frames);
    auto clip = std::make_unique<Animation>();
    clip->keyFrames.resize(frameCount);
    for (std::size_t k = 0; k < frameCount; ++k) {
        clip->keyFrames[k].tick = static_cast<unsigned>(k);
        clip->keyFrames[k].transforms.resize(static_cast<std::size_t>(jointCount));
    }

    for (unsigned c = 0; c < animation->mNumChannels; ++c) {
        const aiNodeAnim* channel = animation->mChannels[c];
        const std::string nodeName = channel->mNodeName.C_Str();
        int id = root ? findJointId(root, nodeName) : -1;
        if (id < 0 || id >= jointCount)
            throw ModelLoadError(clipLabel(animation) + " animates \"" + nodeName + "\", which is no joint");
        if (channel->mNumRotationKeys < channel->mNumPositionKeys)
            throw ModelLoadError(clipLabel(animation) + " has fewer rotation than position keys for \"" +
                                 nodeName + "\"");
        for (unsigned i = 0; i < channel->mNumPositionKeys; ++i) {
            const aiQuatKey& rotationKey = channel->mRotationKeys[i];
            // The rotation key's tick decides the frame; the position key's own time is not read.
            if (!(rotationKey.mTime >= 0.0) || rotationKey.mTime >= frames)
                throw ModelLoadError(clipLabel(animation) + " has a key for \"" + nodeName + "\" at tick " +
                                     std::to_string(rotationKey.mTime) + ", outside its " +
                                     std::to_string(frameCount) + " frames");
            const aiVector3D& p = channel->mPositionKeys[i].mValue;
            const aiQuaternion& q = rotationKey.mValue;
            JointTransform& transform = clip->keyFrames[static_cast<std::size_t>(rotationKey.mTime)]
                                            .transforms[static_cast<std::size_t>(id)];
            transform.position = glm::vec3(p.x, p.y, p.z);
            transform.rotation = glm::quat(q.w, q.x, q.y, q.z);
        }
    }

    clip->duration = static_cast<unsigned>(duration);
    clip->ticksPerSecond = static_cast<unsigned>(ticksPerSecond);
    // A file with 0 ticks per second gives an infinite (or NaN) length: such a clip never wraps.
    clip->lengthSeconds = static_cast<float>(clip->duration) / static_cast<float>(clip->ticksPerSecond);
    clip->name = animation->mName.C_Str();
    return clip;
}

std::vector<std::unique_ptr<Animation>> loadAnimations(const aiScene* scene, const Joint* root,
                                                       int jointCount) {
    std::vector<std::unique_ptr<Animation>> clips;
    for (unsigned a = 0; a < scene->mNumAnimations; ++a)
        clips.push_back(buildClip(scene->mAnimations[a], root, jointCount));
    return clips;
}

std::string describeClip(const Animation& clip) {
    std::ostringstream line;
    line << "Animation: " << clip.name << "; Duration(" << clip.lengthSeconds << "), TicksPS("
         << clip.ticksPerSecond << ")";
    return line.str();
}
