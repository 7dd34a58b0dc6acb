#pragma once

#include <string>

// The window settings, section "window" of the settings file. A missing or unreadable file gives
// the defaults; the parser's error is deliberately not consulted.
struct Settings {
    int width = 1280;
    int height = 768;
    bool fullscreen = false; // read, but the window is always an ordinary window
    bool resizeable = false;
    std::string title = "glorbit";
    int refreshrate = 60;
    float brightness = 1.0f; // an integer key, kept as float for the light uniform
    // Frames never start more often than this many per second; 0: no cap. The world takes one
    // fixed step per frame, so this is what keeps it in real time on a fast machine.
    int framecap = 60;
    // The internal resolution of the scene, sky and glow relative to the window: RenderScaleAuto
    // lets the game choose (it lowers the scale only where a frame would not fit in time), or a
    // fixed value from MinRenderScale to 1.
    float renderscale = 0.0f;
};

constexpr float RenderScaleAuto = 0.0f;
constexpr float MinRenderScale = 0.5f;

// "auto" or a number from MinRenderScale to 1; anything else is RenderScaleAuto with ok = false.
float parseRenderScale(const std::string& text, bool& ok);

Settings readSettings(const std::string& path = "../assets/settings.ini");
