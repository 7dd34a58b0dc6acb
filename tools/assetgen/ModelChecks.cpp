#include "ModelChecks.h"

#include "QuietCout.h"

#include "StoneEnemy.h"
#include "ZubRig.h"

#include "model/Animation.h"
#include "model/Animator.h"
#include "model/Joint.h"
#include "model/SceneImport.h"

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>

namespace assetgen {

namespace {

const aiScene* importBytes(Assimp::Importer& importer, const std::string& bytes, CheckLog& log,
                           const std::string& what) {
    const aiScene* scene =
        importer.ReadFileFromMemory(bytes.data(), bytes.size(), sceneimport::ImportFlags, "fbx");
    if (!scene) {
        log.fail(what + ": the importer refused it: " + importer.GetErrorString());
        return nullptr;
    }
    if ((scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) || !scene->mRootNode) {
        log.fail(what + ": the imported scene is incomplete");
        return nullptr;
    }
    return scene;
}

// Imported vertices come back unindexed, in the order of the written triangles' corners.
void checkMeshAgainst(const aiScene* scene, const ModelDesc& intended, CheckLog& log,
                      const std::string& what) {
    if (!log.expect(scene->mNumMeshes == 1,
                    what + ": expected one mesh, found " + std::to_string(scene->mNumMeshes)))
        return;
    const aiMesh* mesh = scene->mMeshes[0];
    const MeshData& data = intended.mesh;
    if (!log.expect(mesh->mNumVertices == data.indices.size(),
                    what + ": " + std::to_string(mesh->mNumVertices) + " vertices came back for " +
                        std::to_string(data.indices.size()) + " triangle corners"))
        return;
    if (!log.expect(mesh->HasNormals() && mesh->HasTextureCoords(0),
                    what + ": normals or texture coordinates missing"))
        return;
    float worstPosition = 0.0f, worstNormal = 0.0f, worstUv = 0.0f, worstLength = 0.0f;
    for (unsigned k = 0; k < mesh->mNumVertices; ++k) {
        const MeshVertex& v = data.vertices[data.indices[k]];
        const aiVector3D& p = mesh->mVertices[k];
        const aiVector3D& n = mesh->mNormals[k];
        const aiVector3D& t = mesh->mTextureCoords[0][k];
        worstPosition = std::max(worstPosition, glm::length(glm::vec3(p.x, p.y, p.z) - v.position));
        worstNormal = std::max(worstNormal, glm::length(glm::vec3(n.x, n.y, n.z) - v.normal));
        worstLength = std::max(worstLength, std::fabs(n.Length() - 1.0f));
        // The game imports with flipped texture coordinates.
        worstUv = std::max(worstUv, glm::length(glm::vec2(t.x, t.y) - glm::vec2(v.uv.x, 1.0f - v.uv.y)));
        if (t.x < 0.0f || t.x > 1.0f || t.y < 0.0f || t.y > 1.0f)
            worstUv = std::max(worstUv, 1.0f);
    }
    log.expect(worstPosition < 1e-5f, what + ": positions differ from the design by " + str(worstPosition));
    log.expect(worstNormal < 1e-4f, what + ": normals differ from the design by " + str(worstNormal));
    log.expect(worstLength < 1e-3f,
               what + ": a normal is not of unit length (off by " + str(worstLength) + ")");
    log.expect(worstUv < 1e-5f, what + ": texture coordinates differ from the design by " + str(worstUv));

    const aiMaterial* material = scene->mMaterials[mesh->mMaterialIndex];
    aiString path;
    const bool hasTexture = aiGetMaterialTexture(material, aiTextureType_DIFFUSE, 0, &path) == AI_SUCCESS;
    log.expect(hasTexture && intended.textureFile == path.C_Str(),
               what + ": the material names \"" + std::string(path.C_Str()) + "\" instead of \"" +
                   intended.textureFile + "\"");
}

void collectNames(const aiNode* node, std::vector<std::string>& names, int& meshesBelow) {
    names.emplace_back(node->mName.C_Str());
    meshesBelow += static_cast<int>(node->mNumMeshes);
    for (unsigned i = 0; i < node->mNumChildren; ++i)
        collectNames(node->mChildren[i], names, meshesBelow);
}

void checkSkeleton(const aiScene* scene, const ModelDesc& intended, CheckLog& log) {
    const aiNode* armature = nullptr;
    int armatures = 0;
    for (unsigned i = 0; i < scene->mRootNode->mNumChildren; ++i)
        if (std::string(scene->mRootNode->mChildren[i]->mName.C_Str()) == ArmatureNodeName) {
            armature = scene->mRootNode->mChildren[i];
            ++armatures;
        }
    if (!log.expect(armatures == 1, "zub: the root needs exactly one child named \"Armature\"; found " +
                                        std::to_string(armatures)))
        return;
    std::vector<std::string> names;
    int meshesBelow = 0;
    collectNames(armature, names, meshesBelow);
    log.expect(meshesBelow == 0, "zub: a mesh hangs below the armature, where every node becomes a joint");
    log.expect(names.size() < animator::PosedJointLimit,
               "zub: " + std::to_string(names.size()) + " joints; the game poses only the first 20");
    std::vector<std::string> expected;
    for (const SkeletonJoint& joint : intended.skeleton)
        expected.push_back(joint.name);
    log.expect(names == expected,
               "zub: the joints below the armature are not the designed ones in pre-order");
}

void checkWeights(const aiScene* scene, const ModelDesc& intended, CheckLog& log) {
    const aiMesh* mesh = scene->mMeshes[0];
    std::map<std::string, int> idOf;
    for (size_t j = 0; j < intended.skeleton.size(); ++j)
        idOf[intended.skeleton[j].name] = static_cast<int>(j);
    std::vector<std::vector<Influence>> got(mesh->mNumVertices);
    for (unsigned b = 0; b < mesh->mNumBones; ++b) {
        const aiBone* bone = mesh->mBones[b];
        auto found = idOf.find(bone->mName.C_Str());
        if (!log.expect(found != idOf.end() && found->second >= zub::Body,
                        "zub: bone \"" + std::string(bone->mName.C_Str()) + "\" is not a joint that moves"))
            continue;
        log.expect(bone->mOffsetMatrix.Equal(aiMatrix4x4(), 1e-5f),
                   "zub: bone \"" + std::string(bone->mName.C_Str()) +
                       "\" has an offset; joints bind at the origin");
        for (unsigned w = 0; w < bone->mNumWeights; ++w)
            if (bone->mWeights[w].mWeight != 0.0f && bone->mWeights[w].mVertexId < mesh->mNumVertices)
                got[bone->mWeights[w].mVertexId].push_back({found->second, bone->mWeights[w].mWeight});
    }
    int tooMany = 0, wrong = 0;
    for (unsigned k = 0; k < mesh->mNumVertices; ++k) {
        if (got[k].size() > 3)
            ++tooMany;
        std::map<int, float> a, b;
        for (const Influence& in : got[k])
            a[in.joint] += in.weight;
        for (const Influence& in : intended.mesh.vertices[intended.mesh.indices[k]].influences)
            if (in.weight > 0.0f)
                b[in.joint] += in.weight;
        bool same = a.size() == b.size();
        for (const auto& [joint, weight] : b)
            same = same && a.count(joint) && std::fabs(a[joint] - weight) < 1e-5f;
        if (!same)
            ++wrong;
    }
    log.expect(tooMany == 0, "zub: " + std::to_string(tooMany) + " vertices have more than three weights");
    log.expect(wrong == 0,
               "zub: " + std::to_string(wrong) + " vertices came back with other weights than designed");
}

void checkKeys(const aiScene* scene, const ModelDesc& intended, CheckLog& log) {
    if (!log.expect(scene->mNumAnimations == intended.clips.size(),
                    "zub: expected " + std::to_string(intended.clips.size()) + " clips, found " +
                        std::to_string(scene->mNumAnimations)))
        return;
    std::map<std::string, int> idOf;
    for (size_t j = 0; j < intended.skeleton.size(); ++j)
        idOf[intended.skeleton[j].name] = static_cast<int>(j);
    for (unsigned c = 0; c < scene->mNumAnimations; ++c) {
        const aiAnimation* animation = scene->mAnimations[c];
        const ClipKeys& clip = intended.clips[c];
        const std::string what = "zub clip " + clip.name;
        log.expect(clip.name == animation->mName.C_Str(),
                   what + ": came back named " + animation->mName.C_Str());
        log.expect(animation->mTicksPerSecond == intended.ticksPerSecond &&
                       animation->mDuration == clip.ticks,
                   what + ": came back with " + str(static_cast<float>(animation->mTicksPerSecond)) +
                       " ticks/s and " + str(static_cast<float>(animation->mDuration)) + " ticks");
        log.expect(animation->mNumChannels == intended.skeleton.size(),
                   what + ": not every joint has a channel");
        float worstPosition = 0.0f, worstRotation = 0.0f, worstJump = 0.0f, worstPole = 0.0f;
        int badTimes = 0;
        for (unsigned ch = 0; ch < animation->mNumChannels; ++ch) {
            const aiNodeAnim* channel = animation->mChannels[ch];
            auto found = idOf.find(channel->mNodeName.C_Str());
            if (!log.expect(found != idOf.end(), what + ": a channel names no joint"))
                continue;
            const unsigned keys = static_cast<unsigned>(clip.ticks + 1);
            if (!log.expect(channel->mNumPositionKeys == keys && channel->mNumRotationKeys == keys,
                            what + ": joint " + channel->mNodeName.C_Str() + " has not one key per tick"))
                continue;
            glm::vec3 previous(0.0f);
            for (unsigned k = 0; k < keys; ++k) {
                const JointKey& want = clip.keys[k][static_cast<size_t>(found->second)];
                const aiVectorKey& p = channel->mPositionKeys[k];
                const aiQuatKey& r = channel->mRotationKeys[k];
                if (p.mTime != k || r.mTime != k)
                    ++badTimes;
                worstPosition =
                    std::max(worstPosition,
                             glm::length(glm::vec3(p.mValue.x, p.mValue.y, p.mValue.z) - want.position));
                const glm::quat q(r.mValue.w, r.mValue.x, r.mValue.y, r.mValue.z);
                worstRotation =
                    std::max(worstRotation, 1.0f - std::fabs(glm::dot(glm::normalize(q), want.rotation)));
                // The file stores XYZ Euler angles; keep them off the y = ±90° pole and without wraps.
                const glm::vec3 euler = exportedEulerDegrees(q);
                worstPole = std::max(worstPole, std::fabs(euler.y));
                if (k > 0)
                    for (int a = 0; a < 3; ++a)
                        worstJump = std::max(worstJump, std::fabs(euler[a] - previous[a]));
                previous = euler;
            }
        }
        log.expect(badTimes == 0, what + ": " + std::to_string(badTimes) + " keys off their integer tick");
        log.expect(worstPosition < 1e-4f,
                   what + ": key positions differ from the design by " + str(worstPosition));
        log.expect(worstRotation < 1e-5f,
                   what + ": key rotations differ from the design (1 - |dot| = " + str(worstRotation) + ")");
        log.expect(worstPole < 75.0f, what + ": a key's Euler y reaches " + str(worstPole) + " degrees");
        log.expect(worstJump < 60.0f,
                   what + ": neighbouring keys jump " + str(worstJump) + " degrees about one axis");
    }
}

// The game's skinning (anim.vert): weights as stored, whatever they leave over stays at rest.
glm::vec3 skin(const SkinnedVertex& v, const std::vector<glm::mat4>& joints) {
    const float total = v.weights.x + v.weights.y + v.weights.z;
    glm::mat4 m = glm::mat4(1.0f) * std::max(1.0f - total, 0.0f);
    for (int i = 0; i < 3; ++i)
        if (v.weights[i] != 0.0f)
            m += joints[static_cast<size_t>(std::clamp(v.jointIds[i], 0, 31))] * v.weights[i];
    return glm::vec3(m * glm::vec4(v.position, 1.0f));
}

glm::vec3 designed(const MeshVertex& v, const std::vector<glm::mat4>& motion) {
    glm::vec3 p(0.0f);
    float total = 0.0f;
    for (const Influence& in : v.influences)
        if (in.weight > 0.0f) {
            p += in.weight * glm::vec3(motion[static_cast<size_t>(in.joint)] * glm::vec4(v.position, 1.0f));
            total += in.weight;
        }
    return p + (1.0f - total) * v.position;
}

void checkSkinning(const aiScene* scene, const ModelDesc& intended, CheckLog& log, SkinningReport* report) {
    SkinningReport local;
    SkinningReport& out = report ? *report : local;
    Joint* root = nullptr;
    try {
        QuietCout quiet;
        int count = 0;
        root = buildJointTree(scene->mRootNode, count);
        if (!root)
            throw std::runtime_error("no joint tree");
        ::MeshData<SkinnedVertex> data =
            sceneimport::convertMesh<SkinnedVertex>(scene, scene->mMeshes[0], "zub");
        const std::vector<glm::mat4> offsets =
            bindBones(scene->mMeshes[0], root, count, data.vertices, "zub");
        if (!offsets.empty())
            root->offset = offsets.front();
        const std::vector<std::unique_ptr<Animation>> clips = loadAnimations(scene, root, count);

        const MeshData& mesh = intended.mesh;
        std::vector<glm::mat4> transforms(static_cast<size_t>(count), glm::mat4(1.0f));
        auto worstAgainst = [&](const std::function<glm::vec3(size_t)>& want) {
            float worst = 0.0f;
            for (size_t k = 0; k < data.vertices.size(); ++k)
                worst = std::max(worst, glm::length(skin(data.vertices[k], transforms) - want(k)));
            return worst;
        };
        auto bind = [&](size_t k) { return mesh.vertices[mesh.indices[k]].position; };
        out.restDeviation = worstAgainst(bind);
        out.firstFrameRest = 0.0f;
        for (size_t c = 0; c < clips.size(); ++c) {
            const Animation& clip = *clips[c];
            float displacement = 0.0f, deviation = 0.0f;
            for (unsigned half = 0; half <= 2 * clip.duration; ++half) {
                const float tick = 0.5f * static_cast<float>(half);
                animator::poseSkeleton(clip, tick / static_cast<float>(clip.ticksPerSecond), root,
                                       transforms);
                const std::vector<glm::mat4> motion = zub::designedMotion(static_cast<int>(c), tick);
                displacement = std::max(displacement, worstAgainst(bind));
                // Between keys the animator blends; on the keys it must hit the design.
                if (half % 2 == 0)
                    deviation = std::max(deviation, worstAgainst([&](size_t k) {
                                             return designed(mesh.vertices[mesh.indices[k]], motion);
                                         }));
                if (half == 0 && c != zub::Walk)
                    out.firstFrameRest = std::max(out.firstFrameRest, worstAgainst(bind));
            }
            out.clipNames.push_back(clip.name);
            out.clipTicks.push_back(static_cast<int>(clip.duration));
            out.maxDisplacement.push_back(displacement);
            out.maxDeviation.push_back(deviation);
            log.expect(displacement <= zub::designedReach(static_cast<int>(c)),
                       "zub clip " + clip.name + ": a vertex moves " + str(displacement) +
                           ", more than the designed " + str(zub::designedReach(static_cast<int>(c))));
            log.expect(deviation < 2e-3f,
                       "zub clip " + clip.name + ": the game's pose misses the design by " + str(deviation));
        }
        log.expect(out.restDeviation < 1e-6f,
                   "zub: with every joint at identity the mesh is off the bind pose by " +
                       str(out.restDeviation));
        log.expect(out.firstFrameRest < 1e-4f,
                   "zub: the idle and wave clips do not start from the bind pose (off by " +
                       str(out.firstFrameRest) + ")");
    } catch (const std::exception& e) {
        log.fail(std::string("zub: the game's loader refused the file: ") + e.what());
    }
    deleteJointTree(root);
}

} // namespace

void checkCreature(const std::string& fbx, const ModelDesc& intended, CheckLog& log, SkinningReport* report) {
    Assimp::Importer importer;
    const aiScene* scene = importBytes(importer, fbx, log, "zub");
    if (!scene)
        return;
    checkSkeleton(scene, intended, log);
    checkMeshAgainst(scene, intended, log, "zub");
    if (!log.ok())
        return;
    checkWeights(scene, intended, log);
    checkKeys(scene, intended, log);
    if (log.ok())
        checkSkinning(scene, intended, log, report);
}

void checkStone(const std::string& fbx, const ModelDesc& intended, CheckLog& log, const std::string& what,
                float extentTolerance) {
    Assimp::Importer importer;
    const aiScene* scene = importBytes(importer, fbx, log, what);
    if (!scene)
        return;
    for (unsigned i = 0; i < scene->mRootNode->mNumChildren; ++i)
        log.expect(std::string(scene->mRootNode->mChildren[i]->mName.C_Str()) != ArmatureNodeName,
                   what + ": a static model has no armature");
    log.expect(scene->mNumAnimations == 0, what + ": a static model has no clips");
    checkMeshAgainst(scene, intended, log, what);
    if (!log.ok())
        return;
    const aiMesh* mesh = scene->mMeshes[0];
    log.expect(mesh->mNumBones == 0, what + ": a static model has no bones");
    glm::vec3 lo(1e9f), hi(-1e9f);
    for (unsigned k = 0; k < mesh->mNumVertices; ++k) {
        const glm::vec3 p(mesh->mVertices[k].x, mesh->mVertices[k].y, mesh->mVertices[k].z);
        lo = glm::min(lo, p);
        hi = glm::max(hi, p);
    }
    const glm::vec3 half = 0.5f * (hi - lo), centre = 0.5f * (hi + lo);
    const glm::vec3 error = glm::abs(half / stone::HalfExtents - glm::vec3(1.0f));
    log.expect(std::max({error.x, error.y, error.z}) < extentTolerance, what + ": half extents " + str(half.x) +
                                                                   " x " + str(half.y) + " x " + str(half.z) +
                                                                   " do not fill the box");
    log.expect(glm::length(centre) < 0.005f, what + ": not centred on its origin");
    log.note(what + ": half extents (x, y, z) = (" + str(half.x) + ", " + str(half.y) + ", " +
             str(half.z) + ")");
}

} // namespace assetgen
