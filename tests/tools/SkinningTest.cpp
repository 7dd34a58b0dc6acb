// The creature's clips as the game plays them: the committed zub.fbx goes through the game's own
// import, joint tree, bone binding, clip loading and animator (the GL-free functions the animated
// model is built from), and the mesh is skinned on the CPU with the formula of anim.vert.
#include "AssetSet.h"
#include "ZubRig.h"

#include "model/Animation.h"
#include "model/Animator.h"
#include "model/Joint.h"
#include "model/SceneImport.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <sstream>

using namespace assetgen;

namespace {

const char* const ZubFile = "../assets/zub/zub.fbx";

glm::vec3 skin(const SkinnedVertex& v, const std::vector<glm::mat4>& joints) {
    const float total = v.weights.x + v.weights.y + v.weights.z;
    glm::mat4 m = glm::mat4(1.0f) * std::max(1.0f - total, 0.0f);
    for (int i = 0; i < 3; ++i)
        if (v.weights[i] != 0.0f)
            m += joints[static_cast<size_t>(v.jointIds[i])] * v.weights[i];
    return glm::vec3(m * glm::vec4(v.position, 1.0f));
}

struct Loaded {
    Assimp::Importer importer;
    const aiScene* scene = nullptr;
    Joint* root = nullptr;
    int jointCount = 0;
    std::vector<SkinnedVertex> vertices;
    std::vector<unsigned> indices;
    std::vector<std::unique_ptr<Animation>> clips;
    ~Loaded() { deleteJointTree(root); }
};

// The loader's own steps, in the animated model's order; its console lines are kept off the test log.
void load(Loaded& out) {
    std::ostringstream sink;
    std::streambuf* previous = std::cout.rdbuf(sink.rdbuf());
    std::string error;
    out.scene = sceneimport::readScene(out.importer, ZubFile, error);
    if (out.scene) {
        out.root = buildJointTree(out.scene->mRootNode, out.jointCount);
        auto data =
            sceneimport::convertMesh<SkinnedVertex>(out.scene, out.scene->mMeshes[0], "../assets/zub");
        const std::vector<glm::mat4> offsets =
            bindBones(out.scene->mMeshes[0], out.root, out.jointCount, data.vertices, "../assets/zub");
        if (!offsets.empty())
            out.root->offset = offsets.front();
        out.vertices = data.vertices;
        out.indices = data.indices;
        out.clips = loadAnimations(out.scene, out.root, out.jointCount);
    }
    std::cout.rdbuf(previous);
    ASSERT_TRUE(out.scene) << error;
}

} // namespace

TEST(ZubSkinning, TheGamesAnimatorMovesTheMeshAsDesignedAndNeverTearsIt) {
    Loaded zub;
    ASSERT_NO_FATAL_FAILURE(load(zub));
    ASSERT_TRUE(zub.root);
    EXPECT_EQ(zub.jointCount, static_cast<int>(zub::JointCount));
    EXPECT_EQ(zub.root->offset, glm::mat4(1.0f));
    ASSERT_EQ(zub.clips.size(), 3u);
    const ModelDesc design = creatureDesign();
    ASSERT_EQ(zub.vertices.size(), design.mesh.indices.size());

    const std::vector<glm::vec3> bind = [&] {
        std::vector<glm::vec3> out;
        for (unsigned i : design.mesh.indices)
            out.push_back(design.mesh.vertices[i].position);
        return out;
    }();
    for (size_t k = 0; k < bind.size(); ++k)
        ASSERT_LT(glm::length(zub.vertices[k].position - bind[k]), 1e-5f);

    // At rest (every joint matrix the identity, as after loading) the mesh is the bind mesh.
    std::vector<glm::mat4> joints(static_cast<size_t>(zub.jointCount), glm::mat4(1.0f));
    float rest = 0.0f;
    for (size_t k = 0; k < bind.size(); ++k)
        rest = std::max(rest, glm::length(skin(zub.vertices[k], joints) - bind[k]));
    EXPECT_LT(rest, 1e-6f);

    const char* names[3] = {"Walk", "Idle", "Wave"};
    const unsigned ticks[3] = {24, 72, 48};
    for (size_t c = 0; c < 3; ++c) {
        const Animation& clip = *zub.clips[c];
        EXPECT_EQ(clip.name, names[c]);
        EXPECT_EQ(clip.duration, ticks[c]);
        EXPECT_EQ(clip.ticksPerSecond, 24u);
        float travel = 0.0f, onKeys = 0.0f, betweenKeys = 0.0f, stretch = 1.0f, squash = 1.0f;
        for (unsigned half = 0; half <= 2 * clip.duration; ++half) {
            const float tick = 0.5f * static_cast<float>(half);
            animator::poseSkeleton(clip, tick / 24.0f, zub.root, joints);
            EXPECT_EQ(joints[0], glm::mat4(1.0f));
            EXPECT_EQ(joints[1], glm::mat4(1.0f));
            const std::vector<glm::mat4> motion = zub::designedMotion(static_cast<int>(c), tick);
            std::vector<glm::vec3> posed(bind.size());
            for (size_t k = 0; k < bind.size(); ++k) {
                posed[k] = skin(zub.vertices[k], joints);
                travel = std::max(travel, glm::length(posed[k] - bind[k]));
                glm::vec3 want(0.0f);
                for (const Influence& in : design.mesh.vertices[design.mesh.indices[k]].influences)
                    if (in.weight > 0.0f)
                        want += in.weight *
                                glm::vec3(motion[static_cast<size_t>(in.joint)] * glm::vec4(bind[k], 1.0f));
                float& worst = half % 2 == 0 ? onKeys : betweenKeys;
                worst = std::max(worst, glm::length(posed[k] - want));
            }
            // No exploded or collapsed triangles: rigid parts keep their edges exactly, and where the
            // ears and the tail bend, blending stretches the short edges around them only a little.
            for (size_t t = 0; t + 2 < posed.size(); t += 3)
                for (int e = 0; e < 3; ++e) {
                    const size_t a = t + e, b = t + (e + 1) % 3;
                    const float before = glm::length(bind[a] - bind[b]);
                    if (before < 1e-4f)
                        continue;
                    const float ratio = glm::length(posed[a] - posed[b]) / before;
                    stretch = std::max(stretch, ratio);
                    squash = std::min(squash, ratio);
                }
            if (half == 0 && c != zub::Walk) {
                for (size_t k = 0; k < bind.size(); ++k)
                    ASSERT_LT(glm::length(posed[k] - bind[k]), 1e-4f)
                        << names[c] << " does not start at rest";
            }
        }
        std::cout << "[ skinning ] " << names[c] << ": " << clip.duration << " ticks, largest vertex travel "
                  << travel << ", off the design on keys " << onKeys << ", between keys " << betweenKeys
                  << ", edge length x" << squash << " .. x" << stretch << std::endl;
        EXPECT_LE(travel, zub::designedReach(static_cast<int>(c))) << names[c];
        EXPECT_GT(travel, 0.1f) << names[c];
        EXPECT_LT(onKeys, 2e-3f) << names[c];
        // Between keys the animator blends each joint's key on its own; that strays only slightly.
        EXPECT_LT(betweenKeys, 0.02f) << names[c];
        EXPECT_LT(stretch, 1.4f) << names[c];
        EXPECT_GT(squash, 0.7f) << names[c];
    }
}

TEST(ZubSkinning, AFileKeyedInTheUsualOrderIsCaught) {
    // Keys made for the common convention (final = parent · local) look plausible but are wrong for
    // the game's animator; the creature check must notice on the first joint below the body.
    ModelDesc design = creatureDesign();
    for (size_t c = 0; c < design.clips.size(); ++c)
        for (int k = 0; k <= design.clips[c].ticks; ++k) {
            const std::vector<glm::mat4> motion =
                zub::designedMotion(static_cast<int>(c), static_cast<float>(k));
            for (size_t j = 2; j < zub::JointCount; ++j) {
                const glm::mat4 local =
                    glm::inverse(motion[static_cast<size_t>(zub::skeleton()[j].parent)]) * motion[j];
                design.clips[c].keys[static_cast<size_t>(k)][j] = keyFor(local, glm::mat4(1.0f));
            }
        }
    std::string error;
    const std::string fbx = writeFbx(design, error);
    ASSERT_FALSE(fbx.empty()) << error;
    CheckLog log;
    SkinningReport report;
    checkCreature(fbx, creatureDesign(), log, &report);
    ASSERT_FALSE(log.ok());
    bool missed = false;
    for (const std::string& failure : log.failures)
        missed = missed || failure.find("misses the design") != std::string::npos ||
                 failure.find("key positions differ") != std::string::npos;
    EXPECT_TRUE(missed);
}
