#include "app/Settings.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include <sys/stat.h>

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
    const std::string path =
        writeIni("settings-a.ini", "[window]\nwidth = 320\nheight=200\nfullscreen = true\n"
                                   "resizeable = yes\ntitle = tiny\nbrightness = 2.5\n"
                                   "[other]\nrefreshrate = 30\n");
    const Settings s = readSettings(path);
    EXPECT_EQ(s.width, 320);
    EXPECT_EQ(s.height, 200);
    EXPECT_TRUE(s.fullscreen);
    EXPECT_TRUE(s.resizeable);
    EXPECT_EQ(s.title, "tiny");
    EXPECT_EQ(s.refreshrate, 60);  // another section's key is not this one
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

TEST(Settings, FrameCapAndRenderScaleFallBackOnBadValues) {
    struct Case {
        const char* text;
        int framecap;
        float renderscale;
    };
    const Case cases[] = {
        {"", 60, RenderScaleAuto},
        {"framecap = 0\nrenderscale = 0.75\n", 0, 0.75f},
        {"framecap = 144\nrenderscale = 1\n", 144, 1.0f},
        {"framecap = -3\nrenderscale = abc\n", 60, RenderScaleAuto},
        {"framecap = abc\nrenderscale = 7\n", 60, RenderScaleAuto},
        {"framecap = 99999999999999999999\nrenderscale = 0.49\n", 60, RenderScaleAuto},
        {"renderscale = AUTO\n", 60, RenderScaleAuto},
        {"renderscale = 0.5\n", 60, 0.5f},
        {"renderscale = 0.75x\n", 60, RenderScaleAuto},
        {"renderscale = nan\n", 60, RenderScaleAuto},
        {"renderscale = 1e400\n", 60, RenderScaleAuto},
    };
    for (const Case& c : cases) {
        const std::string path = writeIni("settings-speed.ini", std::string("[window]\n") + c.text);
        const Settings s = readSettings(path);
        EXPECT_EQ(s.framecap, c.framecap) << c.text;
        EXPECT_EQ(s.renderscale, c.renderscale) << c.text;
        std::remove(path.c_str());
    }
    const Settings shipped = readSettings("../assets/settings.ini");
    EXPECT_EQ(shipped.framecap, 60);
    EXPECT_EQ(shipped.renderscale, RenderScaleAuto);
}

TEST(Settings, OurKeysAreReadWholeOrFallBackToTheirDefaultsWithALineEach) {
    struct Case {
        const char* text;
        int framecap;
        float mousespeed;
        bool invertmouse;
        std::size_t lines;
    };
    const Case cases[] = {
        {"", 60, 1.0f, false, 0},
        {"framecap =   30  \nmousespeed = 0.1\ninvertmouse = true\n", 30, 0.1f, true, 0},
        {"framecap = 1000\nmousespeed = 10\ninvertmouse = No\n", 1000, 10.0f, false, 0},
        {"framecap = 1001\nmousespeed = 10.01\ninvertmouse = maybe\n", 60, 1.0f, false, 3},
        {"framecap = 0x10\nmousespeed = 0.09\ninvertmouse = 1\n", 60, 1.0f, true, 2},
        {"framecap = 1e308\nmousespeed = 2x\n", 60, 1.0f, false, 2},
        {"framecap =   0.75  \nmousespeed = inf\nrenderscale = inf\n", 60, 1.0f, false, 3},
        {"framecap = nan\nmousespeed = 2.5\nrenderscale = nan\n", 60, 2.5f, false, 2},
        // The window's own keys keep the parser's reading, and say so when it stopped early.
        {"brightness = 2.5\nwidth = 640px\nheight = 480\n", 60, 1.0f, false, 2},
    };
    for (const Case& c : cases) {
        const std::string path = writeIni("settings-ours.ini", std::string("[window]\n") + c.text);
        CoutCapture out;
        const Settings s = readSettings(path);
        EXPECT_EQ(s.framecap, c.framecap) << c.text;
        EXPECT_EQ(s.mousespeed, c.mousespeed) << c.text;
        EXPECT_EQ(s.invertmouse, c.invertmouse) << c.text;
        EXPECT_EQ(s.renderscale, RenderScaleAuto) << c.text;
        EXPECT_EQ(out.lines().size(), c.lines) << c.text << out.text();
        std::remove(path.c_str());
    }
}

TEST(Settings, ANamedPipeIsNotOpenedAndGivesTheDefaults) {
    const std::string path = testing::TempDir() + "settings-pipe.ini";
    std::remove(path.c_str());
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    CoutCapture out;
    const Settings s = readSettings(path); // would block in the parser's open
    EXPECT_EQ(s.width, Settings().width);
    EXPECT_EQ(out.lines(),
              std::vector<std::string>{"Settings: " + path +
                                       " is a named pipe (FIFO), not a file; using the defaults"});
    std::remove(path.c_str());
}
