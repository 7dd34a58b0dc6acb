#include "physics/Level.h"

#include <cassert>
#include <cstring>

namespace {

using Shape = CollisionShape;
using Look = PieceLook;
constexpr PieceMaterial Ground = PieceMaterial::Ground, Object = PieceMaterial::Object;
constexpr int Fixed = -1;
const glm::vec3 None(0.0f), Upright(0.0f);
// The stone and the creature lie on their side in their files.
const glm::vec3 OnItsSide(270.0f, 0.0f, 270.0f);
const glm::vec4 Red(1.0f, 0.0f, 0.0f, 1.0f), Unused(0.0f);
// The goal and the walls are drawn exactly as large as they collide.
const glm::vec3 GoalHalf(25.0f, 5.0f, 2.5f), Wall1Half(30.0f, 5.0f, 2.5f), Wall2Half(20.0f, 5.0f, 2.5f),
    Wall3Half(30.0f, 5.0f, 2.5f);
const glm::vec3 EnemyHalf(5.0f, 6.0f, 1.0f), EnemyScale(1.0f, 4.2f, 4.2f);

std::vector<LevelPiece> buildPieces() {
    // The ground's plane turns the ground box's local x up: it is drawn 0.5 thick and 300 x 300 wide.
    // The bridge's capsule lies along the actor's x axis; its cylinder is made along y and turned.
    // The fences close the level and are not drawn; their inner faces lie at x = -74 and 74, z = 39
    // and -150.
    // clang-format off
    return {
        // name     shape      entry  fixed at       collision       half extents        excl.  material density
        //          look            drawn size              drawn rotation       colour
        {"ground",  nullptr,   9,     None,          Shape::Plane,   None,               true,  Ground,  0.0f,
                    Look::Box,      {0.5f, 300.0f, 300.0f}, Upright,             {0.31f, 0.25f, 0.123f, 1.0f}},
        {"player",  "player",  0,     None,          Shape::Sphere,  {1.1f, 0, 0},       true,  Ground,  120.0f,
                    Look::Creature, glm::vec3(1.0f),        OnItsSide,           Unused},
        {"star",    "star",    1,     None,          Shape::Sphere,  {2.0f, 0, 0},       true,  Object,  20.0f,
                    Look::Star,     {2.0f, 0, 0},           Upright,             glm::vec4(1000.0f)},
        {"goal",    "goal",    4,     None,          Shape::Box,     GoalHalf,           true,  Object,  0.0f,
                    Look::Box,      2.0f * GoalHalf,        Upright,             Red},
        {"enemy1",  "enemy",   2,     None,          Shape::Box,     EnemyHalf,          false, Object,  12.0f,
                    Look::Stone,    EnemyScale,             OnItsSide,           Unused},
        {"enemy2",  "enemy",   3,     None,          Shape::Box,     EnemyHalf,          false, Object,  12.0f,
                    Look::Stone,    EnemyScale,             OnItsSide,           Unused},
        {"bridge",  "bridge",  5,     None,          Shape::Capsule, {15.0f, 100.5f, 0}, true,  Object,  0.0f,
                    Look::Cylinder, {15.0f, 200.0f, 0},     {0.0f, 0.0f, 90.0f}, {0.0f, 1.0f, 1.0f, 1.0f}},
        {"wall1",   "wall1",   6,     None,          Shape::Box,     Wall1Half,          true,  Object,  0.0f,
                    Look::Box,      2.0f * Wall1Half,       Upright,             Red},
        {"wall2",   "wall2",   7,     None,          Shape::Box,     Wall2Half,          true,  Object,  0.0f,
                    Look::Box,      2.0f * Wall2Half,       Upright,             Red},
        {"wall3",   "wall3",   8,     None,          Shape::Box,     Wall3Half,          true,  Object,  0.0f,
                    Look::Box,      2.0f * Wall3Half,       Upright,             Red},
        {"fence_a", "fence_a", Fixed, {0, 0, 40},    Shape::Box,     {75, 15, 1},        false, Object,  0.0f,
                    Look::Hidden,   None,                   Upright,             Unused},
        {"fence_b", "fence_b", Fixed, {-75, 0, -60}, Shape::Box,     {1, 15, 100},       false, Object,  0.0f,
                    Look::Hidden,   None,                   Upright,             Unused},
        {"fence_c", "fence_c", Fixed, {0, 0, -151},  Shape::Box,     {75, 15, 1},        false, Object,  0.0f,
                    Look::Hidden,   None,                   Upright,             Unused},
        {"fence_d", "fence_d", Fixed, {75, 0, -60},  Shape::Box,     {1, 15, 100},       false, Object,  0.0f,
                    Look::Hidden,   None,                   Upright,             Unused},
    };
    // clang-format on
}

} // namespace

const std::vector<LevelPiece>& levelPieces() {
    static const std::vector<LevelPiece> pieces = buildPieces();
    return pieces;
}

const LevelPiece& levelPiece(const char* name) {
    for (const LevelPiece& piece : levelPieces())
        if (std::strcmp(piece.name, name) == 0)
            return piece;
    assert(!"no level piece of that name");
    return levelPieces().front();
}

std::vector<glm::vec3> levelLayout() {
    return {{0, 2, 15},    {0, 2, -15},   {25, 6, -120}, {-25, 6, -120}, {0, 5, -150},
            {0, -12, -40}, {-45, 0, -75}, {0, 2, -40},   {45, 0, -75},   {0, -0.8f, 0}};
}
