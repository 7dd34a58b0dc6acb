#include "app/RenderScale.h"

#include <algorithm>
#include <cmath>

bool RenderScaleController::addFrame(double cost, double now) {
    costs_[next_] = cost;
    next_ = (next_ + 1) % Window;
    count_ = std::min(count_ + 1, Window);
    if (count_ < MinSamples)
        return false;
    if (lastChange_ >= 0.0 && now - lastChange_ < MinSecondsBetweenChanges)
        return false;

    const double m = median();
    float wanted = scale_;
    if (m > budget_ && scale_ > MinScale) {
        // Most of a frame's cost follows the pixels drawn, i.e. the scale squared; a share of it
        // (vertices, the window-sized copy, the swap) does not. Taking that share into account lands
        // on a fitting scale in one step rather than a step a second.
        const double fixed = FixedShare * m;
        const double fitting =
            budget_ > fixed ? scale_ * std::sqrt((budget_ - fixed) / (m - fixed)) : static_cast<double>(MinScale);
        const float steps = std::floor(static_cast<float>(fitting) / ScaleStep);
        wanted = std::max(MinScale, std::min(scale_ - ScaleStep, steps * ScaleStep));
    } else if (scale_ < 1.0f && count_ >= MinSamplesUp) {
        const float up = std::min(1.0f, scale_ + ScaleStep);
        const double ratio = static_cast<double>(up) / static_cast<double>(scale_);
        if (m * ratio * ratio <= budget_ * UpMargin)
            wanted = up;
    }
    if (wanted == scale_)
        return false;
    scale_ = wanted;
    lastChange_ = now;
    count_ = 0; // the old costs belong to the old scale
    ++changes_;
    return true;
}

double RenderScaleController::median() const {
    std::array<double, Window> sorted{};
    // The newest `count_` samples, wherever they sit in the ring.
    for (std::size_t i = 0; i < count_; ++i)
        sorted[i] = costs_[(next_ + Window - 1 - i) % Window];
    std::nth_element(sorted.begin(), sorted.begin() + count_ / 2, sorted.begin() + count_);
    return sorted[count_ / 2];
}
