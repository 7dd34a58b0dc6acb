#include "app/Input.h"

#include "app/AppState.h"
#include "physics/px/PxPhysicsAPI.h"

#include <GL/glew.h>

#include <cmath>
#include <iostream>

namespace {

int keyAction(AppState& s, GLFWwindow* window, int key) {
    return s.keyState ? s.keyState(window, key) : glfwGetKey(window, key);
}

bool held(AppState& s, GLFWwindow* window, int key) { return keyAction(s, window, key) != GLFW_RELEASE; }

// Unit push of W, A, S, D (in that order) for the camera-to-player direction (fx, fz).
glm::vec3 pushDirection(int key, float fx, float fz) {
    switch (key) {
    case 0: return {fx, 0.0f, fz};
    case 1: return {fz, 0.0f, -fx};
    case 2: return {-fx, 0.0f, -fz};
    default: return {-fz, 0.0f, fx};
    }
}

void switchClip(AppState& s, std::size_t index) {
    if (!s.playerObject.animated)
        return;
    AnimatedModel& model = s.playerObject.animatedModel;
    if (!model.playClip(index))
        return;
    const float length = model.currentAnimation->lengthSeconds;
    std::cout << "Changed Animation to Idle with duration " << length << " vs. " << length << std::endl;
}

} // namespace

glm::vec3 pushForce(bool w, bool a, bool s, bool d, float fx, float fz) {
    const bool keys[4] = {w, a, s, d};
    glm::vec3 force(0.0f);
    for (int k = 0; k < 4; ++k)
        if (keys[k])
            force += PushForce * pushDirection(k, fx, fz);
    return force;
}

void processInput(GLFWwindow* window) {
    AppState& s = appState();
    if (keyAction(s, window, GLFW_KEY_ESCAPE) == GLFW_PRESS)
        glfwSetWindowShouldClose(window, GLFW_TRUE);

    // Horizontal direction from the follow camera to the player, whatever the mode.
    const float dx = s.playerObject.position.x - s.followCam.position.x;
    const float dz = s.playerObject.position.z - s.followCam.position.z;
    const float length = std::sqrt(dx * dx + dz * dz);
    const float fx = dx / length, fz = dz / length;

    const bool w = held(s, window, GLFW_KEY_W), a = held(s, window, GLFW_KEY_A);
    const bool back = held(s, window, GLFW_KEY_S), d = held(s, window, GLFW_KEY_D);
    if (s.freeCameraActive) {
        if (w)
            s.freeCam.move(CameraMovement::Forward, s.deltaTime);
        if (a)
            s.freeCam.move(CameraMovement::Left, s.deltaTime);
        if (back)
            s.freeCam.move(CameraMovement::Backward, s.deltaTime);
        if (d)
            s.freeCam.move(CameraMovement::Right, s.deltaTime);
        if (held(s, window, GLFW_KEY_SPACE))
            s.freeCam.move(CameraMovement::Up, s.deltaTime);
        if (held(s, window, GLFW_KEY_LEFT_SHIFT))
            s.freeCam.move(CameraMovement::Down, s.deltaTime);
        return;
    }
    if (!s.playerObject.body)
        return;
    // One push per held key, in W, A, S, D order; the body sums them.
    const bool keys[4] = {w, a, back, d};
    for (int k = 0; k < 4; ++k) {
        if (!keys[k])
            continue;
        const glm::vec3 f = PushForce * pushDirection(k, fx, fz);
        s.playerObject.body->addForce(physx::PxVec3(f.x, f.y, f.z), physx::PxForceMode::eFORCE, true);
    }
}

void keyCallback(GLFWwindow* window, int key, int /*scancode*/, int action, int /*mods*/) {
    if (action != GLFW_RELEASE)
        return;
    AppState& s = appState();
    switch (key) {
    case GLFW_KEY_ESCAPE:
        glfwSetWindowShouldClose(window, GLFW_TRUE);
        break;
    case GLFW_KEY_F1:
        s.wireframe = !s.wireframe;
        glPolygonMode(GL_FRONT_AND_BACK, s.wireframe ? GL_LINE : GL_FILL);
        break;
    case GLFW_KEY_F2:
        // The flag starts false while culling starts on, so the first release keeps culling.
        s.cullFaceToggle = !s.cullFaceToggle;
        if (s.cullFaceToggle)
            glEnable(GL_CULL_FACE);
        else
            glDisable(GL_CULL_FACE);
        break;
    case GLFW_KEY_F3:
        s.freeCameraActive = !s.freeCameraActive;
        if (s.freeCameraActive) {
            s.freeCam.position = s.followCam.position;
            s.freeCam.yaw = 0.0f;
            s.freeCam.pitch = 0.0f;
        }
        break;
    case GLFW_KEY_F4:
        switchClip(s, 1);
        break;
    case GLFW_KEY_F5:
        switchClip(s, 2);
        break;
    default:
        break;
    }
}

void turnCameras(AppState& s, double xpos, double ypos) {
    float previousX = s.lastX, previousY = s.lastY;
    if (s.firstMouse) {
        s.firstMouse = false;
        previousX = static_cast<float>(xpos);
        previousY = static_cast<float>(ypos);
    }
    const float xoffset = static_cast<float>(xpos) - previousX;
    const float yoffset = static_cast<float>(ypos) - previousY; // screen y grows downward
    if (s.freeCameraActive) {
        const float k = s.freeCam.sensitivity * DegToRad;
        // An update that would leave (-90, 90) is dropped whole, not clamped.
        const float pitch = s.freeCam.pitch - yoffset * k;
        if (pitch > -90.0f && pitch < 90.0f)
            s.freeCam.pitch = pitch;
        s.freeCam.yaw -= xoffset * k;
    } else {
        s.followCam.yaw -= xoffset * s.followCam.sensitivity * DegToRad;
    }
    s.lastX = static_cast<float>(xpos);
    s.lastY = static_cast<float>(ypos);
}

void mouseCallback(GLFWwindow* /*window*/, double xpos, double ypos) { turnCameras(appState(), xpos, ypos); }

void framebufferSizeCallback(GLFWwindow* /*window*/, int width, int height) {
    glViewport(0, 0, width, height);
    resizeBloom(appState().bloom, width, height);
}
