// The settings reading on whatever bytes it is given: the whole file, through the parser, to the
// values the game uses. A crash, a sanitizer report, or a value outside what the game can take is
// a finding; lines about bad values are the expected outcome.
#include "app/Settings.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/glorbit-settings-fuzz-" + std::to_string(getpid()) + ".ini";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    std::streambuf* console = std::cout.rdbuf(nullptr); // the bad-value lines are expected
    const Settings s = readSettings(path);
    std::cout.rdbuf(console);
    std::cout.clear();
    const bool inRange =
        s.framecap >= 0 && s.framecap <= 1000 &&
        (s.renderscale == RenderScaleAuto || (s.renderscale >= MinRenderScale && s.renderscale <= 1.0f)) &&
        s.mousespeed >= MinMouseSpeed && s.mousespeed <= MaxMouseSpeed;
    if (!inRange)
        std::abort();
    return 0;
}
