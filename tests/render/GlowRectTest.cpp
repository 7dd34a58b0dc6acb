#include "render/GlowRect.h"
#include "render/Bloom.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// Looking down -z from the origin with a 90 degree square view: a point (x, y, z) lands at
// (x / -z, y / -z) on screen.
glm::mat4 straightAhead() {
    return glm::perspective(glm::radians(90.0f), 1.0f, 0.1f, 100.0f) *
           glm::lookAt(glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f), glm::vec3(0.0f, 1.0f, 0.0f));
}

glow::Box box(glm::vec3 min, glm::vec3 max) {
    glow::Box b;
    b.min = min;
    b.max = max;
    return b;
}

// The bound of a surface at distance d, as the shaders would reach it at worst.
float worstLuminance(const glow::LightBound& b, const glm::vec3& attenuation, float brightness, float d) {
    return b.always + b.perFalloff * brightness / (attenuation.x + attenuation.y * d + attenuation.z * d * d);
}

} // namespace

TEST(GlowRect, BoxesProjectToTheirScreenBoundsAndAreClippedAtTheNearPlane) {
    const glm::mat4 vp = straightAhead();
    // In front: the near face (z = -4) is the widest, 1/4 each way.
    glow::ScreenRect r = glow::project(box({-1, -1, -6}, {1, 1, -4}), vp);
    EXPECT_NEAR(r.x0, -0.25f, 1e-5f);
    EXPECT_NEAR(r.x1, 0.25f, 1e-5f);
    EXPECT_NEAR(r.y0, -0.25f, 1e-5f);
    EXPECT_NEAR(r.y1, 0.25f, 1e-5f);

    // Off to the right and reaching behind the camera: only its part beyond the near plane counts.
    // Its far end is at x / -z = 1 / 5; towards the near plane it runs off the screen's edge.
    r = glow::project(box({1, -0.2f, -5}, {2, 0.2f, 5}), vp);
    EXPECT_NEAR(r.x0, 0.2f, 1e-5f);
    EXPECT_EQ(r.x1, 1.0f);
    EXPECT_EQ(r.y0, -1.0f);
    EXPECT_EQ(r.y1, 1.0f);

    // Entirely behind the camera, or empty: nothing.
    EXPECT_TRUE(glow::project(box({-1, -1, 1}, {1, 1, 3}), vp).empty());
    EXPECT_TRUE(glow::project(glow::Box(), vp).empty());
}

TEST(GlowRect, WorldBoxesFollowTheModelMatrixAndAreCutToTheLight) {
    const glm::mat4 turned = glm::translate(glm::mat4(1.0f), glm::vec3(10, 0, 0)) *
                             glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), glm::vec3(0, 1, 0)) *
                             glm::scale(glm::mat4(1.0f), glm::vec3(1, 1, 4));
    const glow::Box b = glow::worldBox(box({-1, -1, -1}, {1, 1, 1}), turned);
    // Scaled along z, then turned onto x: 4 wide along x, 1 along z.
    EXPECT_NEAR(b.min.x, 6.0f, 1e-5f);
    EXPECT_NEAR(b.max.x, 14.0f, 1e-5f);
    EXPECT_NEAR(b.min.z, -1.0f, 1e-5f);
    EXPECT_NEAR(b.max.z, 1.0f, 1e-5f);

    const glow::Box cut = glow::intersect(b, glow::around({9, 0, 0}, 2.0f));
    EXPECT_NEAR(cut.min.x, 7.0f, 1e-5f);
    EXPECT_NEAR(cut.max.x, 11.0f, 1e-5f);
    EXPECT_NEAR(glow::intersect(b, glow::around({13, 0, 0}, 2.0f)).max.x, 14.0f, 1e-5f);
    EXPECT_TRUE(glow::intersect(b, glow::around({30, 0, 0}, 2.0f)).empty());
    EXPECT_TRUE(glow::intersect(b, glow::around({10, 0, 0}, 0.0f)).empty());
    EXPECT_FALSE(glow::intersect(b, glow::around({500, 0, 0}, INFINITY)).empty());
}

TEST(GlowRect, ReachIsWhereTheWorstCaseLightMeetsTheThreshold) {
    const glm::vec3 light(0.98f, 0.95f, 0.8f), attenuation(0.6f, 0.2f, 0.05f);
    const glm::vec4 shiny(0.05f, 0.5f, 0.6f, 4.0f);
    // Quadratic falloff as in the game, linear, and a constant light at the threshold's edge.
    for (const glm::vec3& falloff : {attenuation, glm::vec3(0.6f, 0.2f, 0.0f)})
        for (const glm::vec4& colour :
             {glm::vec4(1, 0, 0, 1), glm::vec4(0.31f, 0.25f, 0.123f, 1), glm::vec4(0.0f)}) {
            const glow::LightBound b = glow::texturedSurface(colour, shiny, light);
            ASSERT_LT(b.always, 1.0f);
            for (float brightness : {1.0f, 2.0f}) {
                const float d = glow::reach(b, falloff, brightness);
                ASSERT_GT(d, 0.0f);
                EXPECT_NEAR(worstLuminance(b, falloff, brightness, d), glow::lit::Threshold, 1e-4f);
                EXPECT_GT(worstLuminance(b, falloff, brightness, d * 0.9f), glow::lit::Threshold);
            }
        }
    // Without any falloff a light that glows at all glows everywhere.
    EXPECT_TRUE(
        std::isinf(glow::reach(glow::texturedSurface({1, 0, 0, 1}, shiny, light), {0.1f, 0, 0}, 1.0f)));
    // A pure red surface reflects less of the light than an untinted one, so glows nearer to it.
    const float red = glow::reach(glow::texturedSurface({1, 0, 0, 1}, shiny, light), attenuation, 1.0f);
    const float white = glow::reach(glow::texturedSurface(glm::vec4(0.0f), shiny, light), attenuation, 1.0f);
    EXPECT_LT(red, white);

    // The star's own colour glows anywhere; a surface that reflects nothing never does.
    EXPECT_TRUE(
        std::isinf(glow::reach(glow::texturedSurface(glm::vec4(1000.0f), shiny, light), attenuation, 1.0f)));
    EXPECT_EQ(
        glow::reach(glow::texturedSurface({1, 1, 1, 1}, {0.05f, 0.0f, 0.0f, 4.0f}, light), attenuation, 1.0f),
        0.0f);
    EXPECT_EQ(glow::reach(glow::texturedSurface({1, 1, 1, 1}, shiny, light), attenuation, 0.0f), 0.0f);

    // The creature: its own night (sky 0.30, 0.34, 0.50 plus the moon 0.55, 0.55, 0.65 at 0.6), at
    // least its floor colour, and the rim: 0.05 + 0.5 * lum(0.63, 0.67, 0.89) + 0.6 * lum(sky) = 0.5945.
    const glow::LightBound creature = glow::creatureSurface({0.4f, 0.4f, 0.4f, 1}, shiny, light);
    EXPECT_NEAR(creature.always, 0.5945f, 1e-3f);
    // A floor colour brighter than the night lifts it.
    EXPECT_GT(glow::creatureSurface({0.9f, 0.9f, 0.9f, 1}, shiny, light).always, creature.always + 0.1f);
}

// The blur runs only inside these rectangles: a pixel of an added rectangle that ends up outside
// every one of them would have its glow cut off.
TEST(GlowRects, EveryAddedPixelStaysCoveredByAtMostFourRectangles) {
    unsigned seed = 12345u;
    auto next = [&seed](int range) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<unsigned>(range));
    };
    for (int round = 0; round < 50; ++round) {
        GlowRects area;
        std::vector<PixelRect> added;
        for (int i = 0; i < 10; ++i) {
            const int x = next(120), y = next(80);
            const PixelRect r{x, y, x + 1 + next(30), y + 1 + next(20)};
            added.push_back(r);
            area.add(r);
            ASSERT_LE(area.count, GlowRects::Max);
        }
        for (const PixelRect& r : added)
            for (int y = r.y0; y < r.y1; ++y)
                for (int x = r.x0; x < r.x1; ++x)
                    ASSERT_TRUE(area.covers(x, y)) << "round " << round << ": (" << x << ", " << y << ")";
    }
}

TEST(GlowRects, FarApartStaySeparateAndOverlapsJoin) {
    // The star's patch in one corner, the goal's frame in the other: two small rectangles, not one
    // that spans the picture.
    GlowRects apart;
    apart.add({0, 0, 10, 10});
    apart.add({300, 150, 320, 160});
    EXPECT_EQ(apart.count, 2);
    EXPECT_FALSE(apart.covers(150, 80));
    // Side by side, or one inside another: joining costs no pixel, so they join.
    GlowRects touching;
    touching.add({0, 0, 10, 10});
    touching.add({10, 0, 20, 10});
    touching.add({2, 2, 5, 5});
    ASSERT_EQ(touching.count, 1);
    const PixelRect joined = touching.rects[0];
    EXPECT_EQ(joined.x0, 0);
    EXPECT_EQ(joined.y0, 0);
    EXPECT_EQ(joined.x1, 20);
    EXPECT_EQ(joined.y1, 10);
    EXPECT_FALSE(touching.covers(20, 5));
    // Nothing added, nothing covered.
    GlowRects none;
    none.add({5, 5, 5, 9});
    EXPECT_TRUE(none.empty());
    EXPECT_TRUE(none.bounds().empty());
}
