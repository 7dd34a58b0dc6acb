#pragma once

#include <GLFW/glfw3.h>

// A fixed, repeatable way of playing for the benchmark: the same input on every run, so that
// numbers from two builds compare. One cycle of `CycleFrames` frames:
//  - follow camera: the mouse sweeps the camera once round the player while W and D pulses push
//    the player about (forces and contacts in every frame that holds a key);
//  - free camera (switched with F3, as a player would): a fly-over from behind the start along
//    the level towards the goal, looking down on it, so the whole level is in view.
// Input goes through the game's own paths: held keys through AppState::keyState, the mouse and
// F3 through the GLFW callbacks. The free camera's pose is set directly, so it does not depend
// on the frame time.
class ScriptedPlay {
public:
    static constexpr int CycleFrames = 600;
    static constexpr int FollowFrames = 360; // the rest of the cycle uses the free camera

    // Installs the key source; call after the cameras exist. Uninstalled by the destructor.
    explicit ScriptedPlay(GLFWwindow* window);
    ~ScriptedPlay();
    ScriptedPlay(const ScriptedPlay&) = delete;
    ScriptedPlay& operator=(const ScriptedPlay&) = delete;

    // The input of frame `frame` (counted from 0), delivered before that frame runs.
    void before(int frame);
    static bool freeCameraFrame(int frame) { return frame % CycleFrames >= FollowFrames; }

    bool w = false, d = false; // the keys held in the current frame

private:
    GLFWwindow* window_;
    double mouseX_ = 0.0;
};
