#include "AssetSet.h"

#include "DefaultTexture.h"
#include "Image.h"
#include "ImageChecks.h"
#include "SkyBox.h"
#include "StoneEnemy.h"
#include "ZubModel.h"
#include "ZubRig.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace assetgen {

namespace {

namespace fs = std::filesystem;

const char* const ZubPath = "zub/zub.fbx";
const char* const StonePath = "enemy/Stone_enemy2.fbx";
const char* const StoneLowDetailPath = "enemy/Stone_enemy2_low.fbx";
const char* const DefaultTexturePath = "default_tex.png";
const char* const SettingsPath = "settings.ini";

std::string zubTexturePath() {
    return std::string("zub/") + zub::TextureFile;
}
std::string stoneTexturePath() {
    return std::string("enemy/") + stone::TextureFile;
}
std::string skyPath(size_t face) {
    return std::string("emap/") + sky::faceFiles()[face];
}

} // namespace

const std::string& settingsText() {
    static const std::string text = "[window]\n"
                                    "width = 1280\n"
                                    "height = 768\n"
                                    "fullscreen = false\n"
                                    "resizeable = false\n"
                                    "title = glorbit\n"
                                    "refreshrate = 60\n"
                                    "brightness = 1\n"
                                    "; Frames never start more often than this many per second (0: no cap).\n"
                                    "; The world takes one 1/60 s step per frame, so 60 plays in real time.\n"
                                    "framecap = 60\n"
                                    "; Internal resolution of the scene, sky and glow relative to the window:\n"
                                    "; auto lowers it (never below 0.5) only where a frame would not fit in\n"
                                    "; 1/60 s, as with software rendering; or a fixed number from 0.5 to 1.\n"
                                    "renderscale = auto\n";
    return text;
}

ModelDesc creatureDesign() {
    ModelDesc model;
    model.meshNodeName = "Zub";
    model.materialName = "ZubFur";
    model.textureFile = zub::TextureFile;
    model.mesh = zub::mesh();
    model.skeleton = zub::skeleton();
    model.clips = zub::clipKeys();
    model.ticksPerSecond = zub::TicksPerSecond;
    return model;
}

ModelDesc stoneDesign(int coarseness) {
    ModelDesc model;
    model.meshNodeName = "StoneEnemy";
    model.materialName = "Stone";
    model.textureFile = stone::TextureFile;
    model.mesh = stone::mesh(coarseness);
    return model;
}

std::vector<std::string> assetPaths() {
    std::vector<std::string> paths = {SettingsPath,     DefaultTexturePath, ZubPath,
                                      zubTexturePath(), StonePath,          stoneTexturePath(),
                                      StoneLowDetailPath};
    for (size_t f = 0; f < 6; ++f)
        paths.push_back(skyPath(f));
    return paths;
}

bool generateAssets(FileSet& files, std::string& error) {
    files.clear();
    files[SettingsPath] = settingsText();
    files[DefaultTexturePath] = encodePng(defaultTexture());

    files[ZubPath] = writeFbx(creatureDesign(), error);
    if (files[ZubPath].empty()) {
        error = "zub: " + error;
        return false;
    }
    files[zubTexturePath()] = encodePng(zub::texture());

    files[StonePath] = writeFbx(stoneDesign(), error);
    if (files[StonePath].empty()) {
        error = "stone enemy: " + error;
        return false;
    }
    files[stoneTexturePath()] = encodePng(stone::texture());
    files[StoneLowDetailPath] = writeFbx(stoneDesign(stone::LowDetailCoarseness), error);
    if (files[StoneLowDetailPath].empty()) {
        error = "stone enemy, low detail: " + error;
        return false;
    }

    for (size_t f = 0; f < 6; ++f)
        files[skyPath(f)] = encodeJpeg(sky::face(static_cast<int>(f)), sky::JpegQuality);
    return true;
}

void checkAssets(const FileSet& files, CheckLog& log, SkinningReport* report) {
    for (const std::string& path : assetPaths())
        if (!files.count(path)) {
            log.fail("missing " + path);
            return;
        }
    log.expect(files.at(SettingsPath) == settingsText(), "settings.ini differs from the committed settings");
    checkDefaultTexture(files.at(DefaultTexturePath), DefaultTextureSize, log);
    checkCreature(files.at(ZubPath), creatureDesign(), log, report);
    checkTexture("zub texture", files.at(zubTexturePath()), zub::TextureSize, 0.08f, log);
    checkStone(files.at(StonePath), stoneDesign(), log);
    // The coarser lattice may miss an outermost point by up to half a fine step.
    checkStone(files.at(StoneLowDetailPath), stoneDesign(stone::LowDetailCoarseness), log, "stone enemy, low detail",
               0.02f);
    checkTexture("stone texture", files.at(stoneTexturePath()), stone::TextureSize, 0.05f, log);
    std::array<std::string, 6> faces;
    for (size_t f = 0; f < 6; ++f)
        faces[f] = files.at(skyPath(f));
    checkSky(faces, sky::FaceSize, log);
}

FileSet readAssets(const std::string& folder, CheckLog& log) {
    FileSet files;
    for (const std::string& path : assetPaths()) {
        std::ifstream in(fs::path(folder) / path, std::ios::binary);
        if (!in) {
            log.fail("cannot read " + (fs::path(folder) / path).string());
            continue;
        }
        std::ostringstream bytes;
        bytes << in.rdbuf();
        files[path] = bytes.str();
    }
    return files;
}

bool writeAssets(const std::string& folder, const FileSet& files, std::string& error) {
    for (const auto& [path, bytes] : files) {
        const fs::path target = fs::path(folder) / path;
        const fs::path temporary = fs::path(target.string() + ".part");
        std::error_code ec;
        fs::create_directories(target.parent_path(), ec);
        if (ec) {
            error = "cannot create " + target.parent_path().string() + ": " + ec.message();
            return false;
        }
        {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            out.close();
            if (!out) {
                fs::remove(temporary, ec);
                error = "cannot write " + target.string();
                return false;
            }
        }
        fs::rename(temporary, target, ec);
        if (ec) {
            fs::remove(temporary, ec);
            error = "cannot replace " + target.string() + ": " + ec.message();
            return false;
        }
    }
    return true;
}

} // namespace assetgen
