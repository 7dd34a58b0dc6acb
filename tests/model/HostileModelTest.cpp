// Model files made to break the loader: each must be refused with a line (or load), never crash or
// overflow the stack. Inputs are written at test time from the model tests' creature. (Twin joints
// and a skin weight past its mesh are played end to end, in the bad-input test.)
#include "model/Joint.h"
#include "model/ModelImport.h"
#include "model/SceneImport.h"

#include "SceneBuilder.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace testscene;

namespace {

// `depth` nodes, each the only child of the one before, hung below `parent`.
aiNode* addChain(aiNode* parent, unsigned depth) {
    for (unsigned i = 0; i < depth; ++i)
        parent = addNode(parent, ("Link" + std::to_string(i)).c_str());
    return parent;
}

// The exporter and the scene's destructor recurse per level too.
void writeOnLargeStack(std::unique_ptr<aiScene> scene, const std::string& path) {
    bool written = false;
    sceneimport::runOnLargeStack([&] {
        written = writeScene(scene.get(), path, "fbxa");
        scene.reset();
    });
    ASSERT_TRUE(written) << path;
}

} // namespace

TEST(HostileModel, DeepNodeTreesNeverOverflowTheStack) {
    TempDir dir;
    auto scene = creatureScene();
    addChain(scene->mRootNode->mChildren[0], 4000); // below "Armature", within the node limit
    const std::string path = dir.file("deep.fbx");
    writeOnLargeStack(std::move(scene), path);

    CoutCapture out;
    const ImportResult<AnimatedModelData> animated = modelimport::importAnimated(path.c_str());
    EXPECT_NE(animated.reason.find("4001"), std::string::npos) << animated.reason;
    EXPECT_TRUE(out.lines().empty()) << "refused before the trees are printed";
    // The static model prints no tree: it loads, whatever the depth.
    EXPECT_EQ(modelimport::importStatic(path.c_str()).data.meshes.size(), 1u);

    // Our own tree walks on the main thread's stack: build, look up, print and free 100000 levels.
    auto chain = newScene();
    aiNode* tip = addChain(addNode(chain->mRootNode, "Armature"), 100000);
    tip->mName = "Tip";
    EXPECT_TRUE(sceneimport::meshOrder(chain.get()).empty());
    EXPECT_EQ(sceneimport::nodeDepth(chain->mRootNode), 100001u);
    int count = 0;
    std::unique_ptr<Joint, JointTreeDeleter> root(buildJointTree(chain->mRootNode, count));
    EXPECT_EQ(count, 100001);
    EXPECT_EQ(findJointId(root.get(), "Tip"), 100000);
    ASSERT_NE(findJointById(root.get(), 100000), nullptr);
    EXPECT_EQ(findJointById(root.get(), 100000)->name, "Tip");
    EXPECT_EQ(jointsById(root.get(), count).back()->name, "Tip");
    std::cout.setstate(std::ios::badbit); // the walk is the point, not 10 GB of indentation
    printJointTree(root.get(), 0);
    std::cout.clear();
    sceneimport::runOnLargeStack([&] { chain.reset(); });
}

TEST(HostileModel, MoreJointsThanTheShaderHoldsAreRefusedBeforeAnyLine) {
    // The animation shader's array holds 32 joints: exactly that many load.
    TempDir dir;
    for (unsigned extra : {27u, 28u}) {
        auto scene = creatureScene();
        for (unsigned i = 0; i < extra; ++i)
            addNode(scene->mRootNode->mChildren[0], ("Extra" + std::to_string(i)).c_str());
        const std::string file = dir.file("joints" + std::to_string(extra) + ".fbx");
        ASSERT_TRUE(writeScene(scene.get(), file, "fbxa"));
        CoutCapture out;
        EXPECT_EQ(modelimport::importAnimated(file.c_str()).loaded(), extra == 27u) << 5 + extra << " joints";
        EXPECT_EQ(out.lines().empty(), extra == 28u);
    }
    // Beyond the node limit the importer never sees the file (it would take gigabytes).
    std::string nodes;
    for (std::size_t i = 0; i <= modelimport::MaxModelNodes; ++i)
        nodes += "\tModel: " + std::to_string(i) + ", \"Model::N\", \"Null\" {\n\t}\n";
    std::ofstream(dir.file("nodes.fbx")) << nodes;
    EXPECT_NE(modelimport::importStatic(dir.file("nodes.fbx").c_str()).reason.find("4096"), std::string::npos);
}
