// The plug-in's state through a host's streams. A stream may move fewer
// bytes than asked for in one call: both directions loop until done.
//
// Threads: the main thread (the state extension's calls).
#pragma once

#include <clap/clap.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// Far above any state of ours: a stream that never ends is refused, not read into memory without end.
constexpr std::size_t kMaxStateBytes = 1 << 20;

// False when the stream reports an error or stops taking bytes.
bool writeWholeState(const clap_ostream_t* stream, const std::vector<std::uint8_t>& bytes);
// Reads until the stream ends; false on an error or past kMaxStateBytes.
bool readWholeState(const clap_istream_t* stream, std::vector<std::uint8_t>& bytes);
