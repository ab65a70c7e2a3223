// The plug-in's exported entry (plugin/roomplate_entry.cpp), for programs that
// build the plug-in's code in instead of loading the library.
#pragma once

#include "frame/aeffect.h"

extern "C" HOST_ENTRY AEffect* VSTCALLBACK VSTPluginMain(HostCallback hostCallback);
