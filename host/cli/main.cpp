// roomplate: a command-line VST 2 host for rendering, snapshots, information and benchmarks.
#include <CLI/CLI.hpp>
#include <cstdio>

#include "host/cli/command_error.h"
#include "host/cli/commands.h"

int main(int argc, char** argv) {
    CLI::App app{
        "roomplate: renders audio through the Roomplate reverb (or any VST 2, VST 3 or CLAP plug-in), draws its "
        "editor and benchmarks it"};
    app.set_version_flag("--version", "roomplate " ROOMPLATE_VERSION);
    app.require_subcommand(1);
    app.footer(
        "Examples:\n"
        "  roomplate render --dry-out dry.wav -o wet.wav      the built-in demo through Roomplate\n"
        "  roomplate render song.wav --program Dattorro       song-wet.wav with the plate program\n"
        "  roomplate snapshot -o editor.png                   the editor as a picture\n"
        "  roomplate info --plugin OTHER.so                   any VST 2 plug-in's record\n"
        "  roomplate SUBCOMMAND --help                        each subcommand's options");
    addRenderCommand(app);
    addInfoCommand(app);
    addBenchCommand(app);
    addSnapshotCommand(app);
#if !defined(_WIN32)
    addEditCommand(app);
#endif
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::CallForAllHelp& help) {
        return app.exit(help);
    } catch (const CLI::CallForVersion& version) {
        return app.exit(version);
    } catch (const CLI::ParseError& failure) {
        std::fprintf(stderr, "roomplate: %s\n", failure.what());
        return kExitUsage;
    } catch (const std::exception& failure) {
        // CommandError and every failure the host's classes report (files, plug-ins): one line.
        std::fprintf(stderr, "roomplate: %s\n", failure.what());
        return kExitUsage;
    }
    return 0;
}
