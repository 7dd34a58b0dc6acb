#include "Icon.h"
#include "Image.h"
#include "TestPaths.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <string>

using namespace assetgen;

namespace {

// Drawing takes seconds (the creature's texture is painted first): draw the small icon once.
const IconImage& smallIcon() {
    static const IconImage icon = drawIcon(64);
    return icon;
}

} // namespace

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

    EXPECT_EQ(fileBytes(std::string(testpaths::IconsFolder) + "/64/org.glorbit.glorbit.png"), png)
        << "run `make assets` to redraw the icons";
    EXPECT_EQ(fileBytes(std::string(testpaths::IconsFolder) + "/256/org.glorbit.glorbit.png"),
              encodeIconPng(drawIcon(256)))
        << "run `make assets` to redraw the icons";
}
