#include "Image.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

namespace assetgen {

Image::Image(int w, int h, const glm::vec3& fill)
    : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h), fill) {}

glm::vec3 Image::sample(float x, float y) const {
    x = std::clamp(x - 0.5f, 0.0f, static_cast<float>(width - 1));
    y = std::clamp(y - 0.5f, 0.0f, static_cast<float>(height - 1));
    const int x0 = static_cast<int>(x), y0 = static_cast<int>(y);
    const int x1 = std::min(x0 + 1, width - 1), y1 = std::min(y0 + 1, height - 1);
    const float fx = x - x0, fy = y - y0;
    return glm::mix(glm::mix(at(x0, y0), at(x1, y0), fx), glm::mix(at(x0, y1), at(x1, y1), fx), fy);
}

Image toLinear(const Image& painted) {
    Image out = painted;
    for (glm::vec3& p : out.pixels)
        p = glm::pow(glm::clamp(p, glm::vec3(0.0f), glm::vec3(1.0f)), glm::vec3(2.2f));
    return out;
}

std::vector<unsigned char> toBytes(const Image& image) {
    std::vector<unsigned char> bytes(image.pixels.size() * 3);
    for (size_t i = 0; i < image.pixels.size(); ++i)
        for (int c = 0; c < 3; ++c) {
            const float v = std::clamp(image.pixels[i][c], 0.0f, 1.0f) * 255.0f;
            bytes[i * 3 + c] = static_cast<unsigned char>(std::lround(v));
        }
    return bytes;
}

namespace {

void appendToString(void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
}

} // namespace

std::string encodePng(const Image& image) {
    const std::vector<unsigned char> bytes = toBytes(image);
    std::string out;
    stbi_write_png_to_func(appendToString, &out, image.width, image.height, 3, bytes.data(), image.width * 3);
    return out;
}

std::string encodeJpeg(const Image& image, int quality) {
    const std::vector<unsigned char> bytes = toBytes(image);
    std::string out;
    stbi_write_jpg_to_func(appendToString, &out, image.width, image.height, 3, bytes.data(), quality);
    return out;
}

bool decodeImage(const std::string& fileBytes, Decoded& out) {
    int w = 0, h = 0, n = 0;
    unsigned char* data = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(fileBytes.data()),
                                                static_cast<int>(fileBytes.size()), &w, &h, &n, 0);
    if (!data)
        return false;
    out.width = w;
    out.height = h;
    out.channels = n;
    out.bytes.assign(data, data + static_cast<size_t>(w) * h * n);
    stbi_image_free(data);
    return true;
}

void forEachRow(int rows, const std::function<void(int)>& fn) {
    const unsigned threads = std::max(1u, std::min(8u, std::thread::hardware_concurrency()));
    std::atomic<int> next{0};
    auto work = [&] {
        for (int row = next++; row < rows; row = next++)
            fn(row);
    };
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    for (std::thread& t : pool)
        t.join();
}

} // namespace assetgen
