#pragma once

#include "Skeleton.h"
#include "Surface.h"

#include <string>
#include <vector>

// Writes a model as ASCII FBX through Assimp's exporter, in the shape the game's loader reads:
// the root holds an "Armature" node (when there is a skeleton) with every joint below it, and the
// mesh on a node of its own beside it.
namespace assetgen {

struct ModelDesc {
    std::string meshNodeName;
    std::string materialName;
    std::string textureFile; // a bare file name; the game looks for it next to the model
    MeshData mesh;
    std::vector<SkeletonJoint> skeleton; // empty for a static model
    std::vector<ClipKeys> clips;
    int ticksPerSecond = 24;
};

// The file's bytes, or an empty string with `error` set.
std::string writeFbx(const ModelDesc& model, std::string& error);

// The exporter stamps the file with the local time; pinning the stamp makes regeneration
// reproducible. Returns false when the text has no such block.
bool pinCreationTimeStamp(std::string& fbxText);

} // namespace assetgen
