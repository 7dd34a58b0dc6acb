#include "model/AnimatedModel.h"

#include "model/Animator.h"
#include "model/ModelGpu.h"
#include "model/ModelImport.h"
#include "model/Placement.h"

#include <algorithm>
#include <cassert>
#include <iostream>
#include <memory>

namespace {

// The clip keys select clips 1 and 2, and the model starts on clip 1 (modelimport::RequiredClips).
constexpr std::size_t StartClip = 1;

} // namespace

AnimatedModel::AnimatedModel(Shader* shader, const char* path) : shader(shader), sourcePath(path) {
    // Convert and check everything first; GL objects are made only for a file that passed.
    ImportResult<AnimatedModelData> imported = modelimport::importAnimated(path);
    modelgpu::uploadImported(imported, meshes, texturesLoaded, directory, std::cout);
    if (imported.loaded()) {
        rootJoint = imported.data.root.release();
        jointCount = imported.data.jointCount;
        for (std::unique_ptr<Animation>& clip : imported.data.clips)
            animations.push_back(clip.release());
        currentAnimation = animations[StartClip];
        animationTime = 0.0f;
        jointTransforms.assign(static_cast<std::size_t>(jointCount), glm::mat4(1.0f));
        // Every id a clip may key, looked up once: posing a frame then allocates nothing.
        std::size_t keyed = static_cast<std::size_t>(jointCount);
        for (const Animation* clip : animations)
            for (const KeyFrame& frame : clip->keyFrames)
                keyed = std::max(keyed, frame.transforms.size());
        jointsInIdOrder = jointsById(rootJoint, static_cast<int>(keyed));
        for (const Animation* clip : animations)
            std::cout << describeClip(*clip) << std::endl;
    } else {
        // The creature is the player: without it there is no game to start.
        loadError =
            "Animated model file " + std::string(path) + " refused: " + imported.why() + "; start-up stops";
        std::cout << loadError << std::endl;
    }
    rotation = glm::vec3(0.0f);
    scale = glm::vec3(1.0f);
    materialCoefficients = modelgpu::MaterialCoefficients;
}

void AnimatedModel::updateTransform() {
    modelMatrix = placement::modelMatrix(position, rotation, scale);
    normalMatrix = placement::normalMatrix(modelMatrix);
}

void AnimatedModel::applyPose(const glm::mat4& pose) {
    modelMatrix = pose * placement::rotationMatrix(rotation);
}

void AnimatedModel::draw() {
    assert(shader && "a model is drawn only after a shader was given to it");
    modelgpu::setObjectUniforms(*shader, CreatureColour, modelMatrix, normalMatrix, materialCoefficients);
    if (currentAnimation) {
        animate();
        uploadJointTransforms();
    }
    for (const SkinnedMesh& mesh : meshes)
        mesh.draw();
}

bool AnimatedModel::playClip(std::size_t index) {
    if (index >= animations.size()) {
        std::cout << "No animation clip " << index << " in "
                  << (sourcePath.empty() ? "an empty model" : sourcePath) << std::endl;
        return false;
    }
    currentAnimation = animations[index];
    animationTime = 0.0f;
    return true;
}

void AnimatedModel::advance(float deltaSeconds) {
    if (currentAnimation)
        animationTime =
            animator::advanceClipTime(animationTime, deltaSeconds, currentAnimation->lengthSeconds);
}

void AnimatedModel::animate() {
    if (currentAnimation)
        animator::poseSkeleton(*currentAnimation, animationTime, jointsInIdOrder, jointTransforms);
}

void AnimatedModel::uploadJointTransforms() {
    shader->setMat4Array("jointTransforms", jointTransforms);
}
