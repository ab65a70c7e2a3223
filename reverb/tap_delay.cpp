#include "reverb/tap_delay.h"

// The cells start at 0 (make_unique value-initialises), so a line reads silence
// even before its owner's first clear.
TapDelay::TapDelay(std::int32_t cells) : DelayBlock(cells), activeLength(capacity) {}
