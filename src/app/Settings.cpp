#include "app/Settings.h"

#include <INIReader.h>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <limits>

namespace {

// Beyond this a cap no longer limits anything a display can show.
constexpr long MaxFrameCap = 1000;

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

float parseRenderScale(const std::string& text, bool& ok) {
    std::string lower;
    for (char c : text)
        lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    ok = true;
    if (lower == "auto")
        return RenderScaleAuto;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (!text.empty() && *end == '\0' && errno == 0 && std::isfinite(value) && value >= MinRenderScale &&
        value <= 1.0)
        return static_cast<float>(value);
    ok = false;
    return RenderScaleAuto;
}

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

    // The two speed keys: a bad value says so and keeps the default, the game still starts.
    const long framecap = reader.GetInteger("window", "framecap", Settings().framecap);
    if (framecap >= 0 && framecap <= MaxFrameCap) {
        s.framecap = static_cast<int>(framecap);
    } else {
        std::cout << "Settings: framecap = " << reader.Get("window", "framecap", "")
                  << " is not a frame rate from 0 to " << MaxFrameCap << "; using " << s.framecap << std::endl;
    }
    const std::string renderscale = reader.Get("window", "renderscale", "auto");
    bool ok = true;
    s.renderscale = parseRenderScale(renderscale, ok);
    if (!ok)
        std::cout << "Settings: renderscale = " << renderscale << " is not auto or a number from " << MinRenderScale
                  << " to 1; using auto" << std::endl;
    return s;
}
