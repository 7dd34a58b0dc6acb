#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct Game;
class ScriptedPlay;

// The game as a player gets it: the same frames as runLoop, with the frame cap and the render
// scale the settings ask for, measured against the wall clock.
namespace realtime {

// The cheapest frame a window can show: clear, one full-window quad textured from a window-sized
// RGBA16F image, swap; the unit of "frame cost". This machine's speed drifts by a quarter over
// tens of seconds, so the samples are best taken in small groups between the frames they are
// compared with rather than in one block before or after them.
class ReferenceFrame {
public:
    explicit ReferenceFrame(Game& game);
    ~ReferenceFrame();
    ReferenceFrame(const ReferenceFrame&) = delete;
    ReferenceFrame& operator=(const ReferenceFrame&) = delete;

    // Draws `frames` reference frames now. The game's next frame sets every state it needs again.
    void sample(int frames);
    double medianMs() const;
    std::size_t samples() const { return ms_.size(); }

private:
    Game& game_;
    unsigned image_ = 0, program_ = 0;
    int width_ = 0, height_ = 0;
    std::vector<double> ms_;
};

struct Session {
    int frames = 0;
    double wallSeconds = 0.0;
    double gameSeconds = 0.0;                 // one physics step per frame
    std::vector<float> scales;                // the scales in force, in the order they came
    int changes = 0;
    double medianCostMs = 0.0;                // frames at the last scale, start to end of the frame
};

// `frames` frames of the script through runFrame and the pacing of runLoop.
Session play(Game& game, ScriptedPlay& script, int frames);

// Frames per second over `seconds` of paced frames in a width x height window (the window is
// resized for it and left so).
double pacedFrameRate(Game& game, int width, int height, double seconds);

std::string describeScales(const Session& s);

} // namespace realtime
