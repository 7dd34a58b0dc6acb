#pragma once

#include <glm/glm.hpp>

#include <vector>

// Steps the level's 14 bodies (ground plane, player and star spheres, enemy, goal, wall and fence
// boxes, the bridge capsule along x) three ways, with the same push on the player every step:
//  - through our physics layer (a PhysicsWorld of its own, simulate + fetchResults as the frame does);
//  - in a plain btDiscreteDynamicsWorld with Bullet's defaults;
//  - in a plain btDiscreteDynamicsWorld set up as the layer sets up its own (contact distance,
//    multipoint contacts, box faces, the exact sphere-box contact, solver passes), so the layer's
//    own cost shows apart from the cost of the settings it chose.
// Bullet keeps some settings in process-wide globals, which the layer sets when its first world
// is built; the plain worlds run after that and so share them (friction and restitution averaging,
// contact breaking threshold, sleep delay).
struct PhysicsTimes {
    int steps = 0;
    int rounds = 0;
    // Seconds for `steps` steps: the best and the median round.
    double layerBest = 0, layerMedian = 0;
    double rawBest = 0, rawMedian = 0;
    double matchedBest = 0, matchedMedian = 0;
    // Where each world left the player after the last round: the worlds should roughly agree.
    glm::vec3 layerPlayer{0.0f}, rawPlayer{0.0f}, matchedPlayer{0.0f};
};

PhysicsTimes comparePhysics(const std::vector<glm::vec3>& levelPositions, int steps, int rounds);

// glorbit_bench --physics: no window, only the layer against raw Bullet with the same settings, as one line
// "physics step: layer X us, raw Bullet Y us, ratio Z" (per-step medians over interleaved rounds of the
// level as the game builds it). Returns the process's exit code.
int printPhysicsStep(int steps);
