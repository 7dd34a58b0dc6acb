#pragma once

#include <iostream>
#include <sstream>

namespace assetgen {

// The game's loader reports progress on stdout; while one of these lives, the tool keeps the
// console to its own lines.
class QuietCout {
public:
    QuietCout() : previous_(std::cout.rdbuf(sink_.rdbuf())) {}
    ~QuietCout() { std::cout.rdbuf(previous_); }
    QuietCout(const QuietCout&) = delete;
    QuietCout& operator=(const QuietCout&) = delete;

private:
    std::ostringstream sink_;
    std::streambuf* previous_;
};

} // namespace assetgen
