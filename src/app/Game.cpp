#include "app/Game.h"

#include "app/AppState.h"
#include "app/Input.h"
#include "physics/GameRules.h"
#include "physics/Level.h"
#include "physics/PhysicsWorld.h"
#include "physics/px/PxPhysicsAPI.h"
#include "render/Bloom.h"
#include "render/EnvironmentMap.h"
#include "render/Shapes.h"

#include <GL/glew.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>

namespace {

const glm::vec3 StarLightColour(0.98f, 0.95f, 0.8f);
const glm::vec4 BridgeSurface(0.02f, 0.01f, 0.7f, 2.0f);
const char* const EnemyPath = "../assets/enemy/Stone_enemy2.fbx";
const char* const EnemyLowDetailPath = "../assets/enemy/Stone_enemy2_low.fbx";

glm::vec4 projection(const Settings& s) {
    return {60.0f, static_cast<float>(s.width) / static_cast<float>(s.height), 0.1f, 1000.0f};
}

// Enemies and the player are built in place: bound to their actor first, the loaded model assigned.
void placeInPlace(GameObject& object, const glm::vec3& position) {
    object.initialPosition = position;
    object.model.position = position;
    object.model.updateTransform();
}

// `stone`: the loaded enemy model; the copy shares its GL names.
void buildEnemy(GameObject& enemy, const char* name, const Game& game, const Model& stone) {
    const LevelPiece& piece = levelPiece(name);
    enemy = GameObject(game.world->actorOf(name));
    enemy.model = stone;
    placeInPlace(enemy, game.levelPositions.at(piece.entry));
    enemy.setRotation(piece.drawnRotation);
    enemy.model.scale = piece.drawnSize;
    enemy.model.updateTransform();
}

// A generated piece's model, as large as the level table draws it.
Model pieceModel(const LevelPiece& piece, Shader* shader) {
    const glm::vec3& size = piece.drawnSize;
    switch (piece.look) {
    case PieceLook::Star:
        return makeSphere(shader, size.x, piece.colour);
    case PieceLook::Cylinder:
        return makeCylinder(shader, size.x, size.y, piece.colour);
    default:
        return makeBox(shader, size.x, size.y, size.z, piece.colour);
    }
}

// Draws `standIn` with the placement of `placed`, which is already where its actor is.
void drawInPlaceOf(Model& standIn, const Model& placed) {
    standIn.modelMatrix = placed.modelMatrix;
    standIn.normalMatrix = placed.normalMatrix;
    standIn.draw();
}

class StageClock {
public:
    explicit StageClock(FrameTimings* timings) : timings_(timings) { start_ = now(); }
    // Adds the time since the last mark to `slot`; with `gpu`, waits for GL to finish first.
    void mark(double FrameTimings::*slot, bool gpu) {
        if (!timings_)
            return;
        if (gpu)
            glFinish();
        const double t = now();
        timings_->*slot += t - start_;
        start_ = t;
    }

private:
    static double now() {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    }
    FrameTimings* timings_;
    double start_ = 0;
};

} // namespace

namespace {

// X11 keeps window sizes in 16 bits; larger ones are refused before GLFW sees them.
constexpr int MaxWindowSide = 32767;

// Prints the window failure line and a second one naming the settings that caused it.
bool refuseWindowSize(const Settings& s, int maxSide) {
    std::cout << "Failed to create window with GLFW" << std::endl;
    std::cout << "Window size from the settings (width = " << s.width << ", height = " << s.height
              << ") is not usable: each must be from 1 to " << maxSide << std::endl;
    return false;
}

} // namespace

bool openWindow(Game& game) {
    const Settings& s = game.settings;
    // GLFW asserts on a negative size and aborts the game; a huge one is no window either.
    if (s.width <= 0 || s.height <= 0 || s.width > MaxWindowSide || s.height > MaxWindowSide)
        return refuseWindowSize(s, MaxWindowSide);
    if (!glfwInit()) {
        std::cout << "Failed to init GLFW" << std::endl;
        return false;
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 4);
    glfwWindowHint(GLFW_RESIZABLE, s.resizeable ? GLFW_TRUE : GLFW_FALSE);
    glfwWindowHint(GLFW_REFRESH_RATE, s.refreshrate);
    // Always an ordinary window: the "fullscreen" setting is read but not used.
    game.window = glfwCreateWindow(s.width, s.height, s.title.c_str(), nullptr, nullptr);
    if (!game.window) {
        std::cout << "Failed to create window with GLFW" << std::endl;
        glfwTerminate();
        return false;
    }
    glfwMakeContextCurrent(game.window);
    if (glewInit() != GLEW_OK)
        std::cout << "Error glew init failed" << std::endl;
    // The scene and the glow are drawn into framebuffers of the window's size: one the GL cannot
    // back would leave a black window.
    GLint viewport[2] = {0, 0}, renderbuffer = 0, texture = 0;
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
    const int glMaxSide = std::min({viewport[0], viewport[1], renderbuffer, texture});
    if (glMaxSide > 0 && (s.width > glMaxSide || s.height > glMaxSide)) {
        glfwDestroyWindow(game.window);
        game.window = nullptr;
        glfwTerminate();
        return refuseWindowSize(s, glMaxSide);
    }

    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);

    AppState& state = appState();
    glfwSetFramebufferSizeCallback(game.window, framebufferSizeCallback);
    state.lastX = static_cast<float>(s.width) * 0.5f;
    state.lastY = static_cast<float>(s.height) * 0.5f;
    glfwSetCursorPosCallback(game.window, mouseCallback);
    glfwSetKeyCallback(game.window, keyCallback);
    glfwSetInputMode(game.window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);
    state.mouseSpeed = s.mousespeed;
    state.invertMouse = s.invertmouse;
    loadGamepadMappings(game.settingsPath);
    watchGamepads();
    return true;
}

void buildPrograms(Game& game) {
    Programs& p = game.programs;
    const float brightness = game.settings.brightness;

    p.emapShader = Shader("res/shader/vsemap.shader", "res/shader/fsemap.shader");
    p.emapShader.use();
    p.emapShader.setInt("emap", 0);
    initEnvironmentMap(appState().environment);

    p.reflectShader = Shader("res/shader/vsReflect.shader", "res/shader/fsReflect.shader");
    p.reflectShader.setInt("emap", 0);
    p.bloomShader1 = Shader("res/shader/1vsbloom.shader", "res/shader/1fsbloom.shader");
    p.bloomShader2 = Shader("res/shader/2vsbloom.shader", "res/shader/2fsbloom.shader");
    p.bloomShader3 = Shader("res/shader/3vsbloom.shader", "res/shader/3fsbloom.shader");

    p.textureShader = Shader("res/shader/texture.vert", "res/shader/texture.frag");
    p.textureShader.setVec3("pointL.attenuation", TextureAttenuation);
    std::cout << "Brightness: " << brightness << std::endl;
    p.textureShader.setFloat("pointL.brightness", brightness);

    p.animShader = Shader("res/shader/anim.vert", "res/shader/anim.frag");
    std::cout << "shader ID animShader: " << p.animShader.ID << std::endl;
    p.animShader.setVec3("pointL.attenuation", AnimAttenuation);
    p.animShader.setFloat("pointL.brightness", brightness);
}

bool buildLevel(Game& game) {
    // The shapes all wear the default texture: one decode and one copy in the GL serve them all.
    TextureSharing sharing;
    AppState& state = appState();
    Programs& p = game.programs;
    Shader* lit = &p.textureShader;

    game.levelPositions = levelLayout();
    const std::vector<glm::vec3>& at = game.levelPositions;
    PhysicsWorld* world = PhysicsWorld::getInstance(game.levelPositions);
    game.world = world;

    // 1. The star: the glowing sphere that carries the point light and the bloom pass.
    const LevelPiece& star = levelPiece("star");
    game.starSphere = pieceModel(star, lit);
    game.starSphere.firstBloomShader = &p.bloomShader1;
    game.starSphere.blurShader = &p.bloomShader2;
    game.starSphere.combineShader = &p.bloomShader3;
    state.starLight = LightObject(game.starSphere, world->star, at[star.entry], StarLightColour, 1.0f);
    state.starLight.setLightUniforms(p.textureShader);
    state.starLight.setLightUniforms(p.animShader);
    game.creatureLightPosition = state.starLight.position;
    world->objects.push_back(&state.starLight);

    // 2, 3. The stone enemies share one import of their file; the second says again what loading
    // it said, as a load of its own would.
    Model stone(EnemyPath, lit);
    buildEnemy(game.enemy1, "enemy1", game, stone);
    world->objects.push_back(&game.enemy1);
    stone.repeatLoadLines();
    buildEnemy(game.enemy2, "enemy2", game, stone);
    world->objects.push_back(&game.enemy2);
    // Optional: without it the enemies keep their full mesh at every scale.
    std::error_code absent;
    if (!stone.meshes.empty() && std::filesystem::is_regular_file(EnemyLowDetailPath, absent))
        game.enemyLowDetail = Model(EnemyLowDetailPath, lit);

    // 4. The player's creature. Without a usable model there is nothing to play: stop here.
    const LevelPiece& creature = levelPiece("player");
    GameObject player(world->player);
    player.animatedModel = AnimatedModel(&p.animShader);
    if (!player.animatedModel.usable())
        return false;
    placeInPlace(player, at[creature.entry]);
    player.body = world->player;
    player.animated = true;
    state.playerObject = player;
    state.playerObject.setRotation(creature.drawnRotation);
    state.playerObject.body->setMaxLinearVelocity(10.0f);
    world->objects.push_back(&state.playerObject);

    // 5-10. The generated pieces, in the table's order.
    const std::pair<GameObject*, const char*> generated[] = {
        {&game.ground, "ground"}, {&game.goal, "goal"},   {&game.bridge, "bridge"},
        {&game.wall1, "wall1"},   {&game.wall2, "wall2"}, {&game.wall3, "wall3"}};
    for (const auto& [object, name] : generated) {
        const LevelPiece& piece = levelPiece(name);
        *object = GameObject(pieceModel(piece, lit), world->actorOf(name), at[piece.entry]);
        if (piece.drawnRotation != glm::vec3(0.0f))
            object->setRotation(piece.drawnRotation);
        world->objects.push_back(object);
    }
    game.bridge.model.materialCoefficients = BridgeSurface;

    std::cout << "window_width: " << game.settings.width << ", window_height: " << game.settings.height
              << std::endl;
    return true;
}

void createCameras(const Game& game) {
    AppState& state = appState();
    const glm::vec4 p = projection(game.settings);
    state.freeCam = Camera(glm::vec3(0.0f, 2.0f, 15.0f), glm::vec3(0.0f), 1.0f, 30.0f, p);
    state.followCam = Camera(game.levelPositions.at(0), glm::vec3(0.0f, 10.0f, 20.0f), 1.3f, p);
}

namespace {

// Below full size the goal's thin glowing frame is kept at least this many pixels wide.
constexpr float ScaledFramePixels = 1.5f;

} // namespace

void useRenderScale(Game& game, float scale) {
    // The goal's program starts with the full-size frame: it is told only of a change of scale.
    if (!setBloomScale(appState().bloom, scale))
        return;
    game.programs.reflectShader.use();
    game.programs.reflectShader.setFloat("minFramePixels", scale < 1.0f ? ScaledFramePixels : 0.0f);
}

void setUpBloom(Game& game) {
    AppState& state = appState();
    int width = 0, height = 0;
    glfwGetFramebufferSize(game.window, &width, &height);
    // A fixed render scale from the settings; "auto" starts at full size and adapts.
    const bool fixedScale = game.settings.renderscale != RenderScaleAuto;
    useRenderScale(game, fixedScale ? game.settings.renderscale : game.renderScale.scale());
    initBloom(state.bloom, state.starLight.model, width, height);
    game.pacer.setCap(game.settings.framecap);
    game.glow = collectGlowSources(game);
    game.enemyBounds = modelBounds(game.enemy1.model);
    game.programs.bloomShader2.setInt("image", 0);
    game.programs.bloomShader3.setInt("scene", 0);
    game.programs.bloomShader3.setInt("bloomBlur", 1);
}

StartResult startGame(Game& game, const StartObserver& afterStep) {
    const auto done = [&](StartStep step) {
        if (afterStep)
            afterStep(step, game);
    };
    game.settings = readSettings();
    done(StartStep::Settings);
    if (!openWindow(game))
        return StartResult::NoWindow;
    done(StartStep::Window);
    buildPrograms(game);
    done(StartStep::Programs);
    if (!buildLevel(game)) {
        // Nothing to play without the creature, and nothing has been drawn yet.
        glfwTerminate();
        return StartResult::PlayerRefused;
    }
    done(StartStep::Level);
    createCameras(game);
    done(StartStep::Cameras);
    setUpBloom(game);
    done(StartStep::Bloom);
    return StartResult::Started;
}

void runFrame(Game& game, const FrameOptions& options) {
    AppState& state = appState();
    Programs& p = game.programs;
    StageClock clock(options.timings);
    const double frameStart = glfwGetTime();

    const float currentFrame = static_cast<float>(glfwGetTime());
    state.deltaTime = currentFrame - state.lastFrame;
    state.lastFrame = currentFrame;
    state.frameTimeSum += state.deltaTime;

    processInput(game.window);

    // The follow camera trails the player by one frame: it aims at the last drawn position.
    if (!state.freeCameraActive)
        state.followCam.target = state.playerObject.position;
    Camera& camera = activeCamera(state);
    camera.update();
    const glm::mat4 viewProj = camera.projectionMatrix * camera.viewMatrix;
    p.textureShader.setVec3("camera_world", camera.position);
    p.textureShader.setMat4("viewProjMatrix", viewProj);
    p.animShader.setVec3("camera_world", camera.position);
    p.animShader.setMat4("viewProjMatrix", viewProj);
    p.bloomShader1.setMat4("viewProjMatrix", viewProj);
    p.emapShader.setMat4("viewMatrix", skyboxViewMatrix(camera.viewMatrix));
    p.emapShader.setMat4("projectionMatrix", camera.projectionMatrix);
    p.reflectShader.setMat4("viewMatrix", camera.viewMatrix);
    p.reflectShader.setMat4("projectionMatrix", camera.projectionMatrix);
    p.reflectShader.setVec3("cameraPos", camera.position);

    // The light trails the star by one frame: its position is the one placed last frame.
    state.starLight.setLightUniforms(p.textureShader);
    const glm::vec3 litFrom = state.starLight.position;
    clock.mark(&FrameTimings::input, false);

    if (state.frameTimeSum > 0.0f) {
        game.world->scene->simulate(PhysicsStep, nullptr, nullptr, 0, true);
        game.world->scene->fetchResults(true);
    }
    clock.mark(&FrameTimings::physics, false);

    if (options.render) {
        glBindFramebuffer(GL_FRAMEBUFFER, state.bloom.hdrFBO);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        useSceneViewport(state.bloom);
    }

    // Where the scene can glow this frame; nothing but the sky is drawn once the game is over,
    // and the sky never glows.
    GlowRects glowing;
    if (gamerules::gameIsOver(state.starLight.actor)) {
        std::cout << "close window and try again" << std::endl;
        glfwSetWindowShouldClose(game.window, GLFW_TRUE);
    } else {
        state.playerObject.animatedModel.advance(state.deltaTime);
        clock.mark(&FrameTimings::animation, false);
        GameObject* drawnFirst[] = {&state.playerObject, &game.enemy1, &game.enemy2, &game.ground};
        GameObject* drawnAfterGoal[] = {&game.bridge, &game.wall1, &game.wall2, &game.wall3};
        if (options.render) {
            // The stone enemies carry most of the frame's triangles: off screen they are only placed,
            // and below full size they are drawn from the low-detail mesh when there is one.
            const bool lowDetail = state.bloom.scale <= EnemyLowDetailScale && !game.enemyLowDetail.meshes.empty();
            for (GameObject* object : drawnFirst) {
                if (object == &game.enemy1 || object == &game.enemy2) {
                    object->place();
                    if (!inView(game.enemyBounds, object->model.modelMatrix, viewProj))
                        continue;
                    if (lowDetail) {
                        drawInPlaceOf(game.enemyLowDetail, object->model);
                        continue;
                    }
                }
                object->draw();
            }
            game.goal.draw(p.reflectShader.ID);
            for (GameObject* object : drawnAfterGoal)
                object->draw();
        } else {
            // Without drawing, objects still follow their actors: the camera and the pushes need
            // the player's position.
            for (GameObject* object : drawnFirst)
                object->place();
            game.goal.place(true);
            for (GameObject* object : drawnAfterGoal)
                object->place();
        }
        // The star last: its placement also stores the light position for the next frame.
        state.starLight.place();
        if (options.render) {
            state.starLight.model.draw();
            glowing = glowArea(game.glow, viewProj, litFrom, state.bloom.sceneWidth, state.bloom.sceneHeight);
        }
        clock.mark(&FrameTimings::draw, true);
    }

    const bool adaptScale = game.settings.renderscale == RenderScaleAuto;
    if (options.render) {
        drawSkybox(state.environment, p.emapShader);
        clock.mark(&FrameTimings::sky, true);
        useWindowViewport(state.bloom);
        state.bloom.glowArea = glowing;
        state.starLight.model.drawBloom();
        clock.mark(&FrameTimings::bloom, true);
        // The cost that decides the render scale is the drawing's: finish it before the swap,
        // which may wait for the display.
        if (adaptScale) {
            glFinish();
            if (game.renderScale.addFrame(glfwGetTime() - frameStart, glfwGetTime()))
                useRenderScale(game, game.renderScale.scale());
        }
        glfwSwapBuffers(game.window);
    }
    glfwPollEvents();
    clock.mark(&FrameTimings::swap, false);
}

void paceFrame(Game& game) { sleepSeconds(game.pacer.waitAfterFrame(glfwGetTime())); }

void runLoop(Game& game) {
    while (!glfwWindowShouldClose(game.window)) {
        runFrame(game);
        paceFrame(game);
    }
}
