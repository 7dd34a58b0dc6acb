// assetgen: makes every run-time file of the game under one assets folder, checks it, writes it.
//
//   assetgen <assets-dir>            generate, check in memory, write, read back and check again
//   assetgen --check <assets-dir>    only check the files that are there
//   assetgen --view <out.png> [<assets-dir>]
//                                    draw the models with the game's own classes and shaders
//                                    (run from the build folder, under a display)
//   assetgen --icons <folder>        the application icon, <folder>/{64,256}/org.glorbit.glorbit.png
#include "AssetSet.h"
#include "Icon.h"
#include "Viewer.h"

#include <filesystem>
#include <iostream>
#include <string>

namespace {

int report(const assetgen::CheckLog& log, const assetgen::SkinningReport& skinning) {
    for (const std::string& note : log.notes)
        std::cout << note << std::endl;
    for (size_t c = 0; c < skinning.clipNames.size(); ++c)
        std::cout << "zub clip " << skinning.clipNames[c] << ": " << skinning.clipTicks[c]
                  << " ticks, largest vertex travel " << skinning.maxDisplacement[c]
                  << ", largest miss of the design " << skinning.maxDeviation[c] << std::endl;
    for (const std::string& failure : log.failures)
        std::cout << "FAILED: " << failure << std::endl;
    std::cout << (log.ok() ? "all checks passed" : "checks failed") << std::endl;
    return log.ok() ? 0 : 1;
}

int usage() {
    std::cout << "usage: assetgen <assets-dir> | --check <assets-dir> | --view <out.png> [<assets-dir>]"
                 " | --icons <folder>"
              << std::endl;
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return usage();
    const std::string first = argv[1];
    if (first == "--check") {
        if (argc != 3)
            return usage();
        if (!std::filesystem::is_directory(argv[2])) {
            std::cout << "no assets folder at " << argv[2] << std::endl;
            return 1;
        }
        assetgen::CheckLog log;
        assetgen::SkinningReport skinning;
        const assetgen::FileSet files = assetgen::readAssets(argv[2], log);
        if (log.ok())
            assetgen::checkAssets(files, log, &skinning);
        return report(log, skinning);
    }
    if (first == "--view") {
        if (argc != 3 && argc != 4)
            return usage();
        std::string error;
        if (!assetgen::renderPreview(argv[2], argc == 4 ? argv[3] : "../assets", error)) {
            std::cout << "cannot render the preview: " << error << std::endl;
            return 1;
        }
        std::cout << "wrote " << argv[2] << std::endl;
        return 0;
    }
    if (first == "--icons") {
        if (argc != 3)
            return usage();
        std::string error;
        if (!assetgen::writeIcons(argv[2], "org.glorbit.glorbit", error)) {
            std::cout << "cannot write the icons: " << error << std::endl;
            return 1;
        }
        std::cout << "wrote the icons into " << argv[2] << std::endl;
        return 0;
    }
    if (argc != 2 || first.rfind("--", 0) == 0)
        return usage();

    assetgen::FileSet files;
    std::string error;
    if (!assetgen::generateAssets(files, error)) {
        std::cout << "cannot generate the assets: " << error << std::endl;
        return 1;
    }
    // Nothing is written unless the fresh files pass.
    assetgen::CheckLog fresh;
    assetgen::SkinningReport skinning;
    assetgen::checkAssets(files, fresh, &skinning);
    if (!fresh.ok())
        return report(fresh, skinning);
    if (!assetgen::writeAssets(first, files, error)) {
        std::cout << "cannot write the assets: " << error << std::endl;
        return 1;
    }
    assetgen::CheckLog written;
    assetgen::SkinningReport writtenSkinning;
    const assetgen::FileSet back = assetgen::readAssets(first, written);
    for (const auto& [path, bytes] : files)
        written.expect(back.count(path) && back.at(path) == bytes, path + " did not read back as written");
    if (written.ok())
        assetgen::checkAssets(back, written, &writtenSkinning);
    for (const auto& [path, bytes] : files)
        std::cout << "wrote " << path << " (" << bytes.size() << " bytes)" << std::endl;
    return report(written, writtenSkinning);
}
