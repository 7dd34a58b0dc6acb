#pragma once

#include "app/FramePacer.h"
#include "app/GlowArea.h"
#include "app/RenderScale.h"
#include "app/Settings.h"
#include "physics/GameObject.h"
#include "render/Shader.h"

#include <GLFW/glfw3.h>
#include <glm/glm.hpp>

#include <functional>
#include <string>
#include <vector>

class PhysicsWorld;

// The fixed physics step: one per frame, whatever the frame time.
constexpr float PhysicsStep = 1.0f / 60.0f;

// How the star's light fades with distance (constant, linear, quadratic) in the two lit programs.
inline const glm::vec3 TextureAttenuation(0.6f, 0.2f, 0.05f);
inline const glm::vec3 AnimAttenuation(0.8f, 0.2f, 0.05f);

// The seven programs, built once at start-up in this order. Models keep pointers to them, so a
// Game must stay where it was created.
struct Programs {
    Shader emapShader, reflectShader, bloomShader1, bloomShader2, bloomShader3, textureShader, animShader;
};

// What main owns for the run: the window, the programs and the level objects that are not
// process-wide (the player and the star live in AppState, because the callbacks reach them).
struct Game {
    Settings settings;
    std::string settingsPath = "../assets/settings.ini"; // where settings came from; gamepad mappings sit beside it
    GLFWwindow* window = nullptr;
    Programs programs;
    std::vector<glm::vec3> levelPositions;
    PhysicsWorld* world = nullptr; // never released
    Model starSphere;
    GameObject enemy1, enemy2, ground, goal, bridge, wall1, wall2, wall3;
    glm::vec3 creatureLightPosition{0.0f}; // the creature's program keeps the light of start-up

    // Speed: the frame cap, the render scale when the game picks it, and where glow can be.
    FramePacer pacer;
    RenderScaleController renderScale;
    GlowSources glow;
    glow::Box enemyBounds; // the stone model's own box, to leave it undrawn while off screen
    // The stone with a quarter of the triangles, drawn in the enemies' place below
    // EnemyLowDetailScale; empty when its file is absent or refused, or the enemy model is.
    Model enemyLowDetail;
};

// At or below this render scale the enemies are drawn from their low-detail mesh: their triangles
// are then most of a frame's vertex work, and the full mesh's detail is finer than a pixel.
constexpr float EnemyLowDetailScale = 0.75f;

// Seconds spent in each part of the last frame, filled in when asked for (the benchmark).
struct FrameTimings {
    double input = 0, physics = 0, animation = 0, draw = 0, sky = 0, bloom = 0, swap = 0;
};

struct FrameOptions {
    bool render = true;             // false: input, cameras, physics and rules only (the bots)
    FrameTimings* timings = nullptr; // when set, each stage is timed, with glFinish after GL stages
};

// The steps of start-up, in the order startGame runs them.
enum class StartStep { Settings, Window, Programs, Level, Cameras, Bloom };
// How start-up ended: a game to run, no window (GLFW's line was printed), or a player model the
// loader refused (its line was printed). Unless started, GLFW is no longer running.
enum class StartResult { Started, NoWindow, PlayerRefused };
// Told after each step that succeeded, with the game as it stands; it may change what the later
// steps read (tests and the benchmark size the window, watch the GL, time the steps).
using StartObserver = std::function<void(StartStep, Game&)>;
// The whole start-up: settings, window, programs, level, cameras, bloom.
StartResult startGame(Game& game, const StartObserver& afterStep = {});

// The steps themselves, in the order startGame runs them.
bool openWindow(Game& game);          // GLFW, hints, window, GLEW, fixed GL state, callbacks
void buildPrograms(Game& game);       // the seven programs, their one-time uniforms, the sky box
bool buildLevel(Game& game);          // physics world and the ten objects; false: unusable player model
void createCameras(const Game& game);
void setUpBloom(Game& game);
// A new render scale for the bloom targets and the programs that depend on it.
void useRenderScale(Game& game, float scale);

void runFrame(Game& game, const FrameOptions& options = {});
// Frames until the window should close, each followed by the wait the frame cap asks for.
void runLoop(Game& game);
// The wait after one frame of runLoop.
void paceFrame(Game& game);
