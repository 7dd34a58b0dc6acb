#pragma once

#include "Skeleton.h"

#include <glm/glm.hpp>

#include <vector>

// The creature's skeleton and its three clips.
//
// The game's animator composes finalTransform = L · offset · parent's final, applying the parent's
// matrix to a vertex first; ids 0 and 1 are held at identity and only the armature has an offset
// (identity here: the armature sits at the origin). So the rig is designed the other way round:
// every joint gets a model-space rigid motion M (what its vertices should undergo, identity at
// rest), built the usual way, child motion = parent motion · local articulation about a pivot; the
// key is then solved from M = L · M_parent. All joint nodes sit at the origin in the bind pose, so
// the rest key is the identity and the mesh at rest is the bind mesh.
namespace assetgen::zub {

enum JointId : int {
    Armature = 0,
    Root,
    Body,
    EarL,
    EarLTip,
    EarR,
    EarRTip,
    ArmL,
    ArmR,
    Tail,
    TailTip,
    FootL,
    FootR,
    JointCount
};

// Depth-first pre-order, exactly as the game hands out ids.
const std::vector<SkeletonJoint>& skeleton();

enum ClipId : int { Walk = 0, Idle, Wave, ClipCount };
struct ClipInfo {
    const char* name;
    int ticks; // the last key equals the first: the game wraps the clock at `ticks`
};
const std::vector<ClipInfo>& clipInfos();
constexpr int TicksPerSecond = 24;

// The designed motion of every joint at a (possibly fractional) tick.
std::vector<glm::mat4> designedMotion(int clip, float tick);

// Keys for the file, solved from the designed motion.
std::vector<ClipKeys> clipKeys();

// An upper bound on how far any vertex may travel from the bind pose in each clip, with margin;
// the checks hold the skinned mesh to it.
float designedReach(int clip);

} // namespace assetgen::zub
