#include "app/Gamepad.h"

#include <gtest/gtest.h>

namespace {

GLFWgamepadstate centred() {
    GLFWgamepadstate s{};
    s.axes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER] = s.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] = -1.0f; // at rest
    return s;
}

} // namespace

TEST(Gamepad, SticksHaveARadialDeadZoneAndReachOneAtFullDeflection) {
    EXPECT_EQ(stickPastDeadZone({0.19f, 0.0f}), glm::vec2(0.0f));
    EXPECT_EQ(stickPastDeadZone({0.12f, -0.12f}), glm::vec2(0.0f)); // 0.17 from the centre
    EXPECT_NEAR(stickPastDeadZone({0.6f, 0.0f}).x, 0.5f, 1e-6f);    // halfway between zone and edge
    EXPECT_EQ(stickPastDeadZone({0.0f, -1.0f}), glm::vec2(0.0f, -1.0f));
    // A diagonal keeps its direction; a square gate's corner is no stronger than an edge.
    const glm::vec2 corner = stickPastDeadZone({1.0f, 1.0f});
    EXPECT_NEAR(glm::length(corner), 1.0f, 1e-6f);
    EXPECT_NEAR(corner.x, corner.y, 1e-6f);
    const glm::vec2 diagonal = stickPastDeadZone({0.5f, 0.5f});
    EXPECT_NEAR(glm::length(diagonal), (std::sqrt(0.5f) - 0.2f) / 0.8f, 1e-6f);
}

TEST(Gamepad, ReadTurnsSticksTriggersAndButtonsIntoActions) {
    Gamepad pad;
    GLFWgamepadstate s = centred();
    s.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = -1.0f; // pushed away from the player: forward
    s.axes[GLFW_GAMEPAD_AXIS_RIGHT_X] = 1.0f;
    s.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] = 1.0f;
    s.buttons[GLFW_GAMEPAD_BUTTON_Y] = GLFW_PRESS;
    PadActions a = pad.read(s, 0.1f);
    EXPECT_EQ(a.move, glm::vec2(0.0f, 1.0f));
    EXPECT_EQ(a.look, glm::vec2(1.0f, 0.0f));
    EXPECT_EQ(a.rise, 1.0f);
    EXPECT_FALSE(a.switchCamera); // buttons act on release, as the keys do

    s = centred();
    s.buttons[GLFW_GAMEPAD_BUTTON_LEFT_BUMPER] = GLFW_PRESS;
    s.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] = 0.0f; // a trigger's first half counts for nothing
    a = pad.read(s, 0.1f);
    EXPECT_TRUE(a.switchCamera);
    EXPECT_EQ(a.rise, -1.0f);
    EXPECT_EQ(a.move, glm::vec2(0.0f));
    s.buttons[GLFW_GAMEPAD_BUTTON_X] = GLFW_PRESS;
    EXPECT_FALSE(pad.read(s, 0.1f).firstClip);
    s.buttons[GLFW_GAMEPAD_BUTTON_X] = GLFW_RELEASE;
    EXPECT_TRUE(pad.read(s, 0.1f).firstClip);
    EXPECT_FALSE(pad.read(s, 0.1f).firstClip);
}

TEST(Gamepad, QuitNeedsBackHeldForASecond) {
    Gamepad pad;
    GLFWgamepadstate s = centred();
    s.buttons[GLFW_GAMEPAD_BUTTON_BACK] = GLFW_PRESS;
    for (int frame = 0; frame < 5; ++frame)
        EXPECT_FALSE(pad.read(s, 0.15f).quit);
    s.buttons[GLFW_GAMEPAD_BUTTON_BACK] = GLFW_RELEASE; // let go: the count starts again
    EXPECT_FALSE(pad.read(s, 0.15f).quit);
    s.buttons[GLFW_GAMEPAD_BUTTON_BACK] = GLFW_PRESS;
    int frames = 0;
    while (!pad.read(s, 0.25f).quit && frames < 10)
        ++frames;
    EXPECT_EQ(frames, 3); // the fourth quarter second reaches one second
}

TEST(Gamepad, MappingTextsAreSplitIntoLinesWithoutCommentsOrBlanks) {
    const std::string text =
        "# a comment\r\n\n  030000005e0400008e02000010010000,Pad,a:b0,platform:Linux,  \r\n"
        "\t\nbad line\n# another\nlast,Pad 2,a:b1";
    const std::vector<std::string> expected = {"030000005e0400008e02000010010000,Pad,a:b0,platform:Linux,",
                                               "bad line", "last,Pad 2,a:b1"};
    EXPECT_EQ(mappingLines(text), expected);
    EXPECT_TRUE(mappingLines("").empty());
}
