#include "app/Gamepad.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

// GLFW takes the player's mappings from the environment and from the file beside the settings; each
// one it refuses is named on its own line and the rest still count.
TEST(GamepadMappings, RefusedMappingsAreReportedOneLineEachAndSkipped) {
    GLContext context; // GLFW must be initialised
    ASSERT_TRUE(context.ok());
    const std::string good = "03000000aaaa0000bbbb000011010000,Test Pad,a:b0,b:b1,x:b2,y:b3,leftx:a0,lefty:a1,"
                             "platform:Linux,";
    const std::string elsewhere = "03000000aaaa0000cccc000011010000,Test Pad,a:b0,platform:Windows,";
    const std::filesystem::path folder = std::filesystem::path(testing::TempDir()) / "pad-mappings";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "settings.ini") << "[window]\n";
    std::ofstream(folder / "gamecontrollerdb.txt") << "# mine\n" << good << "\nnot a mapping\n" << elsewhere << "\n0300,Short GUID,a:b0\n";
    setenv("SDL_GAMECONTROLLERCONFIG", ("zz,Broken,a:q9\n" + good).c_str(), 1);

    CoutCapture out;
    loadGamepadMappings((folder / "settings.ini").string());
    unsetenv("SDL_GAMECONTROLLERCONFIG");
    const std::vector<std::string> lines = out.lines();
    ASSERT_EQ(lines.size(), 3u) << out.text();
    EXPECT_EQ(lines[0], "Gamepad mapping refused (SDL_GAMECONTROLLERCONFIG): zz,Broken,a:q9");
    EXPECT_NE(lines[1].find("gamecontrollerdb.txt): not a mapping"), std::string::npos);
    EXPECT_NE(lines[2].find("gamecontrollerdb.txt): 0300,Short GUID"), std::string::npos);
    std::filesystem::remove_all(folder);
}
