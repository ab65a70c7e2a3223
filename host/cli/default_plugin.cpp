#include <string>

#include "host/cli/commands.h"
#include "host/loader/executable_folder.h"

std::string defaultPluginPath() {
#if defined(_WIN64)
    return executableFolder() + "\\roomplate-x64.dll";
#elif defined(_WIN32)
    return executableFolder() + "\\roomplate.dll";
#else
    return executableFolder() + "/roomplate.so";
#endif
}
