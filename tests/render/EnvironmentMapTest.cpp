#include "render/EnvironmentMap.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

TEST(EnvironmentMapTest, SkyViewKeepsTheTurnAndDropsTheMove) {
    const glm::mat4 view = glm::lookAt(glm::vec3(40.0f, 12.0f, -7.0f), glm::vec3(0.0f, 2.0f, 15.0f),
                                       glm::vec3(0.0f, 1.0f, 0.0f));
    const glm::mat4 sky = skyboxViewMatrix(view);
    EXPECT_EQ(sky[3], glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(glm::vec3(sky[c]), glm::vec3(view[c])) << "column " << c;
        EXPECT_EQ(sky[c][3], 0.0f) << "column " << c;
    }
    // So a direction is turned like the camera turns it, wherever the camera stands.
    const glm::vec4 north(0.0f, 0.0f, -1.0f, 0.0f);
    EXPECT_EQ(sky * north, view * north);
}

TEST(EnvironmentMapTest, TheFaceOfTheOddSizeIsTheOneNamed) {
    auto square = [](int edge) { return FaceHeader{true, edge, edge, 3}; };
    auto named = [](const std::array<FaceHeader, 6>& faces, int maxSide) {
        std::string which;
        for (const std::string& problem : skyFaceProblems(faces, maxSide))
            which += problem.empty() ? '-' : 'x';
        return which;
    };
    EXPECT_EQ(named({square(4), square(8), square(8), square(8), square(8), square(8)}, 16), "x-----");
    // Two against two: the size met first wins; an unreadable face gets no vote.
    EXPECT_EQ(named({square(8), square(4), square(8), square(4), FaceHeader{}, square(2)}, 16), "-x-xxx");
    EXPECT_EQ(named({square(32), square(32), square(32), square(32), square(32), square(32)}, 16), "xxxxxx");
    EXPECT_EQ(
        named({square(16), square(16), square(16), square(16), square(16), FaceHeader{true, 16, 8, 3}}, 16),
        "-----x");
}
