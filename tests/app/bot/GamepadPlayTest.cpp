#include "app/AppState.h"
#include "app/Game.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct PadRun {
    float distance = 0.0f; // horizontal distance the player moved
    int frames = 0;
};

// Plays `frames` frames of the real game without drawing, holding W when asked and the pad state
// `pad` gives for each frame, in a child process: the physics world exists once per process.
PadRun playWithPad(bool holdW, int frames, GLFWgamepadstate (*pad)(int frame)) {
    // Held for the whole test: an X server left without clients resets, and a game that starts
    // during the reset finds no display.
    static Display* const keepServerUp = XOpenDisplay(nullptr);
    (void)keepServerUp;
    int channel[2];
    if (pipe(channel) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        Game game;
        PadRun run;
        if (startGame(game) == StartResult::Started) {
            AppState& state = appState();
            state.keyState = [holdW](GLFWwindow*, int key) {
                return holdW && key == GLFW_KEY_W ? GLFW_PRESS : GLFW_RELEASE;
            };
            state.padState = [pad, &run](GLFWgamepadstate& s) {
                s = pad(run.frames);
                return true;
            };
            runFrame(game, FrameOptions{false, nullptr}); // places the objects at their actors
            ++run.frames;
            const glm::vec3 start = state.playerObject.position;
            while (run.frames < frames && !glfwWindowShouldClose(game.window)) {
                runFrame(game, FrameOptions{false, nullptr});
                ++run.frames;
            }
            const glm::vec3 end = state.playerObject.position;
            run.distance = glm::length(glm::vec2(end.x - start.x, end.z - start.z));
        }
        const bool sent = write(channel[1], &run, sizeof run) == sizeof run;
        _exit(sent ? 0 : 1);
    }
    close(channel[1]);
    PadRun run;
    EXPECT_EQ(read(channel[0], &run, sizeof run), static_cast<ssize_t>(sizeof run));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return run;
}

GLFWgamepadstate idle(int) {
    GLFWgamepadstate s{};
    s.axes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER] = s.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] = -1.0f;
    s.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = 0.05f; // a centred stick is never quite centred
    return s;
}

GLFWgamepadstate leftStickForward(int) {
    GLFWgamepadstate s = idle(0);
    s.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = -1.0f;
    return s;
}

} // namespace

TEST(GamepadPlay, TheLeftStickRollsTheCreatureAsFarAsW) {
    constexpr int Frames = 120;
    const PadRun keys = playWithPad(true, Frames, idle);
    const PadRun stick = playWithPad(false, Frames, leftStickForward);
    const PadRun still = playWithPad(false, Frames, idle);
    ASSERT_EQ(keys.frames, Frames);
    std::cout << "rolled " << keys.distance << " with W, " << stick.distance << " with the stick, "
              << still.distance << " with neither" << std::endl;
    EXPECT_GT(keys.distance, 5.0f);
    EXPECT_NEAR(stick.distance, keys.distance, 0.03f * keys.distance);
    EXPECT_LT(still.distance, 0.05f);
}
