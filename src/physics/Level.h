#pragma once

#include <glm/glm.hpp>

#include <cstddef>
#include <vector>

// The level, described once: the physics world builds an actor for every piece, in table order,
// and the start-up draws every piece that has a look. Plain numbers only: the app turns the drawn
// shapes into meshes.

enum class CollisionShape { Plane, Sphere, Box, Capsule };
enum class PieceMaterial { Ground, Object }; // the world's groundMaterial or objectMaterial
// How the start-up draws a piece: generated shapes, the loaded models, or not at all.
enum class PieceLook { Hidden, Star, Stone, Creature, Box, Cylinder };

struct LevelPiece {
    const char* name;      // the actor's name, which the rules and the loop read
    const char* shapeName; // the enemies' shared box is "enemy"; null for the ground plane
    int entry;             // index into the level positions; -1: at `fixedAt`
    glm::vec3 fixedAt;
    CollisionShape shape;
    // Box: half extents. Sphere: x is the radius. Capsule: x the radius, y the half height, along
    // the actor's x axis. Plane: y = 0, facing up.
    glm::vec3 halfExtents;
    // A shared (not exclusive) shape also serves the pieces right after it with the same shape name.
    bool exclusive;
    PieceMaterial material;
    float density; // a dynamic body's; 0 for a static actor
    PieceLook look;
    // Box: width, height and depth along the model's x, y, z. Cylinder: x the radius, y the length
    // along the model's y. Sphere: x the radius. Scale of the loaded models.
    glm::vec3 drawnSize;
    glm::vec3 drawnRotation; // degrees about x, y, z
    glm::vec4 colour;
};

// Every piece, in the order the world builds them: ground, player, star, goal, enemy1, enemy2,
// bridge, wall1-wall3, fence_a-fence_d.
const std::vector<LevelPiece>& levelPieces();
// The piece of that actor name; asserts that there is one.
const LevelPiece& levelPiece(const char* name);

// Where the pieces with an entry start: player, star, enemy1, enemy2, goal, bridge, wall1, wall2,
// wall3, ground.
std::vector<glm::vec3> levelLayout();
