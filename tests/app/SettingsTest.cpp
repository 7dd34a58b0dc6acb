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

TEST(Settings, AMissingFileAndTheShippedFileGiveTheDefaults) {
    for (const std::string& path :
         {testing::TempDir() + "no-such-settings.ini", std::string("../assets/settings.ini")}) {
        const Settings s = readSettings(path);
        EXPECT_EQ(s.width, 1280) << path;
        EXPECT_EQ(s.height, 768) << path;
        EXPECT_FALSE(s.fullscreen) << path;
        EXPECT_FALSE(s.resizeable) << path;
        EXPECT_EQ(s.title, "glorbit") << path;
        EXPECT_EQ(s.refreshrate, 60) << path;
        EXPECT_EQ(s.brightness, 1.0f) << path;
        EXPECT_EQ(s.framecap, 60) << path;
        EXPECT_EQ(s.renderscale, RenderScaleAuto) << path;
        EXPECT_EQ(s.mousespeed, 1.0f) << path;
        EXPECT_FALSE(s.invertmouse) << path;
    }
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

// Our own keys are read whole and fall back to their defaults with one line each; the window's
// integer keys keep the parser's reading and say so when it stopped early.
TEST(Settings, OurKeysAreReadWholeOrFallBackWithALineEach) {
    struct Case {
        const char* text;
        int framecap;
        float renderscale, mousespeed;
        bool invertmouse;
        std::size_t lines;
    };
    const float Auto = RenderScaleAuto;
    const Case cases[] = {
        {"framecap =   0  \nrenderscale = 0.75\nmousespeed = 0.1\ninvertmouse = true\n", 0, 0.75f, 0.1f, true,
         0},
        {"framecap = 1000\nrenderscale = 1\nmousespeed = 10\ninvertmouse = No\n", 1000, 1.0f, 10.0f, false,
         0},
        {"renderscale = AUTO\nmousespeed = 2.5\ninvertmouse = 1\n", 60, Auto, 2.5f, true, 0},
        {"framecap = 1001\nrenderscale = 1.01\nmousespeed = 10.01\ninvertmouse = maybe\n", 60, Auto, 1, false,
         4},
        {"framecap = -3\nrenderscale = 0.75x\nmousespeed = 0.09\n", 60, Auto, 1.0f, false, 3},
        {"framecap = 0x10\nrenderscale = nan\nmousespeed = 2x\n", 60, Auto, 1.0f, false, 3},
        {"framecap = 1e308\nrenderscale = inf\nmousespeed = inf\n", 60, Auto, 1.0f, false, 3},
        {"framecap =   0.75  \nrenderscale = 1e400\n", 60, Auto, 1.0f, false, 2},
        {"framecap = nan\nrenderscale = 0.49\n", 60, Auto, 1.0f, false, 2},
        {"brightness = 2.5\nwidth = 640px\nheight = 480\n", 60, Auto, 1.0f, false, 2},
    };
    for (const Case& c : cases) {
        const std::string path = writeIni("settings-ours.ini", std::string("[window]\n") + c.text);
        CoutCapture out;
        const Settings s = readSettings(path);
        EXPECT_EQ(s.framecap, c.framecap) << c.text;
        EXPECT_EQ(s.renderscale, c.renderscale) << c.text;
        EXPECT_EQ(s.mousespeed, c.mousespeed) << c.text;
        EXPECT_EQ(s.invertmouse, c.invertmouse) << c.text;
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
