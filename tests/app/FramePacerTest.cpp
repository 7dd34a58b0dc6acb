#include "app/FramePacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr double Period = 1.0 / 60.0;

// Frames of a fixed cost on a made-up clock: each frame starts after the pacer's wait.
// Returns the start times of `frames` frames.
std::vector<double> run(FramePacer& pacer, const std::vector<double>& costs) {
    std::vector<double> starts;
    double t = 10.0;
    for (double cost : costs) {
        starts.push_back(t);
        t += cost;
        t += pacer.waitAfterFrame(t);
    }
    return starts;
}

} // namespace

TEST(FramePacer, FastFramesStartOnADriftFreeSixtyHertzGrid) {
    FramePacer pacer(60);
    const std::vector<double> starts = run(pacer, std::vector<double>(601, 0.002));
    // The schedule begins when the first frame ends; from then on every start is on the grid,
    // and 600 periods later the clock has moved exactly ten seconds: no drift from rounding.
    const double origin = starts[1];
    for (std::size_t i = 1; i < starts.size(); ++i)
        EXPECT_NEAR(starts[i], origin + static_cast<double>(i - 1) * Period, 1e-9) << "frame " << i;
    EXPECT_NEAR(starts.back() - origin, 10.0 - Period, 1e-9);
}

TEST(FramePacer, ALateFrameIsCaughtUpButAHitchRestartsTheSchedule) {
    FramePacer pacer(60);
    EXPECT_EQ(pacer.waitAfterFrame(0.0), 0.0); // starts the schedule
    // Due at 1/60: a frame ending 5 ms late gets no wait, and the next is still due on the grid.
    EXPECT_EQ(pacer.waitAfterFrame(Period + 0.005), 0.0);
    EXPECT_NEAR(pacer.waitAfterFrame(Period + 0.010), Period - 0.010, 1e-12);
    // A frame that ends more than a period after it was due: no burst of catch-up frames, the
    // next one is due a full period after it.
    EXPECT_EQ(pacer.waitAfterFrame(1.0), 0.0);
    EXPECT_NEAR(pacer.waitAfterFrame(1.0 + 0.004), Period - 0.004, 1e-12);
}

TEST(FramePacer, SlowFramesAreNeverHeldBackAndNoCapNeverWaits) {
    FramePacer pacer(60);
    const std::vector<double> starts = run(pacer, std::vector<double>(50, 0.030));
    for (std::size_t i = 1; i < starts.size(); ++i)
        EXPECT_NEAR(starts[i] - starts[i - 1], 0.030, 1e-12);

    for (int cap : {0, -3}) {
        FramePacer none(cap);
        EXPECT_EQ(none.period(), 0.0);
        EXPECT_EQ(none.waitAfterFrame(0.0), 0.0);
        EXPECT_EQ(none.waitAfterFrame(0.001), 0.0);
    }
}
