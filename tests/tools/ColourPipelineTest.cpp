#include "Image.h"
#include "SkyBox.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace assetgen;

TEST(Images, ColoursMeantForTheScreenSurviveTheGamesPipeline) {
    // Model textures: the game lights them as linear values and gamma-encodes the frame.
    Image painted(1, 1, glm::vec3(0.5f, 0.2f, 1.0f));
    const glm::vec3 stored = toLinear(painted).pixels[0];
    EXPECT_NEAR(stored.x, std::pow(0.5f, 2.2f), 1e-6f);
    EXPECT_NEAR(std::pow(stored.y, 1.0f / 2.2f), 0.2f, 1e-5f);
    EXPECT_EQ(stored.z, 1.0f);

    // Sky faces: shown as (1 - exp(-value))^(1/2.2) with exposure 1.
    for (float shown : {0.12f, 0.3f, 0.55f, 0.8f}) {
        const float value = sky::stored(glm::vec3(shown)).x;
        EXPECT_NEAR(std::pow(1.0f - std::exp(-value), 1.0f / 2.2f), shown, 1e-4f) << shown;
    }
    // Brighter than the pipeline can show is held at the brightest it can.
    EXPECT_LE(sky::stored(glm::vec3(5.0f)).x, 1.0f);
}

