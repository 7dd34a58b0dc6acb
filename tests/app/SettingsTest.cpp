#include "app/Settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

std::string writeIni(const std::string& name, const std::string& text) {
    const std::string path = testing::TempDir() + name;
    std::ofstream(path) << text;
    return path;
}

} // namespace

TEST(Settings, MissingFileGivesTheDefaults) {
    const Settings s = readSettings(testing::TempDir() + "no-such-settings.ini");
    EXPECT_EQ(s.width, 1280);
    EXPECT_EQ(s.height, 768);
    EXPECT_FALSE(s.fullscreen);
    EXPECT_FALSE(s.resizeable);
    EXPECT_EQ(s.title, "glorbit");
    EXPECT_EQ(s.refreshrate, 60);
    EXPECT_EQ(s.brightness, 1.0f);
}

TEST(Settings, ValuesAreReadFromTheWindowSectionOnly) {
    const std::string path = writeIni("settings-a.ini", "[window]\nwidth = 320\nheight=200\nfullscreen = true\n"
                                                        "resizeable = yes\ntitle = tiny\nbrightness = 2.5\n"
                                                        "[other]\nrefreshrate = 30\n");
    const Settings s = readSettings(path);
    EXPECT_EQ(s.width, 320);
    EXPECT_EQ(s.height, 200);
    EXPECT_TRUE(s.fullscreen);
    EXPECT_TRUE(s.resizeable);
    EXPECT_EQ(s.title, "tiny");
    EXPECT_EQ(s.refreshrate, 60); // another section's key is not this one
    EXPECT_EQ(s.brightness, 2.0f); // integer key: parsing stops at the point
    std::remove(path.c_str());
}

TEST(Settings, TheShippedFileHoldsEveryDefault) {
    const Settings s = readSettings("../assets/settings.ini");
    const Settings d;
    EXPECT_EQ(s.width, d.width);
    EXPECT_EQ(s.height, d.height);
    EXPECT_EQ(s.title, d.title);
    EXPECT_EQ(s.refreshrate, d.refreshrate);
    EXPECT_EQ(s.brightness, d.brightness);
}
