// libFuzzer target: each input played by Vst3Harness::playEvents (vst3_harness.h) to an
// instance kept across inputs.
#include "tests/fuzz/fuzz_target.h"
#include "tests/fuzz/vst3_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return playOrAbort<Vst3Harness, &Vst3Harness::playEvents>("vst3_events_fuzzer", data, size);
}
