#include "DefaultTexture.h"
#include "Image.h"
#include "Noise.h"
#include "SkyBox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>

using namespace assetgen;

TEST(Images, PngComesBackBitExactAndJpegStaysClose) {
    Image image(37, 23); // odd sizes: rows whose byte length is not a multiple of 4
    noise::Rng rng(5u);
    for (glm::vec3& p : image.pixels)
        p = glm::vec3(rng.uniform(), rng.uniform(), rng.uniform());
    const std::vector<unsigned char> bytes = toBytes(image);

    Decoded png;
    ASSERT_TRUE(decodeImage(encodePng(image), png));
    EXPECT_EQ(png.width, 37);
    EXPECT_EQ(png.height, 23);
    EXPECT_EQ(png.channels, 3);
    EXPECT_EQ(png.bytes, bytes);

    Image smooth(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            smooth.at(x, y) = glm::vec3(x / 63.0f, y / 63.0f, 0.5f);
    Decoded jpeg;
    ASSERT_TRUE(decodeImage(encodeJpeg(smooth, 100), jpeg));
    const std::vector<unsigned char> want = toBytes(smooth);
    int worst = 0;
    for (size_t i = 0; i < want.size(); ++i)
        worst = std::max(worst, std::abs(static_cast<int>(want[i]) - static_cast<int>(jpeg.bytes[i])));
    EXPECT_LE(worst, 3);

    EXPECT_FALSE(decodeImage("not an image", png));
}

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

TEST(Noise, DeterministicPeriodicAndSpreadOverItsRange) {
    EXPECT_EQ(noise::value3(glm::vec3(1.3f, -2.7f, 0.4f), 9u),
              noise::value3(glm::vec3(1.3f, -2.7f, 0.4f), 9u));
    EXPECT_NE(noise::value3(glm::vec3(1.3f, -2.7f, 0.4f), 9u),
              noise::value3(glm::vec3(1.3f, -2.7f, 0.4f), 10u));
    // Textures that wrap around a surface use noise with a period along x.
    for (float y : {0.2f, 3.7f})
        for (float x : {0.0f, 0.45f, 5.9f}) {
            EXPECT_NEAR(noise::value2Periodic(glm::vec2(x, y), 16, 3u),
                        noise::value2Periodic(glm::vec2(x + 16.0f, y), 16, 3u), 1e-6f);
            EXPECT_NEAR(noise::fbm2Periodic(glm::vec2(x, y), 8, 3, 3u),
                        noise::fbm2Periodic(glm::vec2(x + 8.0f, y), 8, 3, 3u), 1e-5f);
        }
    float lo = 1.0f, hi = -1.0f;
    for (int i = 0; i < 2000; ++i) {
        const float v = noise::value3(glm::vec3(i * 0.37f, i * 0.11f, i * 0.05f), 1u);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    EXPECT_GE(lo, -1.0f);
    EXPECT_LE(hi, 1.0f);
    EXPECT_LT(lo, -0.6f);
    EXPECT_GT(hi, 0.6f);
}

TEST(Painting, RowsAreSharedOutOnceEachAndTheDefaultTextureTiles) {
    std::vector<std::atomic<int>> visits(97);
    forEachRow(97, [&](int row) { ++visits[static_cast<size_t>(row)]; });
    for (const std::atomic<int>& v : visits)
        EXPECT_EQ(v.load(), 1);

    // The shapes repeat the default texture across their faces, so across its wrap-around border it
    // must look like across any other major grid line: the step from the last column to the first
    // matches the step from column 63 to 64 (and the same for rows).
    const Image tile = defaultTexture(128);
    float wrapX = 0.0f, innerX = 0.0f, wrapY = 0.0f, innerY = 0.0f;
    for (int i = 0; i < 128; ++i) {
        wrapX += glm::length(tile.at(127, i) - tile.at(0, i));
        innerX += glm::length(tile.at(63, i) - tile.at(64, i));
        wrapY += glm::length(tile.at(i, 127) - tile.at(i, 0));
        innerY += glm::length(tile.at(i, 63) - tile.at(i, 64));
    }
    EXPECT_NEAR(wrapX / 128.0f, innerX / 128.0f, 0.005f);
    EXPECT_NEAR(wrapY / 128.0f, innerY / 128.0f, 0.005f);
}
