#pragma once

#include "app/Camera.h"
#include "physics/GameObject.h"
#include "physics/LightObject.h"
#include "render/Bloom.h"
#include "render/EnvironmentMap.h"
// After the render headers, which bring in GLEW: GLFW must not come first.
#include "app/Gamepad.h"

#include <GLFW/glfw3.h>

#include <functional>

// Everything that lives for the whole run and that the GLFW callbacks and the frame both reach.
// There is exactly one, returned by appState(); nothing else in the game is process-wide.
struct AppState {
    float lastX = 0.0f, lastY = 0.0f; // last cursor position
    bool firstMouse = true;
    float mouseSpeed = 1.0f;  // the settings' "mousespeed"
    bool invertMouse = false; // the settings' "invertmouse"
    bool freeCameraActive = false;
    bool wireframe = false;
    bool cullFaceToggle = false;
    float deltaTime = 0.0f, lastFrame = 0.0f, frameTimeSum = 0.0f;
    Camera freeCam;
    Camera followCam;
    GameObject playerObject;
    LightObject starLight;
    BloomTargets bloom;
    EnvironmentMap environment;
    // Where processInput reads held keys from: glfwGetKey unless a driver (the playthrough bots)
    // holds keys itself. Returns a GLFW action (GLFW_PRESS / GLFW_RELEASE).
    std::function<int(GLFWwindow*, int)> keyState;
    Gamepad pad; // the pad in use, if any
    // Where processInput reads the pad from: glfwGetGamepadState of `pad` unless a test drives a
    // pad itself. Returns false when there is no pad.
    std::function<bool(GLFWgamepadstate&)> padState;
};

AppState& appState();

// Active camera: the free camera when switched on, else the follow camera.
inline Camera& activeCamera(AppState& s) {
    return s.freeCameraActive ? s.freeCam : s.followCam;
}
