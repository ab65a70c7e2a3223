// The body of a libFuzzer target over a harness kept for the whole run: the
// input played by Harness::*play; a failed check is printed and aborts, so
// that libFuzzer saves the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

template <typename Harness, std::string (Harness::*play)(const std::uint8_t*, std::size_t)>
int playOrAbort(const char* fuzzer, const std::uint8_t* data, std::size_t size) {
    static Harness harness;
    const std::string failure = (harness.*play)(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "%s: %s\n", fuzzer, failure.c_str());
        std::abort();
    }
    return 0;
}
