#include "app/Settings.h"

#include <INIReader.h>

Settings readSettings(const std::string& path) {
    INIReader reader(path);
    Settings s;
    // Read in the file's documented key order; each falls back to its default.
    s.width = static_cast<int>(reader.GetInteger("window", "width", 1280));
    s.height = static_cast<int>(reader.GetInteger("window", "height", 768));
    s.fullscreen = reader.GetBoolean("window", "fullscreen", false);
    s.resizeable = reader.GetBoolean("window", "resizeable", false);
    s.title = reader.Get("window", "title", "glorbit");
    s.refreshrate = static_cast<int>(reader.GetInteger("window", "refreshrate", 60));
    s.brightness = static_cast<float>(reader.GetInteger("window", "brightness", 1));
    return s;
}
