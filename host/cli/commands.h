// The subcommands of the roomplate CLI; each registers its options and its action.
#pragma once

#include <string>

namespace CLI {
class App;
}

// Frames per processing call, for render and bench alike.
constexpr int kDefaultBlockFrames = 512;
constexpr int kMaxBlockFrames = 8192;

void addInfoCommand(CLI::App& app);
void addRenderCommand(CLI::App& app);
void addBenchCommand(CLI::App& app);
void addSnapshotCommand(CLI::App& app);
#if !defined(_WIN32)
// Linux: the editor inside an X11 window, as a Linux host shows it.
void addEditCommand(CLI::App& app);
#endif

// The plug-in built beside this executable (roomplate.so, roomplate.dll or
// roomplate-x64.dll), or on Linux the installed one in ../lib/lxvst when none is there.
std::string defaultPluginPath();
