// The identifiers hosts store sessions and presets by: chosen once, never changed.
#pragma once

namespace lv2_uris {

constexpr const char* kPlugin = "urn:roomplate:reverb";
constexpr const char* kUi = "urn:roomplate:reverb#ui";
constexpr const char* kInitPreset = "urn:roomplate:reverb#preset-init";
constexpr const char* kDattorroPreset = "urn:roomplate:reverb#preset-dattorro";

constexpr const char* kPluginBinary = "roomplate_lv2.so";
constexpr const char* kUiBinary = "roomplate_lv2_ui.so";

}  // namespace lv2_uris
