// The --scale option of the commands that show an editor (snapshot, edit):
// the factor, which plug-in can draw at it, and telling the plug-in before
// its editor opens.
#pragma once

#include <string>

#include "host/loader/hosted_plugin.h"

namespace CLI {
class App;
}

class EditorScaleOption {
public:
    void addTo(CLI::App& command);
    // The plug-in to load: the one named, or when none is (empty) the one
    // beside this program: the VST 2 plug-in at 1, the CLAP one at other
    // factors (the VST 2 one keeps its 512 x 512 face).
    std::string pluginFor(const std::string& named) const;
    // Before the editor opens: a plug-in that keeps its size is a CommandError.
    void applyTo(HostedPlugin& plugin) const;

    float factor = 1.0f;
};
