#pragma once

#include <glm/glm.hpp>

#include <vector>

// A player that plays the game through the movement keys only. It dribbles the star along a list of
// waypoints: it works out the velocity change the star needs, gets behind the star on that line
// (walking around it when it is on the wrong side) and pushes; then it turns its wish for an
// acceleration into the W, A, S, D keys the camera makes of it.
struct BotKeys {
    bool w = false, a = false, s = false, d = false;
};

struct BotView {
    glm::vec2 player, playerVelocity; // world x, z
    glm::vec2 star, starVelocity;
    glm::vec2 forward; // unit horizontal direction the camera pushes with W
};

class PushBot {
public:
    explicit PushBot(std::vector<glm::vec2> starWaypoints, float cruiseSpeed = 4.0f);
    BotKeys decide(const BotView& view);
    std::size_t waypoint() const { return next_; }

private:
    glm::vec2 desiredPlayerVelocity(const BotView& view);

    std::vector<glm::vec2> waypoints_;
    float cruise_;
    std::size_t next_ = 0;
};
