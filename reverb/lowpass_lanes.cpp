#include "reverb/lowpass_lanes.h"

#if ROOMPLATE_LOWPASS_LANES_SSE

LowpassLanes::LowpassLanes(const std::array<TwoPoleLowpass, kLanes>& filters)
    : stage1(
          _mm_setr_ps(filters[0].getStage1(), filters[1].getStage1(), filters[2].getStage1(), filters[3].getStage1())),
      stage2(_mm_setr_ps(filters[0].getStage2(), filters[1].getStage2(), filters[2].getStage2(),
                         filters[3].getStage2())) {}

void LowpassLanes::filterOneStep(const float* const inputs[kLanes], float* const outputs[kLanes], std::int32_t n,
                                 float coefficient) {
    const __m128 input = _mm_setr_ps(inputs[0][n], inputs[1][n], inputs[2][n], inputs[3][n]);
    alignas(16) float output[kLanes];
    _mm_store_ps(output, step(input, _mm_set1_ps(1.0f - coefficient), _mm_set1_ps(coefficient)));
    for (std::int32_t j = 0; j < kLanes; ++j) outputs[j][n] = output[j];
}

std::array<TwoPoleLowpass, LowpassLanes::kLanes> LowpassLanes::filters() const {
    alignas(16) float stages1[kLanes], stages2[kLanes];
    _mm_store_ps(stages1, stage1);
    _mm_store_ps(stages2, stage2);
    std::array<TwoPoleLowpass, kLanes> result;
    for (std::int32_t j = 0; j < kLanes; ++j) result[j].setState(stages1[j], stages2[j]);
    return result;
}

#else  // one filter after the other

LowpassLanes::LowpassLanes(const std::array<TwoPoleLowpass, kLanes>& filters) : lanes(filters) {}

void LowpassLanes::filterOneStep(const float* const inputs[kLanes], float* const outputs[kLanes], std::int32_t n,
                                 float coefficient) {
    for (std::int32_t j = 0; j < kLanes; ++j) outputs[j][n] = lanes[j].filter(inputs[j][n], coefficient);
}

std::array<TwoPoleLowpass, LowpassLanes::kLanes> LowpassLanes::filters() const { return lanes; }

#endif
