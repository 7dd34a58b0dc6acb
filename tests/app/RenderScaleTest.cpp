#include "app/RenderScale.h"

#include <gtest/gtest.h>

namespace {

// Feeds frames of a cost that follows the pixel count: fixed + perPixel * scale^2 (seconds), one
// every `interval` seconds, starting at `t`. Returns the time after the last frame.
double feed(RenderScaleController& c, int frames, double fixed, double perPixel, double t,
            double interval = 0.05) {
    for (int i = 0; i < frames; ++i) {
        const double s = c.scale();
        c.addFrame(fixed + perPixel * s * s, t);
        t += interval;
    }
    return t;
}

} // namespace

TEST(RenderScale, AMachineRightAtTheBudgetStaysAtFullSize) {
    RenderScaleController edge(0.015);
    for (int i = 0; i < 200; ++i)
        edge.addFrame(0.015, i * 0.016);
    EXPECT_EQ(edge.scale(), 1.0f);
}

TEST(RenderScale, ASlowMachineComesDownQuicklyToAScaleThatFits) {
    // Software rendering here: about 48 ms a frame at full size, mostly pixel work.
    RenderScaleController c(0.015);
    double t = feed(c, 9, 0.004, 0.044, 0.0);
    EXPECT_EQ(c.scale(), 1.0f) << "too few frames to judge";
    t = feed(c, 1, 0.004, 0.044, t);
    const float first = c.scale();
    EXPECT_LT(first, 1.0f) << "the first decision comes after ten frames, not a second's worth";
    EXPECT_LE(first, 0.625f) << "a frame three times over budget skips the steps in between";
    t = feed(c, 200, 0.004, 0.044, t);
    // The largest step whose cost fits: 0.004 + 0.044 s^2 <= 0.015 gives s <= 0.5; 0.5 is the floor.
    EXPECT_EQ(c.scale(), 0.5f);
    // Wherever it settles, on a grid of sixteenths, and it stays.
    const int changes = c.changes();
    feed(c, 600, 0.004, 0.044, t);
    EXPECT_EQ(c.changes(), changes);
    // Never below the floor, however hopeless the machine.
    RenderScaleController hopeless(0.015);
    feed(hopeless, 1000, 0.200, 0.5, 0.0, 0.2);
    EXPECT_EQ(hopeless.scale(), RenderScaleController::MinScale);
}

TEST(RenderScale, ChangesAtMostOnceASecondWithHysteresis) {
    RenderScaleController c(0.015);
    double t = 0.0, lastChange = -10.0;
    int changes = 0;
    // A cost that puts the best scale between two steps: 0.004 + 0.016 s^2 is 0.015 at s = 0.83.
    for (int i = 0; i < 3000; ++i) {
        const double s = c.scale();
        if (c.addFrame(0.004 + 0.016 * s * s, t)) {
            EXPECT_GE(t - lastChange, RenderScaleController::MinSecondsBetweenChanges);
            lastChange = t;
            ++changes;
        }
        t += 1.0 / 60.0;
    }
    // 0.8125 fits (0.0146 s); 0.875 (0.0163) does not. It gets there and does not flip back and forth.
    EXPECT_EQ(c.scale(), 0.8125f);
    EXPECT_LE(changes, 3);
}

TEST(RenderScale, ComesBackUpWhenFramesGetCheaper) {
    RenderScaleController c(0.015);
    double t = feed(c, 100, 0.004, 0.044, 0.0);
    ASSERT_EQ(c.scale(), 0.5f);
    // The load goes away (another program stopped): a step up at a time, at most once a second.
    double lastScale = c.scale();
    for (int i = 0; i < 1200; ++i) {
        const double s = c.scale();
        c.addFrame(0.001 + 0.006 * s * s, t);
        t += 1.0 / 60.0;
        EXPECT_LE(c.scale() - lastScale, RenderScaleController::ScaleStep + 1e-6);
        lastScale = c.scale();
    }
    EXPECT_EQ(c.scale(), 1.0f);
    // Up only when the larger picture's pixels fit with room to spare: 10 ms at half size would be
    // 12.7 ms a step up, over four fifths of the budget.
    RenderScaleController held(0.015);
    double h = feed(held, 100, 0.004, 0.044, 0.0);
    ASSERT_EQ(held.scale(), 0.5f);
    for (int i = 0; i < 300; ++i, h += 1.0 / 60.0)
        held.addFrame(0.010, h);
    EXPECT_EQ(held.scale(), 0.5f);
    // A single slow frame among fast ones is a median's outlier, not a reason to drop.
    const int changes = c.changes();
    for (int i = 0; i < 300; ++i, t += 1.0 / 60.0)
        c.addFrame(i % 10 == 0 ? 0.1 : 0.005, t);
    EXPECT_EQ(c.changes(), changes);
}
