#pragma once

#include <glm/glm.hpp>

#include <functional>
#include <string>
#include <vector>

namespace assetgen {

// An RGB picture with float channels in [0, 1]; row 0 is the top row, as in the image files.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<glm::vec3> pixels;

    Image() = default;
    Image(int w, int h, const glm::vec3& fill = glm::vec3(0.0f));

    glm::vec3& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    const glm::vec3& at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // Bilinear lookup in pixel units, clamped at the borders.
    glm::vec3 sample(float x, float y) const;
};

// The game samples textures as linear light (no sRGB decoding) and gamma-encodes (2.2) the frame it
// shows, so a colour painted as it should look on screen is stored as colour^2.2.
Image toLinear(const Image& painted);

// 8-bit RGB bytes, rounded, clamped to [0, 255].
std::vector<unsigned char> toBytes(const Image& image);

// Encoded files held in memory, so that everything can be checked before anything is written.
std::string encodePng(const Image& image);
std::string encodeJpeg(const Image& image, int quality);

// Decoded with stb_image from memory. Returns false when the bytes are not an image.
struct Decoded {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<unsigned char> bytes;
};
bool decodeImage(const std::string& fileBytes, Decoded& out);

// Runs fn(row) for every row, spread over the machine's cores. Each row must only touch its own
// pixels; the result does not depend on the number of threads.
void forEachRow(int rows, const std::function<void(int)>& fn);

// Colour helpers shared by the painters.
inline glm::vec3 rgb(int r, int g, int b) {
    return glm::vec3(r, g, b) / 255.0f;
}
inline float smooth(float edge0, float edge1, float x) {
    return glm::smoothstep(edge0, edge1, x);
}

} // namespace assetgen
