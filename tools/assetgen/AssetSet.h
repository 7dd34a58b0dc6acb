#pragma once

#include "CheckLog.h"
#include "FbxWriter.h"
#include "ModelChecks.h"

#include <map>
#include <string>
#include <vector>

// The whole set of run-time files, made in memory, checked, then written.
namespace assetgen {

// File contents by path relative to the assets folder ("zub/zub.fbx", "emap/top.jpg", ...).
using FileSet = std::map<std::string, std::string>;

// The settings file as committed; the generator writes the same bytes.
const std::string& settingsText();

// The designed models without their textures: what the checks compare the files against.
ModelDesc creatureDesign();
// `coarseness` 1 is the full mesh; see stone::mesh.
ModelDesc stoneDesign(int coarseness = 1);

// Every file's relative path, in the order they are made.
std::vector<std::string> assetPaths();

// Makes every file. Returns false with `error` when something cannot be made.
bool generateAssets(FileSet& files, std::string& error);

// Runs every check on a set of files (fresh or read back from disk).
void checkAssets(const FileSet& files, CheckLog& log, SkinningReport* report = nullptr);

// Reads the set from `folder`; a missing or unreadable file is a failure in `log`.
FileSet readAssets(const std::string& folder, CheckLog& log);

// Writes each file through a temporary name and a rename, so no half-written file is ever left in
// place. Folders are created as needed.
bool writeAssets(const std::string& folder, const FileSet& files, std::string& error);

} // namespace assetgen
