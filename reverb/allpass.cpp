#include "reverb/allpass.h"

Allpass::Allpass(std::int32_t length) : DelayBlock(length) {}
