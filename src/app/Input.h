#pragma once

#include <GLFW/glfw3.h>
#include <glm/glm.hpp>

struct AppState;

// The force of one held movement key on the player's body.
constexpr float PushForce = 10000.0f;

// Polls Escape and the movement keys once per frame, before the cameras are read.
void processInput(GLFWwindow* window);

// GLFW callbacks; all run inside glfwPollEvents on the main thread.
void keyCallback(GLFWwindow* window, int key, int scancode, int action, int mods);
void mouseCallback(GLFWwindow* window, double xpos, double ypos);
void framebufferSizeCallback(GLFWwindow* window, int width, int height);

// Pure parts, for tests: the summed push for the held keys given the unit horizontal direction
// (fx, fz) from the follow camera to the player, and the mouse rule applied to the state.
glm::vec3 pushForce(bool w, bool a, bool s, bool d, float fx, float fz);
void turnCameras(AppState& state, double xpos, double ypos);
