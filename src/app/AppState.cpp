#include "app/AppState.h"

AppState& appState() {
    // Never destroyed: the player's joints and clips are owned for the whole run and only reached
    // through it, so it stays reachable until the process ends (destroying it would only free memory).
    static AppState* state = new AppState();
    return *state;
}
