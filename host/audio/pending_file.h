// A file written under a temporary name beside its final one and renamed onto
// it only when complete, so a failed or interrupted run leaves nothing half-written.
#pragma once

#include <string>

class PendingFile {
public:
    explicit PendingFile(std::string finalPath);
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    // Removes the temporary file unless it was committed.
    ~PendingFile();

    // Where to write: beside the final path, with this process's id in its name.
    const std::string& temporaryPath() const { return temporary; }
    const std::string& finalPath() const { return target; }
    // Renames the temporary file onto the final path (replacing it); throws std::runtime_error on failure.
    void commit();

private:
    std::string target;
    std::string temporary;
    bool committed = false;
};
