#include "app/Settings.h"

#include <INIReader.h>

#include <limits>

namespace {

// A window side as the file gives it. A number that does not fit an int keeps its sign and
// saturates, so that the window check refuses it instead of seeing a wrapped, plausible size.
int readWindowSide(const INIReader& reader, const char* key, int fallback) {
    const long value = reader.GetInteger("window", key, fallback);
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

} // namespace

Settings readSettings(const std::string& path) {
    INIReader reader(path);
    Settings s;
    // Read in the file's documented key order; each falls back to its default.
    s.width = readWindowSide(reader, "width", 1280);
    s.height = readWindowSide(reader, "height", 768);
    s.fullscreen = reader.GetBoolean("window", "fullscreen", false);
    s.resizeable = reader.GetBoolean("window", "resizeable", false);
    s.title = reader.Get("window", "title", "glorbit");
    s.refreshrate = static_cast<int>(reader.GetInteger("window", "refreshrate", 60));
    s.brightness = static_cast<float>(reader.GetInteger("window", "brightness", 1));
    return s;
}
