#include "model/ModelImport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::size_t count(const std::string& text, std::size_t limit = 1000) {
    std::istringstream in(text);
    return modelimport::countModelNodes(in, limit);
}

} // namespace

TEST(ModelNodeCount, CountsTextAndBinaryNodeRecordsOnly) {
    EXPECT_EQ(
        count(
            "Objects:  {\n\tModel: 1, \"Model::Armature\", \"Null\" {\n\t}\n"
            "\tModel: 2, \"Model::Bone\", \"LimbNode\" {\n}\n;Model::Bone, Model::Armature\nC: \"OO\",2,1\n"),
        2u);
    EXPECT_EQ(
        count(std::string("\x10\x00\x00\x00\x05Model\x03\x00", 13) + std::string("\x05Modex\x05Model12", 14)),
        2u);
    EXPECT_EQ(count("Models: 3\nModelA: 1\n\"Model: 2\"\n"), 0u);
    EXPECT_EQ(count("\tModel: 1\n\tModel: 2\n\tModel: 3\n", 2), 2u); // stops at the limit

    // A node that straddles the reads is counted once.
    for (std::size_t seam : {3u, 4u, 7u, 9u}) {
        std::string text((1u << 20) - seam, 'x');
        text += "\tModel: 1, x\n\tModel: 2, y\n";
        EXPECT_EQ(count(text), 2u) << seam;
    }
}

TEST(ModelNodeCount, TheGameModelsAreFarBelowTheLimit) {
    for (const char* path : {"../assets/zub/zub.fbx", "../assets/enemy/Stone_enemy2.fbx"}) {
        std::ifstream in(path, std::ios::binary);
        ASSERT_TRUE(in) << path;
        const std::size_t nodes = modelimport::countModelNodes(in, modelimport::MaxModelNodes);
        EXPECT_GT(nodes, 0u) << path;
        EXPECT_LT(nodes, 100u) << path;
    }
}
