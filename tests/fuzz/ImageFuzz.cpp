// The image path without GL, on whatever bytes it is given: the header check the loaders make
// before decoding (the size limits), the decode, and the sky's per-face checks and channel
// handling. A crash or a sanitizer report is a finding; a refused image is the expected outcome.
#include "render/EnvironmentMap.h"
#include "render/Texture.h"

#include <stb_image.h>

#include <cstddef>
#include <cstdint>

namespace {

// llvmpipe's largest texture side.
constexpr int MaxSide = 16384;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int length = size > 0x7fffffff ? 0x7fffffff : static_cast<int>(size);
    FaceHeader header;
    header.readable =
        stbi_info_from_memory(data, length, &header.width, &header.height, &header.channels) != 0;
    // As the sky sees it: this face among five of the usual size.
    std::array<FaceHeader, 6> faces;
    faces.fill(FaceHeader{true, 64, 64, 3});
    faces[0] = header;
    const std::array<std::string, 6> problems = skyFaceProblems(faces, MaxSide);
    if (!header.readable || !imageSizeProblem(header.width, header.height, MaxSide).empty())
        return 0;
    int width = 0, height = 0, channels = 0;
    unsigned char* pixels = stbi_load_from_memory(data, length, &width, &height, &channels, 0);
    if (pixels && channels >= 1 && channels <= 4 && problems[0].empty()) {
        const FacePixels face = facePixels(pixels, width, height, channels);
        volatile unsigned char last = face.data[static_cast<std::size_t>(width) * height * 3 - 1];
        (void)last;
    }
    stbi_image_free(pixels);
    return 0;
}
