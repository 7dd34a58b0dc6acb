#include "app/Settings.h"

#include "render/FileKind.h"

#include <INIReader.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <limits>

namespace {

// Beyond this a cap no longer limits anything a display can show.
constexpr int MaxFrameCap = 1000;

std::string lowerCase(const std::string& text) {
    std::string lower;
    for (char c : text)
        lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    return lower;
}

std::string trimmed(const std::string& text) {
    const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
    return first < last ? std::string(first, last) : std::string();
}

// The window's integer keys are read as the parser reads them, which stops at the first character
// that is not part of a number ("2.5" gives 2): that is their documented reading, but the file's
// author hears what was taken.
long readInteger(const INIReader& reader, const char* key, long fallback) {
    const std::string text = trimmed(reader.Get("window", key, ""));
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 0);
    if (end != text.c_str() && *end != '\0')
        std::cout << "Settings: " << key << " = " << text << " is read as " << value << std::endl;
    return reader.GetInteger("window", key, fallback);
}

// A window side as the file gives it. A number that does not fit an int keeps its sign and
// saturates, so that the window check refuses it instead of seeing a wrapped, plausible size.
int readWindowSide(const INIReader& reader, const char* key, int fallback) {
    const long value = readInteger(reader, key, fallback);
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

// Our own keys: a present value that is not in range says so on one line and keeps the default.
void reportBadValue(const char* key, const std::string& text, const std::string& wanted,
                    const std::string& kept) {
    std::cout << "Settings: " << key << " = " << text << " is not " << wanted << "; using " << kept
              << std::endl;
}

} // namespace

bool parseWholeNumber(const std::string& text, double& value) {
    const std::string t = trimmed(text);
    // strtod also reads hex, "inf" and "nan"; a settings file means none of them.
    if (t.empty() || t.find_first_of("xXiInN") != std::string::npos)
        return false;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(t.c_str(), &end);
    if (*end != '\0' || errno == ERANGE || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

float parseRenderScale(const std::string& text, bool& ok) {
    ok = true;
    if (lowerCase(trimmed(text)) == "auto")
        return RenderScaleAuto;
    double value = 0.0;
    if (parseWholeNumber(text, value) && value >= MinRenderScale && value <= 1.0)
        return static_cast<float>(value);
    ok = false;
    return RenderScaleAuto;
}

Settings readSettings(const std::string& path) {
    const Settings defaults;
    // The parser opens the file: a named pipe would block the game before its window opens.
    const std::string notAFile = notAFileProblem(path);
    if (!notAFile.empty()) {
        std::cout << "Settings: " << path << " " << notAFile << "; using the defaults" << std::endl;
        return defaults;
    }
    INIReader reader(path);
    Settings s;
    // Read in the file's documented key order; each falls back to its default.
    s.width = readWindowSide(reader, "width", defaults.width);
    s.height = readWindowSide(reader, "height", defaults.height);
    s.fullscreen = reader.GetBoolean("window", "fullscreen", defaults.fullscreen);
    s.resizeable = reader.GetBoolean("window", "resizeable", defaults.resizeable);
    s.title = reader.Get("window", "title", defaults.title);
    s.refreshrate = static_cast<int>(readInteger(reader, "refreshrate", defaults.refreshrate));
    s.brightness =
        static_cast<float>(readInteger(reader, "brightness", static_cast<long>(defaults.brightness)));

    // Our own keys are read whole: a bad value says so and keeps the default, the game still starts.
    if (reader.HasValue("window", "framecap")) {
        const std::string text = reader.Get("window", "framecap", "");
        double value = 0.0;
        if (parseWholeNumber(text, value) && value >= 0.0 && value <= MaxFrameCap &&
            value == std::floor(value))
            s.framecap = static_cast<int>(value);
        else
            reportBadValue("framecap", text, "a frame rate from 0 to " + std::to_string(MaxFrameCap),
                           std::to_string(defaults.framecap));
    }
    if (reader.HasValue("window", "renderscale")) {
        const std::string text = reader.Get("window", "renderscale", "");
        bool ok = true;
        s.renderscale = parseRenderScale(text, ok);
        if (!ok)
            reportBadValue("renderscale", text, "auto or a number from 0.5 to 1", "auto");
    }
    if (reader.HasValue("window", "mousespeed")) {
        const std::string text = reader.Get("window", "mousespeed", "");
        double value = 0.0;
        if (parseWholeNumber(text, value) && static_cast<float>(value) >= MinMouseSpeed &&
            static_cast<float>(value) <= MaxMouseSpeed)
            s.mousespeed = static_cast<float>(value);
        else
            reportBadValue("mousespeed", text, "a number from 0.1 to 10", "1");
    }
    if (reader.HasValue("window", "invertmouse")) {
        const std::string text = lowerCase(trimmed(reader.Get("window", "invertmouse", "")));
        if (text == "true" || text == "yes" || text == "on" || text == "1")
            s.invertmouse = true;
        else if (!(text == "false" || text == "no" || text == "off" || text == "0"))
            reportBadValue("invertmouse", reader.Get("window", "invertmouse", ""), "true or false", "false");
    }
    return s;
}
