// What a ReverbPlugin tells its editor about parameter changes. The editor
// implements it beside EditorInterface (ReverbEditor : EditorBase,
// ParameterListener); ReverbPlugin finds it on the editor its factory made.
#pragma once

#include <cstdint>

class ParameterListener {
public:
    // Called by ReverbPlugin::setParameter after the engine has stored the value,
    // on whichever thread set it, with any index (also outside 0 … 57).
    virtual void setParameter(std::int32_t index, float value) = 0;

protected:
    ~ParameterListener() = default;  // the editor is deleted as an EditorInterface
};
