#pragma once

#include "render/Bloom.h"
#include "render/GlowRect.h"

#include <glm/glm.hpp>

#include <vector>

struct Game;

// The level's objects as sources of glow, gathered once the level is built: each object's
// model-space box, the matrix it is drawn with (non-owning: the objects live in the Game and the
// app state for the whole run), and how far from its light it can glow.
struct GlowSource {
    const glm::mat4* modelMatrix = nullptr;
    glow::Box local;
    float reach = 0.0f;          // infinity: glows wherever it is
    bool startUpLight = false;   // lit by the creature's program, whose light stays where it began
};

struct GlowSources {
    std::vector<GlowSource> sources;
    glm::vec3 startUpLight{0.0f};
};

GlowSources collectGlowSources(const Game& game);

// The box around a model's vertices, in its own space.
glow::Box modelBounds(const Model& model);
// Whether any of a box placed by `modelMatrix` lies in front of the camera and on screen.
bool inView(const glow::Box& local, const glm::mat4& modelMatrix, const glm::mat4& viewProj);

// The scene pixels (of a sceneWidth x sceneHeight image) that can glow this frame, for objects
// drawn with `viewProj` and lit by the star at `light` (the position the lit program was given):
// a rectangle for each object that can glow, merged down to a few.
GlowRects glowArea(const GlowSources& glow, const glm::mat4& viewProj, const glm::vec3& light, int sceneWidth,
                   int sceneHeight);
