#include "ImageChecks.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace assetgen {

namespace {

float luminance(const Decoded& image, size_t pixel) {
    const unsigned char* p = &image.bytes[pixel * static_cast<size_t>(image.channels)];
    if (image.channels < 3)
        return p[0] / 255.0f;
    return (0.2126f * p[0] + 0.7152f * p[1] + 0.0722f * p[2]) / 255.0f;
}

// One border of a face: which face, which side, and whether it runs backwards.
enum Side { Top, Bottom, Left, Right };
struct Border {
    int face;
    Side side;
    bool reversed;
};
struct Edge {
    Border a, b;
};

// Worked out by hand from OpenGL's cube-map table (not from the generator's code):
// +X: (1, -t, -s)  -X: (-1, -t, s)  +Y: (s, 1, t)  -Y: (s, -1, -t)  +Z: (s, -t, 1)  -Z: (-s, -t, -1),
// with s along the columns and t along the rows, row 0 first.
const Edge Edges[12] = {
    {{0, Top, false}, {2, Right, true}},   {{0, Bottom, false}, {3, Right, false}},
    {{0, Left, false}, {4, Right, false}}, {{0, Right, false}, {5, Left, false}},
    {{1, Top, false}, {2, Left, false}},   {{1, Bottom, false}, {3, Left, true}},
    {{1, Left, false}, {5, Right, false}}, {{1, Right, false}, {4, Left, false}},
    {{2, Top, false}, {5, Top, true}},     {{2, Bottom, false}, {4, Top, false}},
    {{3, Top, false}, {4, Bottom, false}}, {{3, Bottom, false}, {5, Bottom, true}},
};

// Pixel `i` along a border, `depth` rows in from it.
const unsigned char* borderPixel(const Decoded& image, Side side, bool reversed, int i, int depth) {
    const int n = image.width;
    const int along = reversed ? n - 1 - i : i;
    int x = 0, y = 0;
    switch (side) {
    case Top:
        x = along, y = depth;
        break;
    case Bottom:
        x = along, y = n - 1 - depth;
        break;
    case Left:
        x = depth, y = along;
        break;
    case Right:
        x = n - 1 - depth, y = along;
        break;
    }
    return &image.bytes[(static_cast<size_t>(y) * n + x) * static_cast<size_t>(image.channels)];
}

// JPEG blurs and rings a little differently on either face, so borders are compared in small blocks
// of EdgeBlock pixels along the edge rather than pixel by pixel.
constexpr int EdgeBlock = 8;

EdgeAgreement compareEdges(const std::array<Decoded, 6>& faces, bool flipSecond) {
    EdgeAgreement out{};
    for (int e = 0; e < 12; ++e) {
        const Edge& edge = Edges[e];
        const Decoded& fa = faces[static_cast<size_t>(edge.a.face)];
        const Decoded& fb = faces[static_cast<size_t>(edge.b.face)];
        const int n = fa.width;
        double sum = 0.0;
        float worst = 0.0f;
        int blocks = 0;
        for (int start = 0; start + EdgeBlock <= n; start += EdgeBlock, ++blocks) {
            float a[3] = {0, 0, 0}, b[3] = {0, 0, 0};
            for (int i = start; i < start + EdgeBlock; ++i) {
                const unsigned char* pa = borderPixel(fa, edge.a.side, edge.a.reversed, i, 0);
                const unsigned char* pb = borderPixel(fb, edge.b.side, edge.b.reversed != flipSecond, i, 0);
                for (int c = 0; c < 3; ++c) {
                    a[c] += pa[c];
                    b[c] += pb[c];
                }
            }
            for (int c = 0; c < 3; ++c) {
                const float d = std::fabs(a[c] - b[c]) / EdgeBlock;
                sum += d;
                worst = std::max(worst, d);
            }
        }
        out.mean[e] = static_cast<float>(sum / (3.0 * blocks));
        out.worst[e] = worst;
    }
    return out;
}

} // namespace

GreyFigures greyFigures(const Decoded& image) {
    double sum = 0.0, squares = 0.0;
    const size_t count = static_cast<size_t>(image.width) * image.height;
    for (size_t i = 0; i < count; ++i) {
        const float l = luminance(image, i);
        sum += l;
        squares += l * l;
    }
    GreyFigures out;
    if (count == 0)
        return out;
    const double mean = sum / count;
    out.mean = static_cast<float>(mean);
    out.deviation = static_cast<float>(std::sqrt(std::max(0.0, squares / count - mean * mean)));
    return out;
}

void checkTexture(const std::string& what, const std::string& bytes, int size, float minDetail,
                  CheckLog& log) {
    Decoded image;
    if (!log.expect(decodeImage(bytes, image), what + ": not a readable image"))
        return;
    log.expect(image.width == size && image.height == size && image.channels == 3,
               what + ": " + std::to_string(image.width) + "x" + std::to_string(image.height) + " with " +
                   std::to_string(image.channels) + " channels");
    const float deviation = greyFigures(image).deviation;
    log.expect(deviation >= minDetail, what + ": nearly a flat colour (deviation " + str(deviation) + ")");
}

void checkDefaultTexture(const std::string& bytes, int size, CheckLog& log) {
    // Below this the shapes look flat again; above the mean floor the fixed colours stay bright.
    checkTexture("default texture", bytes, size, DefaultTextureMinDetail, log);
    Decoded image;
    if (!decodeImage(bytes, image) || image.channels != 3)
        return;
    const GreyFigures grey = greyFigures(image);
    int worstChroma = 0;
    for (size_t i = 0; i < image.bytes.size(); i += 3) {
        const unsigned char* p = &image.bytes[i];
        worstChroma = std::max(worstChroma, std::max({p[0], p[1], p[2]}) - std::min({p[0], p[1], p[2]}));
    }
    log.note("default texture: grey mean " + str(grey.mean) + ", standard deviation " + str(grey.deviation));
    log.expect(grey.mean >= DefaultTextureMinMean && grey.mean < 0.92f,
               "default texture: mean brightness " + str(grey.mean) + " is not light grey");
    log.expect(worstChroma <= 6, "default texture: not neutral (a pixel is " + std::to_string(worstChroma) +
                                     " levels off grey)");
}

EdgeAgreement skyEdgeAgreement(const std::array<Decoded, 6>& faces) {
    return compareEdges(faces, false);
}
EdgeAgreement skyEdgeMismatch(const std::array<Decoded, 6>& faces) {
    return compareEdges(faces, true);
}

void checkSky(const std::array<std::string, 6>& bytes, int size, CheckLog& log) {
    std::array<Decoded, 6> faces;
    for (size_t i = 0; i < 6; ++i) {
        const std::string what = "sky face " + std::to_string(i);
        if (!log.expect(decodeImage(bytes[i], faces[i]), what + ": not a readable image"))
            return;
        if (!log.expect(bytes[i].size() > 2 && static_cast<unsigned char>(bytes[i][0]) == 0xFF &&
                            static_cast<unsigned char>(bytes[i][1]) == 0xD8,
                        what + ": not a JPEG file"))
            return;
        if (!log.expect(faces[i].width == size && faces[i].height == size && faces[i].channels == 3,
                        what + ": must be " + std::to_string(size) + "² with 3 channels"))
            return;
    }
    const EdgeAgreement edges = skyEdgeAgreement(faces);
    float mean = 0.0f, worst = 0.0f;
    for (int e = 0; e < 12; ++e) {
        mean = std::max(mean, edges.mean[e]);
        worst = std::max(worst, edges.worst[e]);
    }
    log.note("sky: worst edge mean difference " + str(mean) + ", largest single difference " + str(worst));
    log.expect(mean < 1.0f && worst < 16.0f,
               "sky: the faces do not meet (edge mean " + str(mean) + ", worst " + str(worst) + ")");
    // Upright sides: just above the horizon (the middle rows) the sky is brighter than high up.
    for (int f : {0, 1, 4, 5}) {
        const Decoded& face = faces[static_cast<size_t>(f)];
        auto rows = [&](int from, int to) {
            double sum = 0.0;
            for (int y = from; y < to; ++y)
                for (int x = 0; x < size; ++x)
                    sum += luminance(face, static_cast<size_t>(y) * size + x);
            return sum / ((to - from) * size);
        };
        log.expect(rows(size / 2 - size / 16, size / 2) > 1.3 * rows(0, size / 16),
                   "sky face " + std::to_string(f) + ": the horizon glow is not below the high sky");
    }
}

} // namespace assetgen
