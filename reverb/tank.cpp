#include "reverb/tank.h"

#include <algorithm>
#include <cmath>

#include "reverb/scaled_distance.h"

Tank::Tank(const EngineSizes& sizes)
    : allpassLength(sizes.tankAllpassLength),
      delayLength(sizes.tankDelayLength),
      allpasses{{Allpass(allpassLength), Allpass(allpassLength), Allpass(allpassLength), Allpass(allpassLength)}},
      delays{{TapDelay(delayLength), TapDelay(delayLength), TapDelay(delayLength), TapDelay(delayLength)}} {}

void Tank::updateTimes(const AllpassTimes& allpassTimes, const DelayTimes& delayTimes) {
    for (std::int32_t j = 0; j < kAllpassCount; ++j)
        allpassDistances[j] = scaledDistance(allpassLength, allpassTimes[j]);
    for (std::int32_t j = 0; j < kDelayCount; ++j) delayTaps[j] = scaledDistance(delayLength, delayTimes[j]);
}

// Pair by pair: the feedback and the damping filters carry from one pair to
// the next. Cut where any of its lines would wrap; filter states and feedback
// values stay in locals for the run.
void Tank::run(const float* diffused, float* tankOutput, std::int32_t pairs, const RunControls& c) {
    const std::array<std::int32_t, kAllpassCount>& distance = allpassDistances;
    const std::array<std::int32_t, kDelayCount>& tap = delayTaps;
    const float gainAB = c.tankGainAB, gainCD = c.tankGainCD, damping1 = c.damping1, damping2 = c.damping2;
    const float decay1 = c.decay1, decay2 = c.decay2, feed1Into2 = c.feed1Into2, feed2Into1 = c.feed2Into1;
    TwoPoleLowpass damping1State = damping1Filter, damping2State = damping2Filter;
    float fromBranch1 = feedback1, fromBranch2 = feedback2;
    for (std::int32_t done = 0; done < pairs;) {
        std::int32_t steps = pairs - done;
        for (std::int32_t j = 0; j < kAllpassCount; ++j) {
            steps = std::min(steps, allpasses[j].stepsBeforeWrap(distance[j]));
            steps = std::min(steps, delays[j].stepsBeforeWrap(tap[j]));
        }
        const DelayBlock::RunCells cellsA = allpasses[kAllpassA].runCells(distance[kAllpassA]);
        const DelayBlock::RunCells cellsB = allpasses[kAllpassB].runCells(distance[kAllpassB]);
        const DelayBlock::RunCells cellsC = allpasses[kAllpassC].runCells(distance[kAllpassC]);
        const DelayBlock::RunCells cellsD = allpasses[kAllpassD].runCells(distance[kAllpassD]);
        const DelayBlock::RunCells delay1 = delays[0].runCells(tap[0]);
        const DelayBlock::RunCells delay2 = delays[1].runCells(tap[1]);
        const DelayBlock::RunCells delay3 = delays[2].runCells(tap[2]);
        const DelayBlock::RunCells delay4 = delays[3].runCells(tap[3]);
        const float* in = diffused + done;
        float* out = tankOutput + done;
        for (std::int32_t n = 0; n < steps; ++n) {
            const float s = in[n];
            const float a1 = Allpass::step(s + fromBranch2, cellsA.delayed[n], cellsA.current[n], gainAB);
            delay1.current[n] = a1;
            const float a2 = Allpass::step(s + fromBranch1, cellsB.delayed[n], cellsB.current[n], gainAB);
            delay2.current[n] = a2;
            const float l1 = damping1State.filter(delay1.delayed[n], damping1);
            const float l2 = damping2State.filter(delay2.delayed[n], damping2);
            const float c1 = Allpass::step(-decay1 * l1, cellsC.delayed[n], cellsC.current[n], gainCD);
            delay3.current[n] = c1;
            fromBranch1 = delay3.delayed[n] * feed1Into2;
            const float c2 = Allpass::step(-decay2 * l2, cellsD.delayed[n], cellsD.current[n], gainCD);
            delay4.current[n] = c2;
            fromBranch2 = delay4.delayed[n] * feed2Into1;
            out[n] = a1 + l1 + c1 + a2 + l2 + c2;
        }
        for (Allpass& allpass : allpasses) allpass.endRun(steps);
        for (TapDelay& delay : delays) delay.advanceBy(steps);
        done += steps;
    }
    damping1Filter = damping1State;
    damping2Filter = damping2State;
    feedback1 = fromBranch1;
    feedback2 = fromBranch2;
}

void Tank::skip(std::int32_t pairs) {
    for (TapDelay& delay : delays) delay.advanceBy(pairs);
}

void Tank::clear() {
    for (Allpass& allpass : allpasses) allpass.clear();
    for (TapDelay& delay : delays) delay.clear();
    damping1Filter.reset();
    damping2Filter.reset();
    feedback1 = 0.0f;
    feedback2 = 0.0f;
}

bool Tank::feedbackBeyond(float level) const {
    return !(std::fabs(feedback1) <= level) || !(std::fabs(feedback2) <= level);  // NaN fails the comparison
}
