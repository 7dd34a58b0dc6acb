#pragma once

#include "app/Settings.h"

#include <array>
#include <cstddef>

// Chooses the internal resolution of the scene, sky and glow when the settings leave it to the
// game. The world takes one fixed step per frame, so a frame that does not fit its period slows the
// world down: where drawing at full size is too slow (software rendering), a smaller scale keeps the
// game in real time, and the combine pass scales the picture up to the window.
//
// Pure logic: it sees only frame costs and times, so tests drive it without a window.
//  - It starts at 1 and stays there on any machine that draws a frame within the budget.
//  - Scales come in steps of ScaleStep between MinScale and 1.
//  - It decides at most once a second, on the median cost of the frames since its last change
//    (at least MinSamples of them, at most Window).
//  - Down: when the median is over the budget, to the largest step whose cost, assumed to follow
//    the pixel count but for a fixed share, fits the budget; at least one step.
//  - Up, one step: only when that step's predicted cost fits well inside the budget (UpMargin),
//    so a scale that just fits does not flip back and forth.
class RenderScaleController {
public:
    static constexpr float MinScale = MinRenderScale;
    static constexpr float ScaleStep = 0.0625f;
    static constexpr std::size_t Window = 30;
    static constexpr std::size_t MinSamples = 10;
    static constexpr std::size_t MinSamplesUp = Window;
    static constexpr double MinSecondsBetweenChanges = 1.0;
    static constexpr double UpMargin = 0.8;
    static constexpr double FixedShare = 0.25; // of a frame's cost, taken not to shrink with the scale

    // `budget`: the most a frame's drawing may cost, in seconds.
    explicit RenderScaleController(double budget = DefaultBudget) : budget_(budget) {}

    // One frame's cost (seconds) that ended at `now` (seconds). Returns true when the scale changed.
    bool addFrame(double cost, double now);

    float scale() const { return scale_; }
    int changes() const { return changes_; }
    double budget() const { return budget_; }

    // A frame period of 1/60 s, less a tenth for the swap, the events and timing noise, which the
    // measured cost does not include.
    static constexpr double DefaultBudget = 0.015;

private:
    double median() const;

    double budget_;
    float scale_ = 1.0f;
    std::array<double, Window> costs_{};
    std::size_t count_ = 0, next_ = 0; // samples since the last change; ring position
    double lastChange_ = -1.0;         // time of the last change; < 0: none yet
    int changes_ = 0;
};
