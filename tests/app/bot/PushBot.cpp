#include "PushBot.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float StarRadius = 2.0f;
constexpr float PlayerRadius = 1.1f;
constexpr float Contact = StarRadius + PlayerRadius;
constexpr float ReachedWaypoint = 4.0f;
constexpr float Pi = 3.14159265f;

glm::vec2 normalizeOr(const glm::vec2& v, const glm::vec2& fallback) {
    const float l = glm::length(v);
    return l > 1e-5f ? v / l : fallback;
}

} // namespace

PushBot::PushBot(std::vector<glm::vec2> starWaypoints, float cruiseSpeed)
    : waypoints_(std::move(starWaypoints)), cruise_(cruiseSpeed) {}

glm::vec2 PushBot::desiredPlayerVelocity(const BotView& v) {
    while (next_ + 1 < waypoints_.size() && glm::distance(v.star, waypoints_[next_]) < ReachedWaypoint)
        ++next_;
    const glm::vec2 toTarget = waypoints_[next_] - v.star;
    const glm::vec2 u = normalizeOr(toTarget, glm::vec2(0.0f, -1.0f));
    // Slow down into turns; the last waypoint lies beyond the finish, so never brake for it.
    const bool last = next_ + 1 == waypoints_.size();
    const float speed = last ? cruise_ : std::min(cruise_, 0.5f * glm::length(toTarget) + 1.0f);
    const glm::vec2 change = u * speed - v.starVelocity;

    // Push along the change the star's velocity needs; when it is on course, trail it at a distance.
    const bool onCourse = glm::length(change) < 0.5f;
    const glm::vec2 push = normalizeOr(change, u);
    const glm::vec2 fromStar = v.player - v.star;
    const float distance = glm::length(fromStar);

    // Angle between where the player stands and the spot right behind the star.
    const float behindAngle = std::atan2(-push.y, -push.x);
    const float playerAngle = std::atan2(fromStar.y, fromStar.x);
    float delta = behindAngle - playerAngle;
    while (delta > Pi)
        delta -= 2.0f * Pi;
    while (delta < -Pi)
        delta += 2.0f * Pi;

    if (std::abs(delta) < 0.35f) {
        if (onCourse)
            return v.starVelocity + (v.star - push * (Contact + 2.5f) - v.player) * 2.0f;
        // In line behind the star: walk into it, steering onto the line.
        const glm::vec2 onLine = v.star - push * distance;
        return v.starVelocity + push * 3.0f + (onLine - v.player) * 2.0f;
    }
    // Otherwise circle round the star towards that spot, a safe distance off.
    const float orbit = Contact + 2.0f;
    const float step = std::copysign(std::min(std::abs(delta), 1.0f), delta);
    const float angle = playerAngle + step;
    const glm::vec2 goal = v.star + orbit * glm::vec2(std::cos(angle), std::sin(angle));
    return v.starVelocity + (goal - v.player) * 3.0f;
}

BotKeys PushBot::decide(const BotView& v) {
    glm::vec2 want = desiredPlayerVelocity(v);
    const float limit = 9.0f;
    if (glm::length(want) > limit)
        want = glm::normalize(want) * limit;
    const glm::vec2 accel = want - v.playerVelocity;
    const glm::vec2 right(-v.forward.y, v.forward.x);
    const float ahead = glm::dot(accel, v.forward), aside = glm::dot(accel, right);
    constexpr float DeadBand = 0.25f;
    BotKeys k;
    k.w = ahead > DeadBand;
    k.s = ahead < -DeadBand;
    k.d = aside > DeadBand;
    k.a = aside < -DeadBand;
    return k;
}
