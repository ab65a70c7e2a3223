// The process-wide state of the loaded library and the steps of the VST 2
// entry point, shared by every plug-in built on this frame.
#pragma once

#include <atomic>

#include "frame/effect_base.h"

// Identifies the loaded library to resource loading and window-class
// registration (the module instance on Windows). Written before any instance exists.
extern void* moduleHandle;

// Set when an instance's editor could not be created; every later entry call
// in this process then refuses its instance. Atomic: instances may be made
// on several threads at once.
extern std::atomic<bool> outOfMemory;

using InstanceFactory = EffectBase* (*)(HostCallback hostCallback);

// Asks the host for its version, creates one instance and answers its record,
// or null when there is no host, no memory or no editor.
AEffect* runPluginMain(HostCallback hostCallback, InstanceFactory createInstance);
