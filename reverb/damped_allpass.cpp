#include "reverb/damped_allpass.h"

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <xmmintrin.h>
#endif

#include "reverb/vector_clones.h"

DampedAllpass::DampedAllpass(std::int32_t length) : DelayBlock(length) {}

ROOMPLATE_VECTOR_CLONES void DampedAllpass::runAfterLowpass(const float* input, const float* lowpassed, float* cells,
                                                            float* output, std::int32_t steps, float gain,
                                                            float feedback) {
    std::int32_t n = 0;
#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
    const __m128 gains = _mm_set1_ps(gain), feedbacks = _mm_set1_ps(feedback);
    const __m128 lowerLimit = _mm_set1_ps(-kStoreLimit), upperLimit = _mm_set1_ps(kStoreLimit);
    for (; n + 4 <= steps; n += 4) {
        const __m128 in = _mm_loadu_ps(input + n);
        const __m128 out = _mm_sub_ps(_mm_loadu_ps(lowpassed + n), _mm_mul_ps(gains, in));
        const __m128 fedBack = _mm_mul_ps(_mm_mul_ps(feedbacks, _mm_loadu_ps(cells + n)), gains);
        __m128 stored = _mm_add_ps(_mm_add_ps(in, _mm_mul_ps(gains, out)), fedBack);
        // maxps (a, b) is a > b ? a : b and minps a < b ? a : b, b where
        // unordered: the selections of stepAfterLowpass, NaN passing.
        stored = _mm_max_ps(lowerLimit, stored);
        stored = _mm_min_ps(upperLimit, stored);
        _mm_storeu_ps(cells + n, stored);
        _mm_storeu_ps(output + n, out);
    }
#endif
    for (; n < steps; ++n) output[n] = stepAfterLowpass(input[n], lowpassed[n], cells[n], gain, feedback);
}
