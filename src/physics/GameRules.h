#pragma once

#include <string>

namespace physx {
class PxActor;
}

// The game's outcome lives in actor names: the contact rules rename the two actors of the deciding touch,
// the main loop reads the star's name after each step.
namespace gamerules {

// Texts the rules compare with and write; they live for the whole process, as actor names must.
extern const char* const starName;
extern const char* const goalName;
extern const char* const enemyMarker; // contained in both enemies' names
extern const char* const wonName;
extern const char* const lostName;
extern const char* const wonLine;
extern const char* const lostLine;

enum class Outcome { None, Won, Lost };

// The outcome of a touch between actors named `first` and `second` (in report order): the star meeting the
// goal wins, the star meeting an enemy loses, in either order; anything else decides nothing.
Outcome decide(const std::string& first, const std::string& second);

// True once the star's actor has been renamed "won" or "lost". A missing actor or name is a running game.
bool gameIsOver(const physx::PxActor* star);

} // namespace gamerules
