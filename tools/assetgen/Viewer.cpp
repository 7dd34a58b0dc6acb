#include "Viewer.h"

#include "Image.h"
#include "QuietCout.h"

#include "model/AnimatedModel.h"
#include "model/Model.h"
#include "physics/Level.h"
#include "render/EnvironmentMap.h"
#include "render/Shader.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <glm/gtc/matrix_transform.hpp>

#include <cmath>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>

namespace assetgen {

namespace {

constexpr int PanelSize = 480;
constexpr int Supersample = 2; // software rendering has no multisampling worth the name
constexpr int Columns = 3, Rows = 2;

// The game draws into a float target and puts it on the window tone-mapped (exposure 1) and
// gamma-encoded (2.2); the preview does the same so it shows what a player sees.
float displayValue(float hdr) {
    return std::pow(1.0f - std::exp(-std::max(hdr, 0.0f)), 1.0f / 2.2f);
}

struct Target {
    GLuint fbo = 0, colour = 0, depth = 0;
    int size = 0;
};

Target makeTarget(int size) {
    Target t;
    t.size = size;
    glGenFramebuffers(1, &t.fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, t.fbo);
    glGenTextures(1, &t.colour);
    glBindTexture(GL_TEXTURE_2D, t.colour);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, size, size, 0, GL_RGBA, GL_FLOAT, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, t.colour, 0);
    glGenRenderbuffers(1, &t.depth);
    glBindRenderbuffer(GL_RENDERBUFFER, t.depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, size, size);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, t.depth);
    return t;
}

struct Camera {
    glm::vec3 eye, target;
    float fovDegrees = 35.0f;
};

struct Scene {
    Shader textureShader, animShader, emapShader;
    EnvironmentMap environment;
    Model stone;
    AnimatedModel zub;
};

void setCamera(Scene& scene, const Camera& camera, const glm::vec3& light) {
    const glm::mat4 view = glm::lookAt(camera.eye, camera.target, glm::vec3(0.0f, 1.0f, 0.0f));
    const glm::mat4 projection = glm::perspective(glm::radians(camera.fovDegrees), 1.0f, 0.1f, 1000.0f);
    for (Shader* shader : {&scene.textureShader, &scene.animShader}) {
        shader->setMat4("viewProjMatrix", projection * view);
        shader->setVec3("camera_world", camera.eye);
        shader->setVec3("pointL.position", light);
    }
    scene.emapShader.setMat4("viewMatrix", skyboxViewMatrix(view));
    scene.emapShader.setMat4("projectionMatrix", projection);
}

// Renders one panel and pastes it, tone-mapped and downsampled, into the picture.
void renderPanel(Scene& scene, const Target& target, Image& picture, int column, int row,
                 const Camera& camera, const glm::vec3& light, const std::function<void()>& drawModels) {
    glBindFramebuffer(GL_FRAMEBUFFER, target.fbo);
    glViewport(0, 0, target.size, target.size);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    setCamera(scene, camera, light);
    drawModels();
    drawSkybox(scene.environment, scene.emapShader);

    std::vector<float> pixels(static_cast<size_t>(target.size) * target.size * 4);
    glReadPixels(0, 0, target.size, target.size, GL_RGBA, GL_FLOAT, pixels.data());
    for (int y = 0; y < PanelSize; ++y)
        for (int x = 0; x < PanelSize; ++x) {
            glm::vec3 sum(0.0f);
            for (int sy = 0; sy < Supersample; ++sy)
                for (int sx = 0; sx < Supersample; ++sx) {
                    // GL rows run bottom-up.
                    const int gx = x * Supersample + sx, gy = target.size - 1 - (y * Supersample + sy);
                    const float* p = &pixels[(static_cast<size_t>(gy) * target.size + gx) * 4];
                    sum += glm::vec3(displayValue(p[0]), displayValue(p[1]), displayValue(p[2]));
                }
            picture.at(column * PanelSize + x, row * PanelSize + y) =
                sum / static_cast<float>(Supersample * Supersample);
        }
}

void drawZub(Scene& scene, const glm::vec3& position, std::size_t clip, float seconds) {
    scene.zub.position = position;
    // Turned and scaled as the start-up places them.
    scene.zub.rotation = levelPiece("player").drawnRotation;
    scene.zub.updateTransform();
    if (clip < scene.zub.animations.size()) {
        scene.zub.currentAnimation = scene.zub.animations[clip];
        scene.zub.animationTime = seconds;
    }
    scene.zub.draw();
}

void drawStone(Scene& scene, const glm::vec3& position) {
    scene.stone.position = position;
    scene.stone.rotation = levelPiece("enemy1").drawnRotation;
    scene.stone.scale = levelPiece("enemy1").drawnSize;
    scene.stone.updateTransform();
    // A loaded model's colour starts at 0 in the game; the preview shows the texture at full colour.
    scene.stone.objCol = glm::vec4(1.0f);
    scene.stone.draw();
}

} // namespace

bool renderPreview(const std::string& outputPng, const std::string& assetsFolder, std::string& error) {
    if (!glfwInit()) {
        error = "GLFW cannot start (no display?)";
        return false;
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 4);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(64, 64, "assetgen preview", nullptr, nullptr);
    if (!window) {
        glfwTerminate();
        error = "no OpenGL 4.4 window";
        return false;
    }
    glfwMakeContextCurrent(window);
    if (glewInit() != GLEW_OK) {
        glfwTerminate();
        error = "GLEW cannot load the GL entry points";
        return false;
    }

    Image picture(Columns * PanelSize, Rows * PanelSize);
    bool ok = true;
    {
        QuietCout quiet;
        Scene scene;
        scene.textureShader = Shader("res/shader/texture.vert", "res/shader/texture.frag");
        scene.animShader = Shader("res/shader/anim.vert", "res/shader/anim.frag");
        scene.emapShader = Shader("res/shader/vsemap.shader", "res/shader/fsemap.shader");
        scene.emapShader.setInt("emap", 0);
        initEnvironmentMap(scene.environment, assetsFolder + "/emap");
        for (Shader* shader : {&scene.textureShader, &scene.animShader}) {
            shader->setVec3("pointL.color", glm::vec3(0.98f, 0.95f, 0.8f));
            shader->setFloat("pointL.brightness", 1.0f);
        }
        scene.textureShader.setVec3("pointL.attenuation", glm::vec3(0.6f, 0.2f, 0.05f));
        scene.animShader.setVec3("pointL.attenuation", glm::vec3(0.8f, 0.2f, 0.05f));
        scene.zub = AnimatedModel(&scene.animShader, (assetsFolder + "/zub/zub.fbx").c_str());
        scene.stone = Model((assetsFolder + "/enemy/Stone_enemy2.fbx").c_str(), &scene.textureShader);
        ok = scene.zub.usable() && !scene.stone.meshes.empty();
        if (ok) {
            glEnable(GL_DEPTH_TEST);
            glEnable(GL_CULL_FACE);
            const Target target = makeTarget(PanelSize * Supersample);
            const glm::vec3 origin(0.0f);
            // The creature at rest, from the front and a little to its right.
            renderPanel(scene, target, picture, 0, 0, {{1.8f, 1.0f, -4.6f}, {0.0f, 0.15f, 0.0f}, 35.0f},
                        {10.8f, 16.2f, -18.0f}, [&] { drawZub(scene, origin, 1, 0.0f); });
            // Walking, seen from behind and above like the follow camera.
            renderPanel(scene, target, picture, 1, 0, {{-1.6f, 2.4f, 4.6f}, {0.0f, 0.0f, 0.0f}, 35.0f},
                        {-9.0f, 16.2f, 16.2f}, [&] { drawZub(scene, origin, 0, 0.25f); });
            // Waving with its right paw, seen from its right front.
            renderPanel(scene, target, picture, 2, 0, {{2.9f, 0.9f, -4.0f}, {0.3f, 0.2f, 0.0f}, 38.0f},
                        {-10.8f, 16.2f, -18.0f}, [&] { drawZub(scene, origin, 2, 0.9f); });
            // Side view mid-stride and the idle look to one side.
            renderPanel(scene, target, picture, 0, 1, {{-8.0f, 1.2f, -0.4f}, {0.0f, 0.1f, 0.0f}, 35.0f},
                        {-16.2f, 14.4f, -10.8f}, [&] {
                            drawZub(scene, glm::vec3(0.0f, 0.0f, 1.3f), 0, 0.6f);
                            drawZub(scene, glm::vec3(0.0f, 0.0f, -1.3f), 1, 0.75f);
                        });
            // The stone enemy from the player's side, and at an angle with the creature for scale.
            renderPanel(scene, target, picture, 1, 1, {{0.0f, 1.0f, 23.0f}, {0.0f, 0.5f, 0.0f}, 40.0f},
                        {10.8f, 14.4f, 25.2f}, [&] { drawStone(scene, origin); });
            renderPanel(scene, target, picture, 2, 1, {{13.0f, 1.0f, 17.0f}, {1.0f, -0.8f, 0.0f}, 46.0f},
                        {16.2f, 14.4f, 21.6f}, [&] {
                            drawStone(scene, origin);
                            drawZub(scene, glm::vec3(5.2f, -5.0f, 4.5f), 1, 0.0f);
                        });
        } else {
            error = scene.zub.usable() ? "the stone enemy did not load" : scene.zub.loadError;
        }
    }
    glfwTerminate();
    if (!ok)
        return false;
    const std::string png = encodePng(picture);
    std::ofstream out(outputPng, std::ios::binary | std::ios::trunc);
    out.write(png.data(), static_cast<std::streamsize>(png.size()));
    if (!out) {
        error = "cannot write " + outputPng;
        return false;
    }
    return true;
}

} // namespace assetgen
