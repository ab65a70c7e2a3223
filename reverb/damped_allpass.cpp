#include "reverb/damped_allpass.h"
#include "reverb/vector_clones.h"

DampedAllpass::DampedAllpass(std::int32_t length) : DelayBlock(length) {}

// A loop of stepAfterLowpass's operations without state, which the compiler
// vectorizes (eight steps at a time with AVX2); the two limits compile to
// maxps and minps, whose results (NaN passing) are the selections'.
ROOMPLATE_VECTOR_CLONES void DampedAllpass::runAfterLowpass(const float* input, const float* lowpassed, float* cells,
                                                            float* output, std::int32_t steps, float gain,
                                                            float feedback) {
#pragma GCC ivdep  // output may be input, step for step; the cells are apart from both
    for (std::int32_t n = 0; n < steps; ++n)
        output[n] = stepAfterLowpass(input[n], lowpassed[n], cells[n], gain, feedback);
}
