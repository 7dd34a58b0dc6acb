#pragma once

#include <GLFW/glfw3.h>
#include <glm/glm.hpp>

#include <string>
#include <vector>

// A centred stick reads a few hundredths; deflection inside this radius counts as none.
constexpr float StickDeadZone = 0.2f;
// The right stick at full deflection turns the cameras as this many pixels of mouse motion a
// second would (about a brisk flick across a window every second).
constexpr float StickLookPixelsPerSecond = 2000.0f;
// How long Back must be held to quit: long enough that no one quits by brushing it.
constexpr float QuitHoldSeconds = 1.0f;

// A stick's deflection past a radial dead zone, rescaled so that the zone's edge reads 0 and full
// deflection 1, and never longer than 1 (square-gated sticks reach 1.4 on the diagonals).
glm::vec2 stickPastDeadZone(glm::vec2 stick, float deadZone = StickDeadZone);

// What one frame of the pad asks the game for.
struct PadActions {
    glm::vec2 move{0.0f}; // left stick: x right, y forward; length at most 1
    glm::vec2 look{0.0f}; // right stick: x right, y down (as the screen's y); length at most 1
    float rise = 0.0f;    // -1 to 1: the right shoulder or trigger up, the left one down
    // Buttons released this frame, standing in for the keys of the same action.
    bool switchCamera = false, firstClip = false, secondClip = false;
    bool quit = false; // Back has been held for QuitHoldSeconds
};

// The gamepad in use, and what the pad logic keeps between frames. Pure apart from the GLFW
// functions at the bottom of this file.
struct Gamepad {
    int joystick = -1; // GLFW joystick id; -1: no gamepad
    std::string name;
    GLFWgamepadstate previous{};
    float backHeldSeconds = 0.0f;

    // Turns this frame's state into actions; `seconds` is the frame's time.
    PadActions read(const GLFWgamepadstate& now, float seconds);
    // Starts over from this state, as when a pad is found: Back counts from zero again.
    void reset(const GLFWgamepadstate& now);
};

// The mapping lines of a text in the SDL game controller format: one per line, with blank lines
// and '#' comments left out.
std::vector<std::string> mappingLines(const std::string& text);

// Hands the mappings of $SDL_GAMECONTROLLERCONFIG and of gamecontrollerdb.txt in the settings
// file's folder (when present) to GLFW; a mapping GLFW refuses is reported on one line and skipped.
// Needs glfwInit.
void loadGamepadMappings(const std::string& settingsPath);

// Takes the first connected gamepad for appState().pad, if any, and watches for pads plugged in or
// out; each pad found or lost is named on one line. Needs glfwInit.
void watchGamepads();
