#include "host/loader/executable_folder.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>

#include <climits>
#endif

std::string executableFolder() {
#if defined(_WIN32)
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string file(path, length);
    const auto slash = file.find_last_of("\\/");
#else
    char path[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    std::string file(path, length > 0 ? static_cast<std::size_t>(length) : 0);
    const auto slash = file.find_last_of('/');
#endif
    return slash == std::string::npos ? std::string(".") : file.substr(0, slash);
}
