// A failure a subcommand reports as one line on stderr and exit code 2.
#pragma once

#include <stdexcept>
#include <string>

class CommandError : public std::runtime_error {
public:
    explicit CommandError(const std::string& message) : std::runtime_error(message) {}
};

constexpr int kExitUsage = 2;
