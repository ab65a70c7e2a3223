#include "lv2/bundle_text.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <utility>

#include "lv2/plugin_uris.h"
#include "lv2/port_layout.h"
#include "reverb/parameter_table.h"

namespace {

constexpr const char* kPrefixes =
    "@prefix doap:  <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf:  <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix lv2:   <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix opts:  <http://lv2plug.in/ns/ext/options#> .\n"
    "@prefix pset:  <http://lv2plug.in/ns/ext/presets#> .\n"
    "@prefix rdfs:  <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix ui:    <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n\n";

// Port values run 0 … 1 in every format; the editor shows them scaled. A
// standard unit on such a port would label 0.5 as "0.5 ms" where the editor
// shows 45 ms, so each display kind gets a unit of its own that says the
// scale (units:conversion for the linear ones).
struct DisplayUnit {
    ValueConverter converter;
    const char* name;    // fragment of the unit's URI
    const char* label;   // what the value is
    const char* symbol;  // the editor's unit
    const char* to;      // standard unit the value converts to by factor, or null
    float factor;
};
constexpr DisplayUnit kDisplayUnits[] = {
    {percentText, "percent", "fraction of 100 %", "%", "units:pc", 100.0f},
    {mText60, "metres60", "fraction of 60 m", "m", "units:m", 60.0f},
    {msText90, "ms90", "fraction of 90 ms", "ms", "units:ms", 90.0f},
    {msText120, "ms120", "fraction of 120 ms", "ms", "units:ms", 120.0f},
    {msText180, "ms180", "fraction of 180 ms", "ms", "units:ms", 180.0f},
    {msText200, "ms200", "fraction of 200 ms", "ms", "units:ms", 200.0f},
    {decibelText, "gain", "linear gain, shown in dB", "dB", nullptr, 0.0f},
    {hertzText, "frequency", "filter coefficient 2 sin(pi f / 44100), shown as f in Hz", "Hz", nullptr, 0.0f},
};

const DisplayUnit* unitOf(const ParameterInfo& info) {
    if (info.converter == nullptr) return nullptr;
    for (const DisplayUnit& unit : kDisplayUnits)
        if (unit.converter == info.converter) return &unit;
    throw std::logic_error(std::string("no LV2 unit for the display of ") + info.symbol);
}

std::string unitUri(const DisplayUnit& unit) {
    return std::string("<") + lv2_uris::kPlugin + "#unit-" + unit.name + ">";
}

// A Turtle string: quotes and backslashes escaped (the model's texts have no line breaks).
std::string quoted(const char* text) {
    std::string result = "\"";
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '"' || *c == '\\') result += '\\';
        result += *c;
    }
    return result + "\"";
}

std::string uri(const char* text) { return std::string("<") + text + ">"; }

std::string presetBody(const char* uriText, const char* label, float ParameterInfo::*value) {
    std::string text = uri(uriText) + "\n    a pset:Preset ;\n    lv2:appliesTo " + uri(lv2_uris::kPlugin) +
                       " ;\n    rdfs:label " + quoted(label) + " ;\n    lv2:port";
    for (std::int32_t id = 0; id < lv2_ports::kSoundParameterCount; ++id) {
        const ParameterInfo& info = kParameterTable[id];
        text += std::string(id == 0 ? " [\n" : " , [\n") + "        lv2:symbol " + quoted(info.symbol) +
                " ;\n        pset:value " + turtleNumber(info.*value) + "\n    ]";
    }
    return text + " .\n";
}

}  // namespace

std::string turtleNumber(float value) {
    char text[32];
    for (int digits = 1; digits <= 9; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
        if (std::strtof(text, nullptr) == value) break;
    }
    std::string result = text;
    if (result.find_first_of(".e") == std::string::npos) result += ".0";
    return result;
}

BundleText::BundleText(std::string version) : version(std::move(version)) {
    if (std::sscanf(this->version.c_str(), "%*d.%d.%d", &minorVersion, &microVersion) != 2)
        throw std::invalid_argument("version is not MAJOR.MINOR.MICRO: " + this->version);
}

std::string BundleText::manifest() const {
    return std::string(kPrefixes) + uri(lv2_uris::kPlugin) + "\n    a lv2:Plugin ;\n    lv2:binary " +
           uri(lv2_uris::kPluginBinary) + " ;\n    rdfs:seeAlso " + uri(kPluginFile) + " .\n\n" + uri(lv2_uris::kUi) +
           "\n    a ui:X11UI ;\n    ui:binary " + uri(lv2_uris::kUiBinary) + " ;\n    rdfs:seeAlso " + uri(kUiFile) +
           " .\n\n" + uri(lv2_uris::kInitPreset) + "\n    a pset:Preset ;\n    lv2:appliesTo " +
           uri(lv2_uris::kPlugin) + " ;\n    rdfs:seeAlso " + uri(kPresetsFile) + " .\n\n" +
           uri(lv2_uris::kDattorroPreset) + "\n    a pset:Preset ;\n    lv2:appliesTo " + uri(lv2_uris::kPlugin) +
           " ;\n    rdfs:seeAlso " + uri(kPresetsFile) + " .\n";
}

std::string BundleText::plugin() const {
    return std::string(kPrefixes) + units() + uri(lv2_uris::kPlugin) +
           "\n    a lv2:Plugin , lv2:ReverbPlugin , doap:Project ;\n"
           "    doap:name \"Roomplate\" ;\n"
           "    doap:shortdesc \"Algorithmic reverb: room reflections, plate diffusion and tank, comb bank\" ;\n"
           "    doap:license <http://opensource.org/licenses/MIT> ;\n"
           "    doap:maintainer [ foaf:name \"The Roomplate developers\" ] ;\n"
           "    doap:release [ doap:revision " +
           quoted(version.c_str()) + " ] ;\n    lv2:minorVersion " + std::to_string(minorVersion) +
           " ;\n    lv2:microVersion " + std::to_string(microVersion) +
           " ;\n"
           "    lv2:optionalFeature lv2:hardRTCapable ;\n"
           "    ui:ui " +
           uri(lv2_uris::kUi) + " ;\n    lv2:port" + audioPorts() + controlPorts() + enabledPort() + " .\n";
}

std::string BundleText::ui() const {
    return std::string(kPrefixes) + uri(lv2_uris::kUi) +
           "\n    a ui:X11UI ;\n"
           "    lv2:requiredFeature ui:parent ;\n"
           "    lv2:optionalFeature ui:idleInterface , ui:resize , ui:touch , opts:options , "
           "<http://lv2plug.in/ns/ext/urid#map> ;\n"
           "    opts:supportedOption ui:scaleFactor ;\n"
           "    lv2:extensionData ui:idleInterface .\n";
}

std::string BundleText::presets() const {
    return std::string(kPrefixes) + presetBody(lv2_uris::kInitPreset, "Init", &ParameterInfo::initValue) + "\n" +
           presetBody(lv2_uris::kDattorroPreset, "Dattorro", &ParameterInfo::dattorroValue);
}

std::string BundleText::audioPorts() const {
    std::string text;
    for (std::uint32_t index = 0; index < lv2_ports::kAudioPortCount; ++index) {
        const lv2_ports::AudioPortInfo& port = lv2_ports::kAudioPorts[index];
        text += std::string(index == 0 ? " [\n" : " , [\n") + "        a lv2:" + (port.input ? "Input" : "Output") +
                "Port , lv2:AudioPort ;\n        lv2:index " + std::to_string(index) + " ;\n        lv2:symbol " +
                quoted(port.symbol) + " ;\n        lv2:name " + quoted(port.name) + "\n    ]";
    }
    return text;
}

std::string BundleText::controlPorts() const {
    std::string text;
    for (std::int32_t id = 0; id < lv2_ports::kSoundParameterCount; ++id) {
        const ParameterInfo& info = kParameterTable[id];
        text += " , [\n        a lv2:InputPort , lv2:ControlPort ;\n        lv2:index " +
                std::to_string(lv2_ports::portOf(info.id)) + " ;\n        lv2:symbol " + quoted(info.symbol) +
                " ;\n        lv2:name " + quoted(info.name) + " ;\n        rdfs:comment " + quoted(info.meaning) +
                " ;\n        lv2:default " + turtleNumber(info.initValue) +
                " ;\n        lv2:minimum 0.0 ;\n        lv2:maximum 1.0";
        if (info.kind == ParameterKind::kStageSwitch) text += " ;\n        lv2:portProperty lv2:toggled";
        if (const DisplayUnit* unit = unitOf(info)) text += " ;\n        units:unit " + unitUri(*unit);
        text += "\n    ]";
    }
    return text;
}

std::string BundleText::enabledPort() const {
    return " , [\n        a lv2:InputPort , lv2:ControlPort ;\n        lv2:index " +
           std::to_string(lv2_ports::kEnabledPort) + " ;\n        lv2:symbol " + quoted(lv2_ports::kEnabledSymbol) +
           " ;\n        lv2:name \"Enabled\" ;\n        lv2:designation lv2:enabled ;\n"
           "        lv2:default 1.0 ;\n        lv2:minimum 0.0 ;\n        lv2:maximum 1.0 ;\n"
           "        lv2:portProperty lv2:toggled\n    ]";
}

std::string BundleText::units() const {
    std::string text;
    for (const DisplayUnit& unit : kDisplayUnits) {
        text += unitUri(unit) + "\n    a units:Unit ;\n    rdfs:label " + quoted(unit.label) + " ;\n    units:symbol " +
                quoted(unit.symbol);
        if (unit.to != nullptr)
            text += std::string(" ;\n    units:conversion [\n        units:to ") + unit.to +
                    " ;\n        units:factor " + turtleNumber(unit.factor) + "\n    ]";
        text += " .\n\n";
    }
    return text;
}
