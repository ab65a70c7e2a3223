#include "tools/docgen/parameter_doc.h"

#include <cstdio>

#include "editor/editor_layout.h"
#include "reverb/parameter_table.h"
#include "reverb/value_converters.h"

namespace {

using Converter = void (*)(float value, char* text);

struct DisplayUnit {
    Converter converter;
    const char* range;  // what the display shows over the knob's travel
};

constexpr DisplayUnit kDisplayUnits[] = {
    {percentText, "0% … 100%"},     {mText60, "0 m … 60 m"},       {msText90, "0 ms … 90 ms"},
    {msText120, "0 ms … 120 ms"},   {msText180, "0 ms … 180 ms"},  {msText200, "0 ms … 200 ms"},
    {decibelText, "-oo db … 0 db"}, {hertzText, "0 Hz … 7350 Hz"},
};

bool isSwitch(int parameter) { return kParameterTable[parameter].kind == ParameterKind::kStageSwitch; }

std::string displayRange(int parameter) {
    if (isSwitch(parameter)) return "on / off";
    if (parameter == kAbout) return "shows the credits";
    for (const DisplayUnit& unit : kDisplayUnits)
        if (unit.converter == kParameterTable[parameter].converter) return unit.range;
    return "0.00 … 1.00";
}

// The value as the editor shows it: the display's text beside the raw value.
std::string shownValue(int parameter, float value) {
    char number[32];
    std::snprintf(number, sizeof(number), "%g", static_cast<double>(value));
    if (isSwitch(parameter)) return std::string(value != 0.0f ? "on" : "off");
    if (parameter == kAbout) return number;
    char text[kConverterTextSize] = {};
    valueText(kParameterTable[parameter].converter, value, text);
    return std::string(number) + " (" + text + ")";
}

std::string labelOf(const ParameterInfo& info) {
    std::string label = info.faceLabel;
    if (info.faceColumn[0] != '\0') label = std::string(info.faceColumn) + " " + label;
    return label;
}

}  // namespace

std::string parameterTableMarkdown() {
    std::string table =
        "| # | Label on the face | Name in hosts (symbol) | What it does | How the value v maps | Display | \"Init\" | "
        "\"Dattorro\" |\n"
        "|---|---|---|---|---|---|---|---|\n";
    for (const ParameterInfo& info : kParameterTable) {
        table += "| " + std::to_string(info.id) + " | " + labelOf(info) + " | " + info.name + " (`" + info.symbol +
                 "`) | " + info.meaning + " | " + info.mapping + " | " + displayRange(info.id) + " | " +
                 shownValue(info.id, info.initValue) + " | " + shownValue(info.id, info.dattorroValue) + " |\n";
    }
    return table;
}
