#include "app/GlowArea.h"

#include "app/AppState.h"
#include "app/Game.h"

#include <cmath>

namespace {

// Float rounding in the shaders against these bounds, and the rasteriser's half pixel.
constexpr float ReachSlack = 1.05f, ReachSlackUnits = 0.5f;
constexpr int PixelSlack = 1;
// Skinning moves the creature's vertices away from their rest places by up to about this much.
constexpr float AnimationTravel = 1.0f;

float withSlack(float reach) { return std::isinf(reach) || reach <= 0.0f ? reach : reach * ReachSlack + ReachSlackUnits; }

} // namespace

glow::Box modelBounds(const Model& model) {
    glow::Box b;
    for (const Mesh& mesh : model.meshes) {
        const glow::Box m = glow::boundsOf(mesh.vertices);
        if (!m.empty()) {
            b.add(m.min);
            b.add(m.max);
        }
    }
    return b;
}

bool inView(const glow::Box& local, const glm::mat4& modelMatrix, const glm::mat4& viewProj) {
    return !glow::project(glow::worldBox(local, modelMatrix), viewProj).empty();
}

GlowSources collectGlowSources(const Game& game) {
    const AppState& state = appState();
    const glm::vec3 lightColour = state.starLight.lightColour;
    const float brightness = game.settings.brightness;
    GlowSources glow;
    glow.startUpLight = game.creatureLightPosition;

    auto lit = [&](const GameObject& object) {
        const Model& m = object.model;
        const float reach = glow::reach(glow::texturedSurface(m.objCol, m.materialCoefficients, lightColour),
                                        TextureAttenuation, brightness);
        glow.sources.push_back({&m.modelMatrix, modelBounds(m), withSlack(reach), false});
    };
    for (const GameObject* object : {&game.enemy1, &game.enemy2, &game.ground, &game.bridge, &game.wall1,
                                     &game.wall2, &game.wall3, static_cast<const GameObject*>(&state.starLight)})
        lit(*object);
    // The goal's frame glows by itself, whatever the light.
    glow.sources.push_back({&game.goal.model.modelMatrix, modelBounds(game.goal.model),
                            std::numeric_limits<float>::infinity(), false});

    const AnimatedModel& creature = state.playerObject.animatedModel;
    glow::Box rest;
    for (const SkinnedMesh& mesh : creature.meshes) {
        const glow::Box m = glow::boundsOf(mesh.vertices);
        if (!m.empty()) {
            rest.add(m.min - glm::vec3(AnimationTravel));
            rest.add(m.max + glm::vec3(AnimationTravel));
        }
    }
    const float reach = glow::reach(glow::creatureSurface(CreatureColour, creature.materialCoefficients, lightColour),
                                    AnimAttenuation, brightness);
    glow.sources.push_back({&creature.modelMatrix, rest, withSlack(reach), true});
    return glow;
}

GlowRects glowArea(const GlowSources& glow, const glm::mat4& viewProj, const glm::vec3& light, int sceneWidth,
                   int sceneHeight) {
    const auto toPixels = [](float ndc, int extent) { return (ndc + 1.0f) * 0.5f * static_cast<float>(extent); };
    GlowRects area;
    for (const GlowSource& s : glow.sources) {
        if (s.reach <= 0.0f || s.local.empty())
            continue;
        const glow::Box placed = glow::worldBox(s.local, *s.modelMatrix);
        const glow::Box lit = glow::intersect(placed, glow::around(s.startUpLight ? glow.startUpLight : light, s.reach));
        const glow::ScreenRect screen = glow::project(lit, viewProj);
        if (screen.empty())
            continue;
        area.add(PixelRect{static_cast<int>(std::floor(toPixels(screen.x0, sceneWidth))) - PixelSlack,
                           static_cast<int>(std::floor(toPixels(screen.y0, sceneHeight))) - PixelSlack,
                           static_cast<int>(std::ceil(toPixels(screen.x1, sceneWidth))) + PixelSlack,
                           static_cast<int>(std::ceil(toPixels(screen.y1, sceneHeight))) + PixelSlack});
    }
    return area;
}
