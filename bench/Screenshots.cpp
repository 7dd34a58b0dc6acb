#include "Screenshots.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace screenshots {

namespace {

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
};

// Reads what save() wrote: "P6 <w> <h> 255", one whitespace byte, then the pixels.
bool load(const std::string& path, Picture& picture) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    if (!(in >> magic >> picture.width >> picture.height >> maxValue) || magic != "P6" || maxValue != 255 ||
        picture.width <= 0 || picture.height <= 0)
        return false;
    in.get();
    picture.rgb.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return picture.rgb.size() == static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) * 3;
}

} // namespace

bool save(const std::string& folder, int frame, int width, int height) {
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    GLint previousPack = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &previousPack);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glPixelStorei(GL_PACK_ALIGNMENT, previousPack);

    char name[32];
    std::snprintf(name, sizeof(name), "frame-%04d.ppm", frame);
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/" + name;
    std::ofstream out(path, std::ios::binary);
    out << "P6 " << width << " " << height << " 255\n";
    out.write(reinterpret_cast<const char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
    if (out)
        return true;
    std::remove(path.c_str());
    return false;
}

int compare(const std::string& before, const std::string& after) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(before, error))
        if (entry.path().extension() == ".ppm")
            names.push_back(entry.path().filename().string());
    if (error || names.empty()) {
        std::printf("no pictures in %s\n", before.c_str());
        return -1;
    }
    std::sort(names.begin(), names.end());
    int largest = 0;
    for (const std::string& name : names) {
        Picture a, b;
        if (!load(before + "/" + name, a) || !load(after + "/" + name, b) || a.width != b.width ||
            a.height != b.height) {
            std::printf("%s: missing, unreadable or of another size in %s\n", name.c_str(), after.c_str());
            return -1;
        }
        int most = 0;
        std::size_t differing = 0;
        for (std::size_t i = 0; i < a.rgb.size(); ++i) {
            const int d = std::abs(static_cast<int>(a.rgb[i]) - static_cast<int>(b.rgb[i]));
            most = std::max(most, d);
            differing += d > 0 ? 1 : 0;
        }
        std::printf("%s: largest difference %d of 255, %zu of %zu channels differ\n", name.c_str(), most, differing,
                    a.rgb.size());
        largest = std::max(largest, most);
    }
    return largest;
}

} // namespace screenshots
