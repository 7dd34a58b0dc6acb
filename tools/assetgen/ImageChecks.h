#pragma once

#include "CheckLog.h"
#include "Image.h"

#include <array>
#include <string>

namespace assetgen {

// A decoded texture must have the size and channels the game uploads, and be `minDetail` far from
// a flat colour (standard deviation of the luminance in 0..1).
void checkTexture(const std::string& what, const std::string& bytes, int size, float minDetail,
                  CheckLog& log);

// Mean and standard deviation of the luminance (0..1) of a decoded picture.
struct GreyFigures {
    float mean = 0.0f;
    float deviation = 0.0f;
};
GreyFigures greyFigures(const Decoded& image);

// The default texture stays neutral (grey) and light, with enough pattern to show scale.
constexpr float DefaultTextureMinDetail = 0.08f;
constexpr float DefaultTextureMinMean = 0.55f;
void checkDefaultTexture(const std::string& bytes, int size, CheckLog& log);

// How well the sky faces meet: for each of the 12 cube edges, the mean and the largest absolute
// difference (0..255, per channel) between the two faces' border pixels, averaged in blocks of
// 8 pixels along the edge.
struct EdgeAgreement {
    float mean[12];
    float worst[12];
};
// The faces in upload order (+x, -x, +y, -y, +z, -z), decoded, all of the same square size.
EdgeAgreement skyEdgeAgreement(const std::array<Decoded, 6>& faces);
// A second, deliberately wrong pairing (each edge against the reversed neighbour edge), as a
// yardstick for how different unrelated borders are.
EdgeAgreement skyEdgeMismatch(const std::array<Decoded, 6>& faces);

// Six 3-channel JPEG faces of the expected size whose edges agree and whose sides are upright.
void checkSky(const std::array<std::string, 6>& bytes, int size, CheckLog& log);

} // namespace assetgen
