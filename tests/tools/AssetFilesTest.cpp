#include "AssetSet.h"
#include "DefaultTexture.h"
#include "FbxWriter.h"
#include "ImageChecks.h"
#include "SkyBox.h"
#include "StoneEnemy.h"
#include "support/GLContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;
using namespace assetgen;

namespace {

const char* const AssetsFolder = "../assets";

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines)
        out += line + "\n";
    return out;
}

std::array<Decoded, 6> committedSkyFaces() {
    std::array<Decoded, 6> faces;
    for (size_t f = 0; f < 6; ++f)
        decodeImage(fileBytes((fs::path(AssetsFolder) / "emap" / sky::faceFiles()[f]).string()), faces[f]);
    return faces;
}

} // namespace

TEST(CommittedAssets, PassEveryCheckIncludingTheGamesSkinning) {
    CheckLog log;
    SkinningReport report;
    const FileSet files = readAssets(AssetsFolder, log);
    ASSERT_TRUE(log.ok()) << joined(log.failures);
    checkAssets(files, log, &report);
    EXPECT_TRUE(log.ok()) << joined(log.failures);

    ASSERT_EQ(report.clipNames, (std::vector<std::string>{"Walk", "Idle", "Wave"}));
    EXPECT_EQ(report.clipTicks, (std::vector<int>{24, 72, 48}));
    for (size_t c = 0; c < report.clipNames.size(); ++c) {
        // The clips really move the creature, and on every key the game's pose is the designed one.
        EXPECT_GT(report.maxDisplacement[c], 0.1f) << report.clipNames[c];
        EXPECT_LT(report.maxDeviation[c], 2e-3f) << report.clipNames[c];
    }
    EXPECT_LT(report.restDeviation, 1e-6f);
    EXPECT_LT(report.firstFrameRest, 1e-4f);
}

TEST(CommittedAssets, RegenerateByteForByteIntoAnotherFolder) {
    FileSet files;
    std::string error;
    ASSERT_TRUE(generateAssets(files, error)) << error;
    TempDir folder;
    ASSERT_TRUE(writeAssets(folder.path(), files, error)) << error;

    ASSERT_EQ(files.size(), assetPaths().size());
    for (const std::string& path : assetPaths()) {
        const std::string committed = fileBytes((fs::path(AssetsFolder) / path).string());
        const std::string fresh = fileBytes(folder.file(path));
        EXPECT_FALSE(committed.empty()) << path;
        EXPECT_TRUE(fresh == committed) << path << " differs from the committed file (" << fresh.size()
                                        << " vs " << committed.size() << " bytes)";
    }
    // Nothing half-written is left next to the files.
    for (const auto& entry : fs::recursive_directory_iterator(folder.path()))
        EXPECT_NE(entry.path().extension(), ".part") << entry.path();
}

TEST(SkyFaces, NeighbouringFacesAgreeAlongEveryEdge) {
    const std::array<Decoded, 6> faces = committedSkyFaces();
    for (const Decoded& face : faces) {
        ASSERT_EQ(face.width, sky::FaceSize);
        ASSERT_EQ(face.height, sky::FaceSize);
        ASSERT_EQ(face.channels, 3);
    }
    const EdgeAgreement right = skyEdgeAgreement(faces);
    const EdgeAgreement wrong = skyEdgeMismatch(faces);
    for (int e = 0; e < 12; ++e) {
        EXPECT_LT(right.mean[e], 1.0f) << "edge " << e;
        EXPECT_LT(right.worst[e], 16.0f) << "edge " << e;
    }
    // The same borders paired back to front differ clearly wherever the sky has any detail
    // (everything but the four edges of the plain ground-mist face), so the table has teeth.
    for (int e : {0, 2, 3, 4, 6, 7, 8, 9})
        EXPECT_GT(wrong.mean[e], 3.0f * right.mean[e] + 1.0f) << "edge " << e;

    // Swapping the east and west faces, a classic mistake, breaks the seams.
    std::array<Decoded, 6> swapped = faces;
    std::swap(swapped[0], swapped[1]);
    const EdgeAgreement broken = skyEdgeAgreement(swapped);
    float worstMean = 0.0f;
    for (int e = 0; e < 12; ++e)
        worstMean = std::max(worstMean, broken.mean[e]);
    EXPECT_GT(worstMean, 3.0f);
}

TEST(AssetWriter, ReplacesWholeFilesAndReportsAFolderItCannotMake) {
    TempDir folder;
    std::string error;
    ASSERT_TRUE(writeAssets(folder.path(), {{"a/b.txt", "first"}}, error)) << error;
    ASSERT_TRUE(writeAssets(folder.path(), {{"a/b.txt", "second"}}, error)) << error;
    EXPECT_EQ(fileBytes(folder.file("a/b.txt")), "second");
    EXPECT_FALSE(fs::exists(folder.file("a/b.txt.part")));

    // A regular file where a folder should be.
    std::ofstream(folder.file("blocker")) << "x";
    EXPECT_FALSE(writeAssets(folder.file("blocker"), {{"c.txt", "data"}}, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(fs::exists(folder.file("blocker/c.txt")));
}

TEST(AssetChecks, CatchATamperedSettingsFileAndAFlatTexture) {
    CheckLog log;
    FileSet files = readAssets(AssetsFolder, log);
    ASSERT_TRUE(log.ok());
    files["settings.ini"] += "vsync = true\n";
    Image flat(DefaultTextureSize, DefaultTextureSize, glm::vec3(0.8f));
    files["default_tex.png"] = encodePng(flat);
    CheckLog tampered;
    checkAssets(files, tampered);
    const std::string failures = joined(tampered.failures);
    EXPECT_NE(failures.find("settings.ini"), std::string::npos) << failures;
    EXPECT_NE(failures.find("default texture: nearly a flat colour"), std::string::npos) << failures;
}

// The game draws the low-detail stone in the enemies' place below full size: it must be the same
// rock on a coarser lattice, each of its points one of the full stone's with the same place on the
// texture, so that it keeps the shape, the paint and the box, with a quarter of the triangles.
TEST(StoneEnemy, TheLowDetailStoneIsTheSameRockOnEveryOtherPoint) {
    const MeshData full = stone::mesh(), low = stone::mesh(stone::LowDetailCoarseness);
    // Where each of the full stone's points lies on the texture; a pole has one place per segment.
    std::map<std::tuple<float, float, float>, std::set<std::pair<float, float>>> fullPoints;
    for (const MeshVertex& v : full.vertices)
        fullPoints[{v.position.x, v.position.y, v.position.z}].insert({v.uv.x, v.uv.y});
    int strangers = 0, moved = 0;
    for (const MeshVertex& v : low.vertices) {
        const auto found = fullPoints.find({v.position.x, v.position.y, v.position.z});
        if (found == fullPoints.end()) {
            ++strangers;
            continue;
        }
        const bool pole = found->second.size() > 2; // a seam point has two: u = 0 and u = 1
        moved += pole || found->second.count({v.uv.x, v.uv.y}) ? 0 : 1;
    }
    EXPECT_EQ(strangers, 0) << "of " << low.vertices.size() << " points are not the full stone's";
    EXPECT_EQ(moved, 0) << "of " << low.vertices.size() << " points lie elsewhere on the texture";
    const double ratio = static_cast<double>(low.indices.size()) / static_cast<double>(full.indices.size());
    EXPECT_GT(ratio, 0.22);
    EXPECT_LT(ratio, 0.27);
}
