// What a plug-in tells its editor about parameter changes, in every format.
// The editor implements it beside EditorInterface (ReverbEditor : EditorBase,
// ParameterListener).
#pragma once

#include <cstdint>

class ParameterListener {
public:
    // Called after the plug-in has stored the value, on whichever thread set
    // it, with any index (also outside 0 … 57). Asks the editor for an update.
    virtual void setParameter(std::int32_t index, float value) = 0;

protected:
    ~ParameterListener() = default;  // the editor is deleted as an EditorInterface
};
