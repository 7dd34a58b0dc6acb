#include "physics/GameRules.h"

#include "physics/px/PxActor.h"

#include <cstring>

namespace gamerules {

const char* const starName = "star";
const char* const goalName = "goal";
const char* const enemyMarker = "enemy";
const char* const wonName = "won";
const char* const lostName = "lost";
const char* const wonLine = "oh wow seems like u r a good boi and saved all glorbits";
const char* const lostLine = "ups u got eaten";

Outcome decide(const std::string& first, const std::string& second) {
    const auto isEnemy = [](const std::string& name) { return name.find(enemyMarker) != std::string::npos; };
    if ((first == starName && second == goalName) || (first == goalName && second == starName))
        return Outcome::Won;
    if ((first == starName && isEnemy(second)) || (isEnemy(first) && second == starName))
        return Outcome::Lost;
    return Outcome::None;
}

bool gameIsOver(const physx::PxActor* star) {
    const char* name = star ? star->getName() : nullptr;
    return name && (std::strcmp(name, wonName) == 0 || std::strcmp(name, lostName) == 0);
}

} // namespace gamerules
