#include <string>
#include <system_error>

#if !defined(_WIN32)
#include <filesystem>
#endif

#include "host/cli/commands.h"
#include "host/loader/executable_folder.h"

// The Roomplate plug-in lies beside the CLI in a build folder and in an
// archive; an installed CLI (PREFIX/bin) finds it in PREFIX/lib/lxvst.
std::string defaultPluginPath() {
#if defined(_WIN64)
    return executableFolder() + "\\roomplate-x64.dll";
#elif defined(_WIN32)
    return executableFolder() + "\\roomplate.dll";
#else
    const std::string beside = executableFolder() + "/roomplate.so";
    const std::string installed = executableFolder() + "/../lib/lxvst/roomplate.so";
    std::error_code error;
    if (!std::filesystem::exists(beside, error) && std::filesystem::exists(installed, error)) return installed;
    return beside;
#endif
}
