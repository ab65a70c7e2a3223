#include "reverb/allpass.h"

Allpass::Allpass(std::int32_t length) : DelayBlock(length) { clear(); }

void Allpass::clear() {
    zeroCells();
    lastOutput = 0.0f;
}
