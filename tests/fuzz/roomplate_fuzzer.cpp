// libFuzzer target: every input is a sequence of host calls to a Roomplate
// instance made through the exported entry. A failed check aborts, so that
// libFuzzer saves the input.
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/call_sequence_harness.h"
#include "tests/fuzz/roomplate_entry_point.h"

namespace {
// Eight full blocks an input: enough to reach the tail of every stage, and
// quick enough under the sanitizers for a few hundred inputs a second.
constexpr std::int64_t kFramesAnInput = 8 * 4096;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    HarnessOptions options;
    options.entry = VSTPluginMain;
    options.windows = defaultParentWindows();
    options.frameBudget = kFramesAnInput;
    const std::string failure = runCallSequence(data, size, options);
    if (!failure.empty()) {
        std::fprintf(stderr, "roomplate_fuzzer: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
