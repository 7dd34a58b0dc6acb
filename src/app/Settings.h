#pragma once

#include <string>

constexpr float RenderScaleAuto = 0.0f;
constexpr float MinRenderScale = 0.5f;

// The window settings, section "window" of the settings file. A missing or unreadable file gives
// the defaults; the parser's error is deliberately not consulted. The initialisers are the defaults
// the reader falls back to, key by key.
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
    float renderscale = RenderScaleAuto;
    // A factor on how far the mouse and the right stick turn the cameras.
    float mousespeed = 1.0f;
    // Whether the free camera looks up when the mouse moves down.
    bool invertmouse = false;
};

// The range of "mousespeed".
constexpr float MinMouseSpeed = 0.1f;
constexpr float MaxMouseSpeed = 10.0f;

// "auto" or a number from MinRenderScale to 1; anything else is RenderScaleAuto with ok = false.
float parseRenderScale(const std::string& text, bool& ok);

// A decimal number that is the whole text but for surrounding blanks: no trailing text, no hex,
// nothing infinite or NaN. False leaves value alone.
bool parseWholeNumber(const std::string& text, double& value);

Settings readSettings(const std::string& path = "../assets/settings.ini");
