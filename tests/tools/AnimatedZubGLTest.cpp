// The committed models through the game's real classes: the animated model as the player gets it,
// and the enemy's static model, with their textures uploaded.
#include "AssetSet.h"
#include "ZubRig.h"

#include "support/GLContext.h"

#include "model/AnimatedModel.h"
#include "model/Model.h"

#include <gtest/gtest.h>

using namespace assetgen;

namespace {

int textureWidth(GLuint id) {
    GLint width = 0;
    glBindTexture(GL_TEXTURE_2D, id);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    return width;
}

} // namespace

TEST(AnimatedZubGL, TheRealModelLoadsAndPosesEveryClipAsDesigned) {
    GLContext context;
    ASSERT_TRUE(context.ok());
    CoutCapture quiet;
    AnimatedModel zub(nullptr, "../assets/zub/zub.fbx");
    ASSERT_TRUE(zub.usable()) << zub.loadError;
    EXPECT_EQ(zub.jointCount, static_cast<int>(zub::JointCount));
    ASSERT_EQ(zub.animations.size(), 3u);
    // The game starts on the idle clip.
    EXPECT_EQ(zub.currentAnimation, zub.animations[1]);
    EXPECT_EQ(zub.currentAnimation->name, "Idle");
    ASSERT_EQ(zub.meshes.size(), 1u);
    ASSERT_EQ(zub.texturesLoaded.size(), 1u);
    EXPECT_EQ(zub.texturesLoaded[0].path, "zub.png");
    EXPECT_EQ(textureWidth(zub.texturesLoaded[0].id), 1024);

    float worst = 0.0f;
    for (size_t c = 0; c < zub.animations.size(); ++c) {
        ASSERT_TRUE(zub.playClip(c));
        const Animation& clip = *zub.animations[c];
        for (unsigned tick = 0; tick <= clip.duration; tick += 3) {
            zub.animationTime = static_cast<float>(tick) / static_cast<float>(clip.ticksPerSecond);
            zub.animate();
            const std::vector<glm::mat4> want =
                zub::designedMotion(static_cast<int>(c), static_cast<float>(tick));
            ASSERT_EQ(zub.jointTransforms.size(), want.size());
            for (size_t j = 0; j < want.size(); ++j)
                for (int col = 0; col < 4; ++col)
                    worst = std::max(worst, glm::length(zub.jointTransforms[j][col] - want[j][col]));
        }
    }
    EXPECT_LT(worst, 1e-4f);
}

TEST(AnimatedZubGL, TheEnemyLoadsWithItsTextureAndFillsItsBox) {
    GLContext context;
    ASSERT_TRUE(context.ok());
    CoutCapture quiet;
    Model enemy("../assets/enemy/Stone_enemy2.fbx", nullptr);
    ASSERT_EQ(enemy.meshes.size(), 1u);
    ASSERT_EQ(enemy.texturesLoaded.size(), 1u);
    EXPECT_EQ(textureWidth(enemy.texturesLoaded[0].id), 1024);
    glm::vec3 lo(1e9f), hi(-1e9f);
    for (const Vertex& v : enemy.meshes[0].vertices) {
        lo = glm::min(lo, v.position);
        hi = glm::max(hi, v.position);
    }
    // Scaled (1, 4.2, 4.2) and turned by the game, this is the physics box of half extents (5, 6, 1).
    const glm::vec3 half = 0.5f * (hi - lo) * glm::vec3(1.0f, 4.2f, 4.2f);
    EXPECT_NEAR(half.x, 1.0f, 0.01f);
    EXPECT_NEAR(half.y, 5.0f, 0.05f);
    EXPECT_NEAR(half.z, 6.0f, 0.05f);
}
