#pragma once

#include <string>
#include <vector>

// The application icon: the creature seen from the front, a little from above and to its right,
// on a round night-sky badge with the star's glow behind it. Drawn on the CPU from the same mesh
// and texture the game loads, so it needs no display.
namespace assetgen {

// RGBA pixels, row 0 at the top, straight (not premultiplied) alpha.
struct IconImage {
    int size = 0;
    std::vector<unsigned char> rgba;
};

// `size` pixels square; drawn at four times the size and averaged down, so edges are smooth.
IconImage drawIcon(int size);

std::string encodeIconPng(const IconImage& icon);

// Writes "<folder>/<size>/<name>.png" for the sizes the desktop wants (64 and 256).
bool writeIcons(const std::string& folder, const std::string& name, std::string& error);

} // namespace assetgen
