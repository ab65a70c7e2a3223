// The extensions a Roomplate instance offers, as the C tables hosts call:
// audio-ports, params, state, latency, tail, render, gui, timer-support and
// preset-load. Each entry only forwards to ReverbClapPlugin or answers from
// the constant parameter map.
#pragma once

// Main thread (get_extension): the table for a CLAP extension id, or null.
const void* pluginExtension(const char* id);
