#include "model/AnimatedModel.h"

#include "model/Animator.h"
#include "model/ModelGpu.h"
#include "model/ModelLoadError.h"
#include "model/Placement.h"
#include "model/SceneImport.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <cassert>
#include <iostream>
#include <memory>

namespace {

const glm::vec4 LoadedMaterialCoefficients(0.05f, 0.5f, 0.6f, 4.0f);
// The clip keys select clips 1 and 2, and the model starts on clip 1.
constexpr std::size_t RequiredClips = 3;
constexpr std::size_t StartClip = 1;

// Frees a tree that never reached a model, unless it was handed over.
struct JointTreeGuard {
    Joint* root = nullptr;
    ~JointTreeGuard() { deleteJointTree(root); }
};

} // namespace

AnimatedModel::AnimatedModel(Shader* shader, const char* path) : shader(shader), sourcePath(path) {
    try {
        Assimp::Importer importer;
        std::string importError;
        const aiScene* scene = sceneimport::readScene(importer, path, importError);
        if (scene) {
            loadScene(scene, path);
        } else {
            std::cout << importError << std::endl;
            loadError = importError;
        }
    } catch (const std::exception& e) {
        // loadScene reports its own refusals; this is only for what it could not foresee.
        loadError = "Animated model file " + std::string(path) + " refused: " + e.what();
        std::cout << loadError << std::endl;
    }
    rotation = glm::vec3(0.0f);
    scale = glm::vec3(1.0f);
    materialCoefficients = LoadedMaterialCoefficients;
}

void AnimatedModel::loadScene(const aiScene* scene, const std::string& path) {
    sourcePath = path;
    const std::string dir = sceneimport::directoryOf(path);
    JointTreeGuard tree;
    try {
        // Convert and check everything first; GL objects are made only for a file that passed.
        sceneimport::printNodeStructure(scene->mRootNode);
        int count = 0;
        tree.root = buildJointTree(scene->mRootNode, count);
        if (!tree.root)
            throw ModelLoadError(std::string("the root node has no child named \"") + ArmatureNodeName +
                                 "\"");
        printJointTree(tree.root, 0);

        std::vector<MeshData<SkinnedVertex>> converted;
        for (unsigned index : sceneimport::meshOrder(scene)) {
            if (index >= scene->mNumMeshes)
                throw ModelLoadError("a node names mesh " + std::to_string(index) + " of " +
                                     std::to_string(scene->mNumMeshes));
            const aiMesh* mesh = scene->mMeshes[index];
            MeshData<SkinnedVertex> data = sceneimport::convertMesh<SkinnedVertex>(scene, mesh, dir);
            std::vector<glm::mat4> jointOffsets = bindBones(mesh, tree.root, count, data.vertices, dir);
            // Only the root takes its offset from the table; every other joint keeps the identity.
            if (!jointOffsets.empty())
                tree.root->offset = jointOffsets.front();
            converted.push_back(std::move(data));
        }

        std::vector<std::unique_ptr<Animation>> clips = loadAnimations(scene, tree.root, count);
        if (clips.size() < RequiredClips)
            throw ModelLoadError("it has " + std::to_string(clips.size()) + " animation clips, " +
                                 std::to_string(RequiredClips) + " are needed");

        directory = dir;
        meshes = modelgpu::uploadMeshes(std::move(converted), texturesLoaded, directory);
        rootJoint = tree.root;
        tree.root = nullptr;
        jointCount = count;
        for (std::unique_ptr<Animation>& clip : clips)
            animations.push_back(clip.release());
        currentAnimation = animations[StartClip];
        animationTime = 0.0f;
        jointTransforms.assign(static_cast<std::size_t>(jointCount), glm::mat4(1.0f));
        for (const Animation* clip : animations)
            std::cout << describeClip(*clip) << std::endl;
    } catch (const std::exception& e) {
        loadError = "Animated model file " + path + " refused: " + e.what();
        std::cout << loadError << std::endl;
        meshes.clear();
        texturesLoaded.clear();
        directory.clear();
        jointTransforms.clear();
    }
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
        animator::poseSkeleton(*currentAnimation, animationTime, rootJoint, jointTransforms);
}

void AnimatedModel::uploadJointTransforms() {
    shader->setMat4Array("jointTransforms", jointTransforms);
}
