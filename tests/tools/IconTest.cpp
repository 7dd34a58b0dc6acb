#include "Icon.h"
#include "Image.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

using namespace assetgen;

namespace {

struct Rgba {
    int r, g, b, a;
};

Rgba pixel(const IconImage& icon, int x, int y) {
    const unsigned char* p = &icon.rgba[(static_cast<size_t>(y) * icon.size + x) * 4];
    return Rgba{p[0], p[1], p[2], p[3]};
}

// Drawing takes seconds (the creature's texture is painted first): draw the small icon once.
const IconImage& smallIcon() {
    static const IconImage icon = drawIcon(64);
    return icon;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace

// The round badge: transparent outside, opaque inside, with soft (partly covered) edge pixels.
TEST(Icon, IsARoundBadgeWithSmoothEdges) {
    const IconImage& icon = smallIcon();
    ASSERT_EQ(icon.size, 64);
    ASSERT_EQ(icon.rgba.size(), 64u * 64u * 4u);
    for (const auto& [x, y] : {std::pair{0, 0}, {63, 0}, {0, 63}, {63, 63}, {4, 4}})
        EXPECT_EQ(pixel(icon, x, y).a, 0) << x << "," << y;
    for (const auto& [x, y] : {std::pair{32, 32}, {32, 5}, {5, 32}, {58, 32}, {32, 58}})
        EXPECT_EQ(pixel(icon, x, y).a, 255) << x << "," << y;
    int partly = 0;
    for (int x = 0; x < 64; ++x)
        if (pixel(icon, x, 32).a > 0 && pixel(icon, x, 32).a < 255)
            ++partly;
    EXPECT_GE(partly, 2) << "the badge's rim is not anti-aliased";
}

// The creature is there: bright blue fur and its cream face in the middle, which the night-sky
// badge alone never reaches.
TEST(Icon, ShowsTheCreature) {
    const IconImage& icon = smallIcon();
    int fur = 0, cream = 0;
    for (int y = 12; y < 52; ++y)
        for (int x = 12; x < 52; ++x) {
            const Rgba p = pixel(icon, x, y);
            if (p.b > 170 && p.b > p.r + 80 && p.g > 80)
                ++fur;
            if (p.r > 190 && p.g > 170 && p.b > 120 && p.b < p.r)
                ++cream;
        }
    EXPECT_GT(fur, 300);
    EXPECT_GT(cream, 40);
}

// The PNG holds the four channels as drawn, and the committed icons are what the generator draws now.
TEST(Icon, FilesMatchTheGenerator) {
    const IconImage& icon = smallIcon();
    const std::string png = encodeIconPng(icon);
    Decoded decoded;
    ASSERT_TRUE(decodeImage(png, decoded));
    EXPECT_EQ(decoded.width, 64);
    EXPECT_EQ(decoded.height, 64);
    EXPECT_EQ(decoded.channels, 4);
    EXPECT_EQ(decoded.bytes, icon.rgba);

    EXPECT_EQ(readFile(std::string(testpaths::IconsFolder) + "/64/org.glorbit.glorbit.png"), png)
        << "run `make assets` to redraw the icons";
    EXPECT_EQ(readFile(std::string(testpaths::IconsFolder) + "/256/org.glorbit.glorbit.png"),
              encodeIconPng(drawIcon(256)))
        << "run `make assets` to redraw the icons";
}
