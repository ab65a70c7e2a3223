// libFuzzer target: each input played by ClapHarness::playEvents (clap_harness.h) to an
// instance kept across inputs.
#include "tests/fuzz/clap_harness.h"
#include "tests/fuzz/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return playOrAbort<ClapHarness, &ClapHarness::playEvents>("clap_events_fuzzer", data, size);
}
