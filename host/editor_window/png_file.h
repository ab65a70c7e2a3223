// Writes an image as PNG, complete or not at all (through a PendingFile).
#pragma once

#include <string>

#include "host/editor_window/editor_host_window.h"

// Throws std::runtime_error when the file cannot be written.
void writePng(const RgbaImage& image, const std::string& path);
