#include "render/EnvironmentMap.h"

#include <gtest/gtest.h>

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
