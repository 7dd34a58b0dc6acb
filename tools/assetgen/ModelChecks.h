#pragma once

#include "CheckLog.h"
#include "FbxWriter.h"

#include <string>
#include <vector>

// Re-imports written FBX files and holds them to what was meant and to what the game needs.
namespace assetgen {

// What the creature's clips do to its mesh when posed by the game's own loader and animator.
struct SkinningReport {
    std::vector<std::string> clipNames;
    std::vector<int> clipTicks;
    std::vector<float> maxDisplacement; // per clip: the farthest any vertex moves from the bind pose
    std::vector<float> maxDeviation;    // per clip: the largest distance from the designed motion
    float restDeviation = -1.0f;        // identity joints against the bind mesh
    float firstFrameRest = -1.0f;       // the idle and wave clips start at rest: their tick 0 vs bind
};

// The creature: node tree and joint ids, mesh against `intended`, weights, keys on every tick,
// rotation limits, and the skinned mesh through the game's loader at every tick and half tick.
void checkCreature(const std::string& fbx, const ModelDesc& intended, CheckLog& log,
                   SkinningReport* report = nullptr);

// The stone enemy: a static mesh against `intended` that fills its box, centred, facing +x.
// `extentTolerance`: how far (relative) the half extents may be from filling the physics box; a
// coarser lattice may miss the full mesh's outermost points.
void checkStone(const std::string& fbx, const ModelDesc& intended, CheckLog& log,
                const std::string& what = "stone enemy", float extentTolerance = 0.005f);

} // namespace assetgen
