#pragma once

#include <string>

// Pictures of benchmark frames, to show that a change made the game faster without changing what
// the player sees: run the benchmark with --shots before and after, then --compare the folders.
namespace screenshots {

// Writes the window's last frame as "<folder>/frame-<frame>.ppm" (binary RGB, bottom row first).
// Reads the back buffer after the swap, which Mesa's software path keeps; false if the file
// cannot be written.
bool save(const std::string& folder, int frame, int width, int height);

// Compares every picture of `before` with the one of the same name in `after`: one line per pair
// with the largest channel difference (0-255) and how many channels differ. Returns the largest
// difference over all pairs, or -1 when a pair is missing, unreadable or of another size.
int compare(const std::string& before, const std::string& after);

} // namespace screenshots
