#include "reverb/delay_block.h"

#include <algorithm>

void DelayBlock::zeroCells() { std::fill(buffer.get(), buffer.get() + capacity, 0.0f); }
