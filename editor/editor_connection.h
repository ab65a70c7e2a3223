// What the editor needs of the plug-in it edits, whatever the format: each
// format's binding implements it (VST 2 with automateParameter, the others
// with their hosts' edit calls). What the editor hears back, every change of
// a parameter's value, reaches it through ParameterListener.
#pragma once

#include "reverb/parameter_id.h"

class EditorConnection {
public:
    // Window thread: one gesture of the user (a drag, a click) begins; the
    // values it sets follow, then endGesture.
    virtual void beginGesture(ParameterId id) = 0;
    // Window thread: the user set the parameter to value (0 … 1).
    virtual void setFromEditor(ParameterId id, float value) = 0;
    virtual void endGesture(ParameterId id) = 0;
    // Any thread: the value the plug-in holds now, which the controls show.
    virtual float parameterValue(ParameterId id) const = 0;
    // Window thread: the value the current program was stored with, which a
    // double-click on a control returns it to.
    virtual float storedValue(ParameterId id) const = 0;

protected:
    ~EditorConnection() = default;  // never deleted through this interface
};
