#include "reverb/damped_allpass.h"

DampedAllpass::DampedAllpass(std::int32_t length) : DelayBlock(length) { clear(); }

void DampedAllpass::clear() {
    zeroCells();
    lastOutput = 0.0f;
}
