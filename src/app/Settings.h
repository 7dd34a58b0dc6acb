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
};

Settings readSettings(const std::string& path = "../assets/settings.ini");
