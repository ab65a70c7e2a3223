#include "reverb/damped_allpass.h"

DampedAllpass::DampedAllpass(std::int32_t length) : DelayBlock(length) {}
