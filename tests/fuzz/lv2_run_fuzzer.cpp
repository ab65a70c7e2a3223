// libFuzzer target: each input played by Lv2Harness::play (lv2_harness.h) to an
// instance kept across inputs.
#include "tests/fuzz/fuzz_target.h"
#include "tests/fuzz/lv2_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return playOrAbort<Lv2Harness, &Lv2Harness::play>("lv2_run_fuzzer", data, size);
}
