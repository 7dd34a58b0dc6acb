#include "ScriptedPlay.h"

#include "app/AppState.h"
#include "app/Input.h"

#include <glm/glm.hpp>

namespace {

// One full turn of the follow camera over the follow part of the cycle. A pixel of mouse motion
// turns it by sensitivity * DegToRad degrees (1.3 * 0.01745 for the follow camera).
double pixelsPerFrame() {
    const double degreesPerPixel = static_cast<double>(appState().followCam.sensitivity) * DegToRad;
    return 360.0 / degreesPerPixel / ScriptedPlay::FollowFrames;
}

// Key pulses within the follow part: W, then D, then nothing; 120 frames per pulse.
constexpr int PulseFrames = 120, HoldW = 70, HoldD = 95;

// The fly-over: start and end of the free camera's path, and where it looks.
const glm::vec3 FlyFrom(0.0f, 30.0f, 35.0f), FlyTo(0.0f, 30.0f, -110.0f);
constexpr float FlyPitch = -20.0f; // degrees; negative looks down

void pressF3(GLFWwindow* window) { keyCallback(window, GLFW_KEY_F3, 0, GLFW_RELEASE, 0); }

} // namespace

ScriptedPlay::ScriptedPlay(GLFWwindow* window) : window_(window) {
    AppState& state = appState();
    mouseX_ = state.lastX;
    state.keyState = [this](GLFWwindow*, int key) {
        const bool down = (key == GLFW_KEY_W && w) || (key == GLFW_KEY_D && d);
        return down ? GLFW_PRESS : GLFW_RELEASE;
    };
}

ScriptedPlay::~ScriptedPlay() { appState().keyState = nullptr; }

void ScriptedPlay::before(int frame) {
    AppState& state = appState();
    const int inCycle = frame % CycleFrames;
    const bool free = inCycle >= FollowFrames;
    if (free != state.freeCameraActive)
        pressF3(window_);

    if (!free) {
        const int pulse = inCycle % PulseFrames;
        w = pulse < HoldW;
        d = pulse >= HoldW && pulse < HoldD;
        mouseX_ += pixelsPerFrame();
        mouseCallback(window_, mouseX_, state.lastY);
        return;
    }
    w = d = false;
    const float u = static_cast<float>(inCycle - FollowFrames) / static_cast<float>(CycleFrames - FollowFrames);
    state.freeCam.position = glm::mix(FlyFrom, FlyTo, u);
    state.freeCam.yaw = 0.0f;
    state.freeCam.pitch = FlyPitch;
}
