#include "reverb/tank.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "reverb/scaled_distance.h"
#include "reverb/vector_clones.h"

Tank::Tank(const EngineSizes& sizes)
    : allpassLength(sizes.tankAllpassLength),
      delayLength(sizes.tankDelayLength),
      allpasses{{Allpass(allpassLength), Allpass(allpassLength), Allpass(allpassLength), Allpass(allpassLength)}},
      delays{{TapDelay(delayLength), TapDelay(delayLength), TapDelay(delayLength), TapDelay(delayLength)}} {}

void Tank::updateTimes(const AllpassTimes& allpassTimes, const DelayTimes& delayTimes) {
    const std::array<std::int32_t, kAllpassCount> distancesBefore = allpassDistances;
    const std::array<std::int32_t, kDelayCount> tapsBefore = delayTaps;
    for (std::int32_t j = 0; j < kAllpassCount; ++j)
        allpassDistances[j] = scaledDistance(allpassLength, allpassTimes[j]);
    for (std::int32_t j = 0; j < kDelayCount; ++j) delayTaps[j] = scaledDistance(delayLength, delayTimes[j]);
    if (allpassDistances != distancesBefore || delayTaps != tapsBefore)
        piecesReadAheadUpTo = longestPieceReadingAhead();
}

// Cut where any of its lines would wrap; filter states and feedback values
// stay in locals for the run.
void Tank::run(const float* diffused, float* tankOutput, std::int32_t pairs, const RunControls& c) {
    RunState state{damping1Filter, damping2Filter, feedback1, feedback2};
    for (std::int32_t done = 0; done < pairs;) {
        const std::int32_t steps = stepsBeforeWrap(pairs - done);
        if (readsBeforeWrites(steps))
            runByStages(diffused + done, tankOutput + done, steps, c, state);
        else
            runPairByPair(diffused + done, tankOutput + done, steps, c, state);
        advanceLines(steps);
        done += steps;
    }
    damping1Filter = state.damping1;
    damping2Filter = state.damping2;
    feedback1 = state.fromBranch1;
    feedback2 = state.fromBranch2;
}

// The feedback and the damping filters carry from one pair to the next; a
// short distance or tap reads what this piece wrote.
void Tank::runPairByPair(const float* diffused, float* tankOutput, std::int32_t steps, const RunControls& c,
                         RunState& state) {
    const std::array<std::int32_t, kAllpassCount>& distance = allpassDistances;
    const std::array<std::int32_t, kDelayCount>& tap = delayTaps;
    const float gainAB = c.tankGainAB, gainCD = c.tankGainCD, damping1 = c.damping1, damping2 = c.damping2;
    const float decay1 = c.decay1, decay2 = c.decay2, feed1Into2 = c.feed1Into2, feed2Into1 = c.feed2Into1;
    TwoPoleLowpass damping1State = state.damping1, damping2State = state.damping2;
    float fromBranch1 = state.fromBranch1, fromBranch2 = state.fromBranch2;
    const DelayBlock::RunCells cellsA = allpasses[kAllpassA].runCells(distance[kAllpassA]);
    const DelayBlock::RunCells cellsB = allpasses[kAllpassB].runCells(distance[kAllpassB]);
    const DelayBlock::RunCells cellsC = allpasses[kAllpassC].runCells(distance[kAllpassC]);
    const DelayBlock::RunCells cellsD = allpasses[kAllpassD].runCells(distance[kAllpassD]);
    const DelayBlock::RunCells delay1 = delays[0].runCells(tap[0]);
    const DelayBlock::RunCells delay2 = delays[1].runCells(tap[1]);
    const DelayBlock::RunCells delay3 = delays[2].runCells(tap[2]);
    const DelayBlock::RunCells delay4 = delays[3].runCells(tap[3]);
    for (std::int32_t n = 0; n < steps; ++n) {
        const float s = diffused[n];
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
        tankOutput[n] = a1 + l1 + c1 + a2 + l2 + c2;
    }
    state = {damping1State, damping2State, fromBranch1, fromBranch2};
}

// An allpass distance of 0 or of the length reads the cursor cell before the
// step writes it. Otherwise a distance or tap of at least `steps` and at most
// length − `steps` reads cells the piece does not write. (A delay writes its
// cell before it reads its tap, so a tap of 0 or the length reads the pair's
// own sample and stays with the pair-by-pair path.) So pieces up to the
// shortest min(d, length − d) do; worked out once a block.
std::int32_t Tank::longestPieceReadingAhead() const {
    std::int32_t longest = std::numeric_limits<std::int32_t>::max();
    for (std::int32_t distance : allpassDistances) {
        const bool ownCell = distance == 0 || distance == allpassLength;
        if (!ownCell) longest = std::min({longest, distance, allpassLength - distance});
    }
    for (std::int32_t tap : delayTaps) longest = std::min({longest, tap, delayLength - tap});
    return longest;
}

// The damping lowpasses read only delayed cells, and each branch's feedback
// into the other comes from a tap the piece does not write: both are known
// before any allpass runs, so only the lowpasses go pair by pair, and the
// allpasses and sums go through the piece in one loop without state.
void Tank::runByStages(const float* diffused, float* tankOutput, std::int32_t steps, const RunControls& c,
                       RunState& state) {
    const float damping1 = c.damping1, damping2 = c.damping2;
    const DelayBlock::RunCells delay1 = delays[0].runCells(delayTaps[0]);
    const DelayBlock::RunCells delay2 = delays[1].runCells(delayTaps[1]);
    float lowpassed1[RunControls::kLongestRun], lowpassed2[RunControls::kLongestRun];
    TwoPoleLowpass damping1State = state.damping1, damping2State = state.damping2;
    for (std::int32_t n = 0; n < steps; ++n) {
        lowpassed1[n] = damping1State.filter(delay1.delayed[n], damping1);
        lowpassed2[n] = damping2State.filter(delay2.delayed[n], damping2);
    }
    state.damping1 = damping1State;
    state.damping2 = damping2State;
    branchesAfterDamping(diffused, lowpassed1, lowpassed2, tankOutput, steps, c, state);
}

ROOMPLATE_VECTOR_CLONES void Tank::branchesAfterDamping(const float* diffused, const float* lowpassed1,
                                                        const float* lowpassed2, float* tankOutput, std::int32_t steps,
                                                        const RunControls& c, RunState& state) {
    const float gainAB = c.tankGainAB, gainCD = c.tankGainCD, decay1 = c.decay1, decay2 = c.decay2;
    const float feed1Into2 = c.feed1Into2, feed2Into1 = c.feed2Into1;
    const DelayBlock::RunCells delay1 = delays[0].runCells(delayTaps[0]);
    const DelayBlock::RunCells delay2 = delays[1].runCells(delayTaps[1]);
    const DelayBlock::RunCells delay3 = delays[2].runCells(delayTaps[2]);
    const DelayBlock::RunCells delay4 = delays[3].runCells(delayTaps[3]);
    // Pair n takes what pair n − 1 read off delays 3 and 4.
    float fromBranch1[RunControls::kLongestRun], fromBranch2[RunControls::kLongestRun];
    fromBranch1[0] = state.fromBranch1;
    fromBranch2[0] = state.fromBranch2;
    for (std::int32_t n = 1; n < steps; ++n) {
        fromBranch1[n] = delay3.delayed[n - 1] * feed1Into2;
        fromBranch2[n] = delay4.delayed[n - 1] * feed2Into1;
    }
    state.fromBranch1 = delay3.delayed[steps - 1] * feed1Into2;
    state.fromBranch2 = delay4.delayed[steps - 1] * feed2Into1;

    const DelayBlock::RunCells cellsA = allpasses[kAllpassA].runCells(allpassDistances[kAllpassA]);
    const DelayBlock::RunCells cellsB = allpasses[kAllpassB].runCells(allpassDistances[kAllpassB]);
    const DelayBlock::RunCells cellsC = allpasses[kAllpassC].runCells(allpassDistances[kAllpassC]);
    const DelayBlock::RunCells cellsD = allpasses[kAllpassD].runCells(allpassDistances[kAllpassD]);
#pragma GCC ivdep  // each line's cells apart from every other line's and from the signals
    for (std::int32_t n = 0; n < steps; ++n) {
        const float s = diffused[n];
        const float l1 = lowpassed1[n], l2 = lowpassed2[n];
        const float a1 = Allpass::step(s + fromBranch2[n], cellsA.delayed[n], cellsA.current[n], gainAB);
        delay1.current[n] = a1;
        const float a2 = Allpass::step(s + fromBranch1[n], cellsB.delayed[n], cellsB.current[n], gainAB);
        delay2.current[n] = a2;
        const float c1 = Allpass::step(-decay1 * l1, cellsC.delayed[n], cellsC.current[n], gainCD);
        delay3.current[n] = c1;
        const float c2 = Allpass::step(-decay2 * l2, cellsD.delayed[n], cellsD.current[n], gainCD);
        delay4.current[n] = c2;
        tankOutput[n] = a1 + l1 + c1 + a2 + l2 + c2;
    }
}

inline std::int32_t Tank::stepsBeforeWrap(std::int32_t pairs) const {
    std::int32_t steps = pairs;
    for (std::int32_t j = 0; j < kAllpassCount; ++j) {
        steps = std::min(steps, allpasses[j].stepsBeforeWrap(allpassDistances[j]));
        steps = std::min(steps, delays[j].stepsBeforeWrap(delayTaps[j]));
    }
    return steps;
}

inline void Tank::advanceLines(std::int32_t steps) {
    for (Allpass& allpass : allpasses) allpass.endRun(steps);
    for (TapDelay& delay : delays) delay.advanceBy(steps);
}

void Tank::dampingInputs(std::int32_t pairs, const float* inputs[2], float* const scratch[2]) const {
    for (std::int32_t i = 0; i < 2; ++i) inputs[i] = delays[i].tapRun(delayTaps[i], pairs, scratch[i]);
}

// Cut where any line would wrap, as run does.
void Tank::runAfterDamping(const float* diffused, const float* damped1, const float* damped2, float* tankOutput,
                           std::int32_t pairs, const RunControls& c,
                           const std::array<TwoPoleLowpass, 2>& dampingAfter) {
    RunState state{dampingAfter[0], dampingAfter[1], feedback1, feedback2};
    for (std::int32_t done = 0; done < pairs;) {
        const std::int32_t steps = stepsBeforeWrap(pairs - done);
        branchesAfterDamping(diffused + done, damped1 + done, damped2 + done, tankOutput + done, steps, c, state);
        advanceLines(steps);
        done += steps;
    }
    damping1Filter = dampingAfter[0];
    damping2Filter = dampingAfter[1];
    feedback1 = state.fromBranch1;
    feedback2 = state.fromBranch2;
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
