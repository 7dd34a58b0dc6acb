// Thousands of frames of random play through the real start-up, frame and input callbacks, in a
// small window. Afterwards nothing may have gone wrong that a short test would not see: GL errors,
// a pose that turned into NaN, a body that fell through the ground, a heap that keeps growing, error
// lines on the console. (What a frame allocates is the benchmark's to count.)
#include "app/AppState.h"
#include "app/Game.h"
#include "app/Input.h"
#include "physics/PhysicsWorld.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <limits>
#include <random>
#include <streambuf>
#include <string>
#include <vector>

namespace {

constexpr int Frames = 3000;
// Every frame runs input, cameras, physics and the rules; only every Nth one is drawn, so the
// soak fits its time on a software renderer while the draw path still runs hundreds of times.
constexpr int DrawEvery = 2;
constexpr int WindowWidth = 160, WindowHeight = 96;
constexpr unsigned Seed = 20240611u;
// Resting contact leaves a body a little inside the ground; more than this is falling through.
constexpr float GroundTolerance = 0.1f;
// Over the second half the process may settle a little: the software driver keeps a 64 KiB command
// block once a frame has needed it, up to a few. A leak of 64 bytes a frame makes about 140 KiB.
constexpr long HeapGrowthLimitBytes = 256 * 1024;
constexpr int HeapStretch = 100;

// Kept from the GL debug output: how many errors, and the text of the last.
struct GlErrors {
    int count = 0;
    std::string last;
};

void GLAPIENTRY onGlMessage(GLenum, GLenum type, GLuint, GLenum, GLsizei, const GLchar* message,
                            const void* user) {
    if (type != GL_DEBUG_TYPE_ERROR)
        return;
    auto* errors = static_cast<GlErrors*>(const_cast<void*>(user));
    ++errors->count;
    errors->last = message;
}

// Stands in for std::cout during the run: counts the lines that report a fault and keeps the
// first few, but stores nothing else, so the soak's own bookkeeping does not grow with the run.
class ConsoleWatch : public std::streambuf {
public:
    ConsoleWatch() : previous_(std::cout.rdbuf(this)) {}
    ~ConsoleWatch() override { std::cout.rdbuf(previous_); }

    int faultLines = 0;
    std::vector<std::string> firstFaults;

protected:
    int overflow(int c) override {
        if (c == traits_type::eof())
            return 0;
        if (c != '\n') {
            if (line_.size() < 512)
                line_.push_back(static_cast<char>(c));
            return c;
        }
        if (line_.find("ERROR") != std::string::npos || line_.find("Error") != std::string::npos ||
            line_.find("failed") != std::string::npos) {
            ++faultLines;
            if (firstFaults.size() < 5)
                firstFaults.push_back(line_);
        }
        line_.clear();
        return c;
    }

private:
    std::streambuf* previous_;
    std::string line_;
};

long heapInUse() {
    return static_cast<long>(mallinfo2().uordblks);
}

bool finite(const physx::PxTransform& t) {
    return std::isfinite(t.p.x) && std::isfinite(t.p.y) && std::isfinite(t.p.z) && std::isfinite(t.q.x) &&
           std::isfinite(t.q.y) && std::isfinite(t.q.z) && std::isfinite(t.q.w);
}

// The lowest a body's centre can rest above the ground: a sphere's radius, a box's shortest half
// extent (lying on its largest face).
float restingHeight(const physx::PxRigidActor& actor) {
    physx::PxShape* shape = nullptr;
    if (actor.getShapes(&shape, 1) != 1)
        return 0.0f;
    physx::PxSphereGeometry sphere;
    if (shape->getSphereGeometry(sphere))
        return sphere.radius;
    physx::PxBoxGeometry box;
    if (shape->getBoxGeometry(box))
        return std::fmin(box.halfExtents.x, std::fmin(box.halfExtents.y, box.halfExtents.z));
    return 0.0f;
}

// Random play: keys held for runs of frames, the mouse wandering, now and then an F key.
class RandomPlayer {
public:
    explicit RandomPlayer(GLFWwindow* window) : window_(window), random_(Seed) {
        AppState& state = appState();
        x_ = state.lastX;
        y_ = state.lastY;
        state.keyState = [this](GLFWwindow*, int key) {
            for (int k = 0; k < KeyCount; ++k)
                if (Keys[k] == key)
                    return held_[k] ? GLFW_PRESS : GLFW_RELEASE;
            return GLFW_RELEASE; // Escape among them: the soak never asks to close
        };
    }
    ~RandomPlayer() { appState().keyState = nullptr; }

    void before() {
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        for (bool& held : held_)
            if (unit(random_) < 0.04)
                held = !held;
        std::uniform_real_distribution<double> dx(-40.0, 40.0), dy(-15.0, 15.0);
        x_ += dx(random_);
        y_ += dy(random_);
        mouseCallback(window_, x_, y_);
        if (unit(random_) < 0.01) {
            std::uniform_int_distribution<int> f(GLFW_KEY_F1, GLFW_KEY_F5);
            const int key = f(random_);
            keyCallback(window_, key, 0, GLFW_PRESS, 0);
            keyCallback(window_, key, 0, GLFW_RELEASE, 0);
        }
    }

private:
    static constexpr int KeyCount = 6;
    static constexpr int Keys[KeyCount] = {GLFW_KEY_W, GLFW_KEY_A,     GLFW_KEY_S,
                                           GLFW_KEY_D, GLFW_KEY_SPACE, GLFW_KEY_LEFT_SHIFT};
    GLFWwindow* window_;
    std::mt19937 random_;
    bool held_[KeyCount] = {};
    double x_ = 0.0, y_ = 0.0;
};

} // namespace

TEST(Soak, ThousandsOfRandomFramesLeaveNoTrace) {
    ASSERT_TRUE(glfwInit());
    // openWindow keeps GLFW as it finds it and sets only its own hints, so this one reaches the window.
    glfwWindowHint(GLFW_OPENGL_DEBUG_CONTEXT, GLFW_TRUE);
    Game game;
    GlErrors glErrors;
    ConsoleWatch console;
    const auto watched = [&glErrors](StartStep step, Game& g) {
        if (step == StartStep::Settings) {
            g.settings.width = WindowWidth;
            g.settings.height = WindowHeight;
            // A fixed scale: a change of scale gives the images new storage, which the driver
            // allocates, and a tiny window on a busy machine would otherwise change it at random.
            g.settings.renderscale = 1.0f;
        } else if (step == StartStep::Window) {
            glEnable(GL_DEBUG_OUTPUT);
            glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
            glDebugMessageCallback(onGlMessage, &glErrors);
        }
    };
    ASSERT_EQ(startGame(game, watched), StartResult::Started);
    const int startupGlErrors = glErrors.count;
    const int startupFaultLines = console.faultLines;
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    physx::PxScene& scene = *game.world->scene;
    std::vector<physx::PxActor*> actors(
        scene.getNbActors(physx::PxActorTypeFlag::eRIGID_DYNAMIC | physx::PxActorTypeFlag::eRIGID_STATIC));
    scene.getActors(physx::PxActorTypeFlag::eRIGID_DYNAMIC | physx::PxActorTypeFlag::eRIGID_STATIC,
                    actors.data(), static_cast<physx::PxU32>(actors.size()));

    RandomPlayer player(game.window);
    int frames = 0, glGetErrors = 0, nanPoses = 0, nanJoints = 0, belowGround = 0;
    std::string firstBadPose;
    // The driver also holds command blocks for a frame or two at a time, so one sample of the heap
    // can catch one: the least heap over a stretch of frames is compared.
    long heapAtHalf = std::numeric_limits<long>::max(), heapAtEnd = heapAtHalf;
    for (; frames < Frames && !glfwWindowShouldClose(game.window); ++frames) {
        player.before();
        if (frames >= Frames / 2 && frames < Frames / 2 + HeapStretch)
            heapAtHalf = std::min(heapAtHalf, heapInUse());
        if (frames >= Frames - HeapStretch)
            heapAtEnd = std::min(heapAtEnd, heapInUse());
        runFrame(game, FrameOptions{frames % DrawEvery == 0, nullptr});
        if (glGetError() != GL_NO_ERROR)
            ++glGetErrors;

        for (physx::PxActor* a : actors) {
            const auto* actor = static_cast<const physx::PxRigidActor*>(a);
            const physx::PxTransform pose = actor->getGlobalPose();
            const char* name = actor->getName() ? actor->getName() : "(unnamed)";
            if (!finite(pose)) {
                if (nanPoses++ == 0)
                    firstBadPose = std::string(name) + " not finite at frame " + std::to_string(frames);
                continue;
            }
            if (a->getType() == physx::PxActorType::eRIGID_DYNAMIC &&
                pose.p.y < restingHeight(*actor) - GroundTolerance) {
                if (belowGround++ == 0)
                    firstBadPose = std::string(name) + " below the ground at frame " +
                                   std::to_string(frames) + ", y = " + std::to_string(pose.p.y);
            }
        }
        for (const glm::mat4& m : appState().playerObject.animatedModel.jointTransforms)
            for (int c = 0; c < 4; ++c)
                for (int r = 0; r < 4; ++r)
                    nanJoints += std::isfinite(m[c][r]) ? 0 : 1;
    }
    const long heapGrowth = heapAtEnd - heapAtHalf;
    const bool ended = frames < Frames;

    glfwTerminate();

    // std::cout is still watched here; the summary goes around it.
    std::printf("soak: %d frames%s; heap growth over the second half %ld bytes\n", frames,
                ended ? " (the game ended)" : "", heapGrowth);
    // The game may end by itself if the random pushes bring the star to the goal or an enemy;
    // what ran until then still counts, as long as it was a real soak.
    EXPECT_GT(frames, Frames / 2) << "the game ended too early for a soak";
    EXPECT_EQ(glErrors.count, 0) << glErrors.last << (startupGlErrors ? " (from the start-up on)" : "");
    EXPECT_EQ(glGetErrors, 0);
    EXPECT_EQ(nanPoses, 0) << firstBadPose;
    EXPECT_EQ(belowGround, 0) << firstBadPose;
    EXPECT_EQ(nanJoints, 0);
    EXPECT_EQ(startupFaultLines, 0) << (console.firstFaults.empty() ? "" : console.firstFaults.front());
    EXPECT_EQ(console.faultLines - startupFaultLines, 0)
        << (console.firstFaults.empty() ? "" : console.firstFaults.back());
    if (!ended) {
        EXPECT_LE(heapGrowth, HeapGrowthLimitBytes);
    }
}
