// The folder of the running program, where the files built beside it live.
#pragma once

#include <string>

std::string executableFolder();
