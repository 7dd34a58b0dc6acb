#include "app/Gamepad.h"

#include "app/AppState.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

// Only the second half of a trigger's travel counts: a trigger rests at -1, and one the mapping
// leaves out reads 0.
float triggerPast(float axis) {
    return std::clamp(axis, 0.0f, 1.0f);
}

bool released(const GLFWgamepadstate& before, const GLFWgamepadstate& now, int button) {
    return before.buttons[button] == GLFW_PRESS && now.buttons[button] == GLFW_RELEASE;
}

// A gamecontrollerdb.txt of the community's size is about half a megabyte.
constexpr std::uintmax_t MaxMappingFileBytes = 16u << 20;

std::string readMappingFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return {};
    if (!std::filesystem::is_regular_file(path, error) ||
        std::filesystem::file_size(path, error) > MaxMappingFileBytes) {
        std::cout << "Gamepad mappings not read: " << path.string() << " is not a file of at most 16 MiB"
                  << std::endl;
        return {};
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// GLFW passes over a line that does not start with a hex digit without a word, and reports a bad
// GUID only through glfwGetError: both count as refused here.
void addMappings(const std::string& text, const std::string& source) {
    for (const std::string& line : mappingLines(text)) {
        glfwGetError(nullptr);
        const bool accepted = std::isxdigit(static_cast<unsigned char>(line[0])) &&
                              glfwUpdateGamepadMappings(line.c_str()) && glfwGetError(nullptr) == GLFW_NO_ERROR;
        if (!accepted)
            std::cout << "Gamepad mapping refused (" << source << "): " << line.substr(0, 80) << std::endl;
    }
}

void adopt(Gamepad& pad, int joystick) {
    pad.joystick = joystick;
    const char* name = glfwGetGamepadName(joystick);
    pad.name = name ? name : "unnamed gamepad";
    GLFWgamepadstate now{};
    glfwGetGamepadState(joystick, &now);
    pad.reset(now);
    std::cout << "Gamepad connected: " << pad.name << std::endl;
}

void findGamepad(Gamepad& pad) {
    // Keyboards and touch pads can be joysticks too: only those with a gamepad mapping count.
    for (int id = GLFW_JOYSTICK_1; id <= GLFW_JOYSTICK_LAST && pad.joystick < 0; ++id)
        if (glfwJoystickIsGamepad(id))
            adopt(pad, id);
}

void joystickCallback(int joystick, int event) {
    Gamepad& pad = appState().pad;
    if (event == GLFW_DISCONNECTED && joystick == pad.joystick) {
        std::cout << "Gamepad disconnected: " << pad.name << std::endl;
        pad.joystick = -1;
        findGamepad(pad);
    } else if (event == GLFW_CONNECTED && pad.joystick < 0 && glfwJoystickIsGamepad(joystick)) {
        adopt(pad, joystick);
    }
}

} // namespace

glm::vec2 stickPastDeadZone(glm::vec2 stick, float deadZone) {
    const float length = glm::length(stick);
    if (length <= deadZone)
        return glm::vec2(0.0f);
    const float scaled = std::min((length - deadZone) / (1.0f - deadZone), 1.0f);
    return stick * (scaled / length);
}

PadActions Gamepad::read(const GLFWgamepadstate& now, float seconds) {
    PadActions a;
    const float* axis = now.axes;
    // GLFW's stick y is -1 pushed away from the player.
    const glm::vec2 left =
        stickPastDeadZone({axis[GLFW_GAMEPAD_AXIS_LEFT_X], axis[GLFW_GAMEPAD_AXIS_LEFT_Y]});
    a.move = {left.x, -left.y};
    a.look = stickPastDeadZone({axis[GLFW_GAMEPAD_AXIS_RIGHT_X], axis[GLFW_GAMEPAD_AXIS_RIGHT_Y]});
    const auto down = [&now](int button) { return now.buttons[button] == GLFW_PRESS ? 1.0f : 0.0f; };
    a.rise =
        std::max(down(GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER), triggerPast(axis[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER])) -
        std::max(down(GLFW_GAMEPAD_BUTTON_LEFT_BUMPER), triggerPast(axis[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER]));

    // Like the keys they stand in for, the buttons act when released.
    a.switchCamera = released(previous, now, GLFW_GAMEPAD_BUTTON_Y);
    a.firstClip = released(previous, now, GLFW_GAMEPAD_BUTTON_X);
    a.secondClip = released(previous, now, GLFW_GAMEPAD_BUTTON_B);
    backHeldSeconds = now.buttons[GLFW_GAMEPAD_BUTTON_BACK] == GLFW_PRESS ? backHeldSeconds + seconds : 0.0f;
    a.quit = backHeldSeconds >= QuitHoldSeconds;
    previous = now;
    return a;
}

void Gamepad::reset(const GLFWgamepadstate& now) {
    previous = now;
    backHeldSeconds = 0.0f;
}

std::vector<std::string> mappingLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.pop_back();
        const std::size_t start = line.find_first_not_of(" \t");
        if (start != std::string::npos && line[start] != '#')
            lines.push_back(line.substr(start));
    }
    return lines;
}

void loadGamepadMappings(const std::string& settingsPath) {
    if (const char* variable = std::getenv("SDL_GAMECONTROLLERCONFIG"))
        addMappings(variable, "SDL_GAMECONTROLLERCONFIG");
    // The settings file may be a link to the player's own copy: the mappings sit beside that.
    std::error_code error;
    std::filesystem::path settings = std::filesystem::canonical(settingsPath, error);
    if (error)
        settings = settingsPath;
    const std::filesystem::path file = settings.parent_path() / "gamecontrollerdb.txt";
    addMappings(readMappingFile(file), file.string());
}

void watchGamepads() {
    findGamepad(appState().pad);
    glfwSetJoystickCallback(joystickCallback);
}
