#include "host/audio/pending_file.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <utility>

#if defined(_WIN32)
#include <process.h>
#else
#include <unistd.h>
#endif

namespace {

long processId() {
#if defined(_WIN32)
    return static_cast<long>(_getpid());
#else
    return static_cast<long>(getpid());
#endif
}

}  // namespace

PendingFile::PendingFile(std::string finalPath)
    : target(std::move(finalPath)), temporary(target + "." + std::to_string(processId()) + ".partial") {}

PendingFile::~PendingFile() {
    if (committed) return;
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
}

void PendingFile::commit() {
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error) throw std::runtime_error("cannot rename " + temporary + " to " + target + ": " + error.message());
    committed = true;
}
