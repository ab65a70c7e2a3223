// Four two-pole lowpasses of one coefficient, each over its own signal,
// stepped together: with SSE each filter is one lane of a register, so a
// step of all four costs what one costs. Each lane does exactly
// TwoPoleLowpass::filter's operations in its order (the same IEEE single
// precision products and sums), so the results are the same to the bit.
//
// Audio thread.
#pragma once

#include <array>
#include <cstdint>

#include "reverb/two_pole_lowpass.h"

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <xmmintrin.h>
#define ROOMPLATE_LOWPASS_LANES_SSE 1
#endif

class LowpassLanes {
public:
    static constexpr std::int32_t kLanes = 4;

    explicit LowpassLanes(const std::array<TwoPoleLowpass, kLanes>& filters);

    // outputs[j][n + k] = filter j of inputs[j][n + k], for k < 4, in step
    // order. Inline: it is the body of the diffusers' run loop.
    inline void filterFourSteps(const float* const inputs[kLanes], float* const outputs[kLanes], std::int32_t n,
                                float coefficient);
    // The same for the one step n.
    void filterOneStep(const float* const inputs[kLanes], float* const outputs[kLanes], std::int32_t n,
                       float coefficient);
    // The four filters' states after the steps taken.
    std::array<TwoPoleLowpass, kLanes> filters() const;

private:
#if ROOMPLATE_LOWPASS_LANES_SSE
    __m128 step(__m128 input, __m128 keep, __m128 coefficient) {
        stage1 = _mm_add_ps(_mm_mul_ps(keep, stage1), _mm_mul_ps(coefficient, input));
        stage2 = _mm_add_ps(_mm_mul_ps(keep, stage2), _mm_mul_ps(coefficient, stage1));
        return stage2;
    }
    __m128 stage1, stage2;
#else
    std::array<TwoPoleLowpass, kLanes> lanes;
#endif
};

#if ROOMPLATE_LOWPASS_LANES_SSE
// The four signals' steps n … n + 3 as rows, turned into one register per step.
inline void LowpassLanes::filterFourSteps(const float* const inputs[kLanes], float* const outputs[kLanes],
                                          std::int32_t n, float coefficient) {
    const __m128 keep = _mm_set1_ps(1.0f - coefficient);
    const __m128 scale = _mm_set1_ps(coefficient);
    __m128 step0 = _mm_loadu_ps(inputs[0] + n), step1 = _mm_loadu_ps(inputs[1] + n);
    __m128 step2 = _mm_loadu_ps(inputs[2] + n), step3 = _mm_loadu_ps(inputs[3] + n);
    _MM_TRANSPOSE4_PS(step0, step1, step2, step3);
    step0 = step(step0, keep, scale);
    step1 = step(step1, keep, scale);
    step2 = step(step2, keep, scale);
    step3 = step(step3, keep, scale);
    _MM_TRANSPOSE4_PS(step0, step1, step2, step3);
    _mm_storeu_ps(outputs[0] + n, step0);
    _mm_storeu_ps(outputs[1] + n, step1);
    _mm_storeu_ps(outputs[2] + n, step2);
    _mm_storeu_ps(outputs[3] + n, step3);
}
#endif

#if !ROOMPLATE_LOWPASS_LANES_SSE
inline void LowpassLanes::filterFourSteps(const float* const inputs[kLanes], float* const outputs[kLanes],
                                          std::int32_t n, float coefficient) {
    for (std::int32_t k = 0; k < 4; ++k) filterOneStep(inputs, outputs, n + k, coefficient);
}
#endif
