// The creature check skins the committed zub.fbx through the game's own import and animator (see
// CommittedAssets); here it must catch a file keyed for another order of composition.
#include "AssetSet.h"
#include "ZubRig.h"

#include <gtest/gtest.h>

using namespace assetgen;

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
