#include "app/Game.h"

#include <GLFW/glfw3.h>

// Start-up, the loop, and shutdown. Command-line arguments are ignored.
int main() {
    Game game;
    switch (startGame(game)) {
    case StartResult::NoWindow:
        return -1;
    case StartResult::PlayerRefused:
        return 1;
    case StartResult::Started:
        break;
    }
    runLoop(game);
    glfwTerminate();
    return 0;
}
