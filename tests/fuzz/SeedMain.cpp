// Writes small seed files for the model fuzz target into the folder given: the model tests'
// creature (three clips, a skinned mesh) and a static mesh, both as ASCII FBX.
#include "SceneBuilder.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: model_fuzz_seeds <folder>" << std::endl;
        return 2;
    }
    const std::string folder = argv[1];
    auto creature = testscene::creatureScene(3, 3);
    auto plain = testscene::newScene();
    testscene::addMaterial(plain.get(), {"skin.png"});
    testscene::addMesh(plain.get(), "Plain", 2);
    testscene::attachMesh(testscene::addNode(plain->mRootNode, "Plain"), 0);
    const bool written = testscene::writeScene(creature.get(), folder + "/creature.fbx", "fbxa") &&
                         testscene::writeScene(plain.get(), folder + "/plain.fbx", "fbxa");
    if (!written)
        std::cerr << "could not write the seeds into " << folder << std::endl;
    return written ? 0 : 1;
}
