#include "app/Input.h"

#include "app/AppState.h"
#include "physics/px/PxPhysicsAPI.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <iostream>

namespace {

constexpr float MaxPadFrameSeconds = 0.1f;

int keyAction(AppState& s, GLFWwindow* window, int key) {
    return s.keyState ? s.keyState(window, key) : glfwGetKey(window, key);
}

bool held(AppState& s, GLFWwindow* window, int key) {
    return keyAction(s, window, key) != GLFW_RELEASE;
}

bool readPad(AppState& s, GLFWgamepadstate& state) {
    if (s.padState)
        return s.padState(state);
    return s.pad.joystick >= 0 && glfwGetGamepadState(s.pad.joystick, &state);
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

// What a key does when released; the pad's buttons come here too.
void releaseKey(GLFWwindow* window, int key) {
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

// The free camera flies `amount` (-1 to 1) of a key's move along an axis, in either direction.
void fly(Camera& camera, float amount, CameraMovement positive, CameraMovement negative, float seconds) {
    if (amount > 0.0f)
        camera.move(positive, seconds * amount);
    else if (amount < 0.0f)
        camera.move(negative, seconds * -amount);
}

} // namespace

glm::vec3 Pushes::sum() const {
    glm::vec3 total(0.0f);
    for (int i = 0; i < count; ++i)
        total += force[i];
    return total;
}

Pushes playerPushes(const HeldKeys& keys, glm::vec2 stick, float fx, float fz) {
    // W pushes along (fx, fz), D to its right; A and S are their opposites.
    const glm::vec3 forward(fx, 0.0f, fz), right(-fz, 0.0f, fx);
    Pushes p;
    if (keys.w)
        p.force[p.count++] = PushForce * forward;
    if (keys.a)
        p.force[p.count++] = PushForce * -right;
    if (keys.s)
        p.force[p.count++] = PushForce * -forward;
    if (keys.d)
        p.force[p.count++] = PushForce * right;
    if (stick != glm::vec2(0.0f))
        p.force[p.count++] = PushForce * (stick.y * forward + stick.x * right);
    return p;
}

void processInput(GLFWwindow* window) {
    AppState& s = appState();
    if (keyAction(s, window, GLFW_KEY_ESCAPE) == GLFW_PRESS)
        glfwSetWindowShouldClose(window, GLFW_TRUE);

    // The pad after the keys; its buttons act like the keys they stand in for.
    // A long frame (the first one counts the start-up) turns and counts as a short one at most.
    const float padSeconds = std::min(s.deltaTime, MaxPadFrameSeconds);
    GLFWgamepadstate padNow{};
    PadActions pad;
    if (readPad(s, padNow))
        pad = s.pad.read(padNow, padSeconds);
    if (pad.quit)
        glfwSetWindowShouldClose(window, GLFW_TRUE);
    if (pad.switchCamera)
        releaseKey(window, GLFW_KEY_F3);
    if (pad.firstClip)
        releaseKey(window, GLFW_KEY_F4);
    if (pad.secondClip)
        releaseKey(window, GLFW_KEY_F5);
    if (pad.look != glm::vec2(0.0f))
        turnBy(s, pad.look.x * StickLookPixelsPerSecond * padSeconds,
               pad.look.y * StickLookPixelsPerSecond * padSeconds);

    // Horizontal direction from the follow camera to the player, whatever the mode.
    const float dx = s.playerObject.position.x - s.followCam.position.x;
    const float dz = s.playerObject.position.z - s.followCam.position.z;
    const float length = std::sqrt(dx * dx + dz * dz);
    const float fx = dx / length, fz = dz / length;

    const HeldKeys keys{held(s, window, GLFW_KEY_W), held(s, window, GLFW_KEY_A), held(s, window, GLFW_KEY_S),
                        held(s, window, GLFW_KEY_D)};
    if (s.freeCameraActive) {
        const float dt = s.deltaTime;
        if (keys.w)
            s.freeCam.move(CameraMovement::Forward, dt);
        if (keys.a)
            s.freeCam.move(CameraMovement::Left, dt);
        if (keys.s)
            s.freeCam.move(CameraMovement::Backward, dt);
        if (keys.d)
            s.freeCam.move(CameraMovement::Right, dt);
        if (held(s, window, GLFW_KEY_SPACE))
            s.freeCam.move(CameraMovement::Up, dt);
        if (held(s, window, GLFW_KEY_LEFT_SHIFT))
            s.freeCam.move(CameraMovement::Down, dt);
        fly(s.freeCam, pad.move.y, CameraMovement::Forward, CameraMovement::Backward, dt);
        fly(s.freeCam, pad.move.x, CameraMovement::Right, CameraMovement::Left, dt);
        fly(s.freeCam, pad.rise, CameraMovement::Up, CameraMovement::Down, dt);
        return;
    }
    if (!s.playerObject.body)
        return;
    const Pushes pushes = playerPushes(keys, pad.move, fx, fz);
    for (int i = 0; i < pushes.count; ++i) {
        const glm::vec3& f = pushes.force[i];
        s.playerObject.body->addForce(physx::PxVec3(f.x, f.y, f.z), physx::PxForceMode::eFORCE, true);
    }
}

void keyCallback(GLFWwindow* window, int key, int /*scancode*/, int action, int /*mods*/) {
    if (action == GLFW_RELEASE)
        releaseKey(window, key);
}

void turnBy(AppState& s, float xoffset, float yoffset) {
    if (s.freeCameraActive) {
        const float k = s.freeCam.sensitivity * DegToRad * s.mouseSpeed;
        if (s.invertMouse)
            yoffset = -yoffset;
        // An update that would leave (-90, 90) is dropped whole, not clamped.
        const float pitch = s.freeCam.pitch - yoffset * k;
        if (pitch > -90.0f && pitch < 90.0f)
            s.freeCam.pitch = pitch;
        s.freeCam.yaw -= xoffset * k;
    } else {
        s.followCam.yaw -= xoffset * s.followCam.sensitivity * DegToRad * s.mouseSpeed;
    }
}

void turnCameras(AppState& s, double xpos, double ypos) {
    float previousX = s.lastX, previousY = s.lastY;
    if (s.firstMouse) {
        s.firstMouse = false;
        previousX = static_cast<float>(xpos);
        previousY = static_cast<float>(ypos);
    }
    // Screen y grows downward.
    turnBy(s, static_cast<float>(xpos) - previousX, static_cast<float>(ypos) - previousY);
    s.lastX = static_cast<float>(xpos);
    s.lastY = static_cast<float>(ypos);
}

void mouseCallback(GLFWwindow* /*window*/, double xpos, double ypos) {
    turnCameras(appState(), xpos, ypos);
}

void framebufferSizeCallback(GLFWwindow* /*window*/, int width, int height) {
    glViewport(0, 0, width, height);
    resizeBloom(appState().bloom, width, height);
}
