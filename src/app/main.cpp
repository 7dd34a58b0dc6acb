#include "app/Game.h"

#include <GLFW/glfw3.h>

// Start-up in its fixed order, the loop, and shutdown. Command-line arguments are ignored.
int main() {
    Game game;
    game.settings = readSettings();
    if (!openWindow(game))
        return -1;
    buildPrograms(game);
    if (!buildLevel(game)) {
        // The player's model was refused (its loader said why); nothing has been drawn.
        glfwTerminate();
        return 1;
    }
    createCameras(game);
    setUpBloom(game);
    runLoop(game);
    glfwTerminate();
    return 0;
}
