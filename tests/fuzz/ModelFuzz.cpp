// The model path without GL, on whatever bytes it is given: the import with the game's flags and
// checks, then both conversions (static and animated). A crash, a sanitizer report or an
// exception that is not a std::exception is a finding; a refused file is the expected outcome.
#include "model/ModelImport.h"
#include "model/SceneImport.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <iostream>
#include <string>

namespace {

const char* const FuzzPath = "fuzz/input.fbx";

void convertEverything(const std::uint8_t* data, std::size_t size) {
    Assimp::Importer importer;
    std::string assimpLine;
    const aiScene* scene;
    try {
        scene = sceneimport::readSceneFromMemory(importer, data, size, "fbx", assimpLine);
    } catch (const std::exception&) {
        return; // refused by our own checks on the imported scene
    }
    if (!scene)
        return;
    try {
        modelimport::convertStatic(scene, FuzzPath);
    } catch (const std::exception&) {
    }
    try {
        modelimport::convertAnimated(scene, FuzzPath);
    } catch (const std::exception&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The animated conversion prints the node and joint trees; millions of runs need no console.
    static const bool quiet = [] {
        std::cout.setstate(std::ios::badbit);
        return true;
    }();
    (void)quiet;
    sceneimport::runOnLargeStack([&] { convertEverything(data, size); });
    return 0;
}
