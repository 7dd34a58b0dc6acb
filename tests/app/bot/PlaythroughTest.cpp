#include "PushBot.h"

#include "app/AppState.h"
#include "app/Game.h"
#include "physics/PhysicsWorld.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Star waypoints: round the right end of the middle wall, over the bridge, back to the middle
// through the gap between the outer walls, then straight between the enemies.
const std::vector<glm::vec2> ToTheWall = {{0, -20}, {30, -28}, {32, -40}, {30, -55}, {0, -66}, {0, -85}};

constexpr int FrameLimit = 9000; // 150 s of game time at one physics step per frame

// The physics world is built once per process, so each bot needs a process of its own; ctest runs
// them one by one with a filter.
const char* const OneGamePerProcess = "one game per process: run this bot on its own with --gtest_filter";
bool firstGameInProcess() {
    static int games = 0;
    return games++ == 0;
}

struct Outcome {
    std::vector<std::string> lines;
    int frames = 0;
    bool closed = false;
};

// Runs the real start-up and then frames without drawing, holding the keys the bot chooses.
Outcome play(std::vector<glm::vec2> waypoints) {
    Outcome outcome;
    Game game;
    if (startGame(game) != StartResult::Started) {
        ADD_FAILURE() << "start-up failed";
        return outcome;
    }

    AppState& state = appState();
    PushBot bot(std::move(waypoints));
    BotKeys keys;
    state.keyState = [&keys](GLFWwindow*, int key) {
        const bool down = (key == GLFW_KEY_W && keys.w) || (key == GLFW_KEY_A && keys.a) ||
                          (key == GLFW_KEY_S && keys.s) || (key == GLFW_KEY_D && keys.d);
        return down ? GLFW_PRESS : GLFW_RELEASE;
    };

    CoutCapture out;
    while (!glfwWindowShouldClose(game.window) && outcome.frames < FrameLimit) {
        // What the player sees: the creature, the star and the way the camera looks.
        const physx::PxVec3 pv = game.world->player->getLinearVelocity();
        const physx::PxVec3 sv = game.world->star->getLinearVelocity();
        const glm::vec3 player = state.playerObject.position, star = state.starLight.position;
        const glm::vec2 forward = glm::normalize(
            glm::vec2(player.x - state.followCam.position.x, player.z - state.followCam.position.z));
        keys = bot.decide({{player.x, player.z}, {pv.x, pv.z}, {star.x, star.z}, {sv.x, sv.z}, forward});
        runFrame(game, FrameOptions{false, nullptr});
        ++outcome.frames;
    }
    outcome.closed = glfwWindowShouldClose(game.window);
    outcome.lines = out.lines();
    state.keyState = nullptr;
    glfwTerminate();
    return outcome;
}

} // namespace

TEST(Playthrough, WinningBotPushesTheStarIntoTheGoal) {
    if (!firstGameInProcess())
        GTEST_SKIP() << OneGamePerProcess;
    std::vector<glm::vec2> path = ToTheWall;
    path.insert(path.end(), {{0, -100}, {0, -130}, {0, -160}});
    const Outcome outcome = play(path);
    const std::vector<std::string> expected = {"oh wow seems like u r a good boi and saved all glorbits",
                                               "close window and try again"};
    EXPECT_EQ(outcome.lines, expected) << "after " << outcome.frames << " frames";
    EXPECT_TRUE(outcome.closed);
    EXPECT_LT(outcome.frames, FrameLimit);
    std::cout << "won after " << outcome.frames << " frames" << std::endl;
}

TEST(Playthrough, LosingBotFeedsTheStarToAnEnemy) {
    if (!firstGameInProcess())
        GTEST_SKIP() << OneGamePerProcess;
    std::vector<glm::vec2> path = ToTheWall;
    path.insert(path.end(), {{8, -100}, {25, -125}});
    const Outcome outcome = play(path);
    const std::vector<std::string> expected = {"ups u got eaten", "close window and try again"};
    EXPECT_EQ(outcome.lines, expected) << "after " << outcome.frames << " frames";
    EXPECT_TRUE(outcome.closed);
    EXPECT_LT(outcome.frames, FrameLimit);
    std::cout << "lost after " << outcome.frames << " frames" << std::endl;
}
