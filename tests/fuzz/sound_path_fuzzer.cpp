// libFuzzer target for the sound path and the dispatcher: the same call
// sequences as roomplate_fuzzer, played to one instance kept across inputs
// (restored before each by its own calls), the editor left out and blocks of
// at most kShortBlockFrames, so that each input costs well under a
// millisecond and the search reaches far more sequences.
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/call_sequence_harness.h"
#include "tests/fuzz/roomplate_entry_point.h"
#include "tests/fuzz/sound_path_options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static KeptInstance kept;
    const std::string failure = runCallSequence(data, size, soundPathOptions(kept));
    if (!failure.empty()) {
        std::fprintf(stderr, "sound_path_fuzzer: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
