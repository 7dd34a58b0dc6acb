#pragma once

#include <GLFW/glfw3.h>
#include <glm/glm.hpp>

struct AppState;

// The force of one held movement key on the player's body; a stick at full deflection pushes as
// hard as one key.
constexpr float PushForce = 10000.0f;

// Polls Escape, the movement keys and the gamepad once per frame, before the cameras are read.
void processInput(GLFWwindow* window);

// GLFW callbacks; all run inside glfwPollEvents on the main thread.
void keyCallback(GLFWwindow* window, int key, int scancode, int action, int mods);
void mouseCallback(GLFWwindow* window, double xpos, double ypos);
void framebufferSizeCallback(GLFWwindow* window, int width, int height);

// Pure parts, for tests.
struct HeldKeys {
    bool w = false, a = false, s = false, d = false;
};
// The pushes on the player for one frame given the unit horizontal direction (fx, fz) from the
// follow camera to the player: one per held key in W, A, S, D order, then the left stick's
// (x right, y forward) when it is deflected. The body sums them.
struct Pushes {
    glm::vec3 force[5];
    int count = 0;
    glm::vec3 sum() const;
};
Pushes playerPushes(const HeldKeys& keys, glm::vec2 stick, float fx, float fz);
// The mouse rule: the cursor's new position turns the active camera.
void turnCameras(AppState& state, double xpos, double ypos);
// Turns the active camera as a cursor motion of (dx, dy) pixels would.
void turnBy(AppState& state, float dx, float dy);
