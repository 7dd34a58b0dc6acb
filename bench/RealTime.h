#pragma once

#include <string>
#include <vector>

struct Game;
class ScriptedPlay;

// The game as a player gets it: the same frames as runLoop, with the frame cap and the render
// scale the settings ask for, measured against the wall clock.
namespace realtime {

// The cheapest frame a window can show: clear, one full-window quad textured from the scene's
// RGBA16F image, swap. The median over `frames`, in milliseconds; the unit of "frame cost".
double referenceFrameMs(Game& game, int frames);

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
