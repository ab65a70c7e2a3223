// roomplate-docgen: the generated parts of the user's guide.
//   roomplate-docgen table                      the parameter table as Markdown
//   roomplate-docgen decay PLUGIN OUT.csv       both programs' decay through the plug-in, for tools/decay-plot
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/docgen/decay_curve.h"
#include "tools/docgen/parameter_doc.h"

namespace {

constexpr float kSampleRate = 44100.0f;
constexpr double kResponseSeconds = 8.0;
constexpr double kPlotSeconds = 4.0;

int writeDecay(const char* pluginPath, const char* outputPath) {
    std::string error;
    auto plugin = HostedPlugin::load(pluginPath, error);
    if (!plugin) {
        std::fprintf(stderr, "roomplate-docgen: %s\n", error.c_str());
        return 2;
    }
    std::vector<DecayCurve> curves;
    for (int program = 0; program < plugin->effect()->numPrograms; ++program) {
        curves.push_back(measureDecay(*plugin, program, kResponseSeconds, kSampleRate));
        std::printf("%s: -60 dB after %.2f s\n", curves.back().programName.c_str(), curves.back().secondsTo60Db);
    }
    if (!writeDecayCsv(curves, kSampleRate, kPlotSeconds, outputPath)) {
        std::fprintf(stderr, "roomplate-docgen: cannot write %s\n", outputPath);
        return 2;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "table") == 0) {
        std::fputs(parameterTableMarkdown().c_str(), stdout);
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "decay") == 0) return writeDecay(argv[2], argv[3]);
    std::fprintf(stderr, "usage: roomplate-docgen table | decay PLUGIN OUT.csv\n");
    return 2;
}
