#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace assetgen {

// Collects what the checks found: failures make the tool exit non-zero, notes are measurements.
struct CheckLog {
    std::vector<std::string> failures;
    std::vector<std::string> notes;

    void fail(const std::string& what) { failures.push_back(what); }
    void note(const std::string& what) { notes.push_back(what); }
    bool ok() const { return failures.empty(); }
    // Fails with `what` unless `condition` holds; returns the condition.
    bool expect(bool condition, const std::string& what) {
        if (!condition)
            fail(what);
        return condition;
    }
};

// A measurement as the check messages print it.
inline std::string str(float v) {
    std::ostringstream out;
    out << v;
    return out.str();
}

} // namespace assetgen
