// roomplate-lv2-ttl FOLDER VERSION: writes the bundle's Turtle files into FOLDER.
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>

#include "lv2/bundle_text.h"

namespace {

void writeFile(const std::string& folder, const char* name, const std::string& text) {
    const std::string path = folder + "/" + name;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: roomplate-lv2-ttl FOLDER VERSION\n");
        return 2;
    }
    try {
        const BundleText bundle(argv[2]);
        writeFile(argv[1], BundleText::kManifestFile, bundle.manifest());
        writeFile(argv[1], BundleText::kPluginFile, bundle.plugin());
        writeFile(argv[1], BundleText::kUiFile, bundle.ui());
        writeFile(argv[1], BundleText::kPresetsFile, bundle.presets());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "roomplate-lv2-ttl: %s\n", error.what());
        return 1;
    }
    return 0;
}
