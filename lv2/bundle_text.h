// The Turtle files of the bundle roomplate.lv2, written from the plug-in
// model (kParameterTable) and the port layout, never by hand per parameter:
// manifest.ttl, the plug-in with its ports and units, the UI, the presets.
// Run at build time by roomplate-lv2-ttl.
#pragma once

#include <string>

class BundleText {
public:
    // version: "MAJOR.MINOR.MICRO" as the build names it.
    explicit BundleText(std::string version);

    std::string manifest() const;
    std::string plugin() const;
    std::string ui() const;
    std::string presets() const;

    static constexpr const char* kManifestFile = "manifest.ttl";
    static constexpr const char* kPluginFile = "roomplate.ttl";
    static constexpr const char* kUiFile = "roomplate_ui.ttl";
    static constexpr const char* kPresetsFile = "presets.ttl";

private:
    std::string audioPorts() const;
    std::string controlPorts() const;
    std::string enabledPort() const;
    std::string units() const;

    std::string version;
    int minorVersion = 0;
    int microVersion = 0;
};

// The shortest decimal text that reads back as exactly this float, always
// with a point or an exponent, so Turtle takes it as a number with a fraction.
std::string turtleNumber(float value);
