#pragma once

#include <string>

namespace assetgen {

// Draws the creature (in several poses) and the stone enemy with the game's Model, AnimatedModel,
// shaders and sky box into one picture. Needs a display (Xvfb will do) and the build folder as the
// working directory, where res/shader/ is. Returns false with `error` when it cannot.
bool renderPreview(const std::string& outputPng, const std::string& assetsFolder, std::string& error);

} // namespace assetgen
