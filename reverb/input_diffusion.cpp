#include "reverb/input_diffusion.h"

#include <algorithm>
#include <limits>

#include "reverb/lowpass_lanes.h"
#include "reverb/scaled_distance.h"
#include "reverb/vector_clones.h"

InputDiffusion::InputDiffusion(const EngineSizes& sizes)
    : diffuserLength(sizes.diffuserLength),
      diffusers{{DampedAllpass(sizes.diffuserLength), DampedAllpass(sizes.diffuserLength),
                 DampedAllpass(sizes.diffuserLength), DampedAllpass(sizes.diffuserLength)}} {}

void InputDiffusion::updateTimes(const Times& times) {
    const std::array<std::int32_t, kDiffuserCount> before = distances;
    for (std::int32_t j = 0; j < kDiffuserCount; ++j) distances[j] = scaledDistance(diffuserLength, times[j]);
    if (distances != before) piecesReadAheadUpTo = longestPieceReadingAhead();
}

// The run is cut where any diffuser's cells would wrap, so each piece reads
// and writes plain arrays of cells; the filter states stay in locals for the run.
void InputDiffusion::run(const float* early, float* diffused, std::int32_t pairs, const RunControls& c) {
    RunState state{bandwidthFilter, innerLowpasses()};
    for (std::int32_t done = 0; done < pairs;) {
        const std::int32_t steps = stepsBeforeWrap(pairs - done);
        if (readsBeforeWrites(steps))
            runByStages(early + done, diffused + done, steps, c, state);
        else
            runPairByPair(early + done, diffused + done, steps, c, state);
        for (std::int32_t j = 0; j < kDiffuserCount; ++j) diffusers[j].endRun(steps, state.inner[j]);
        done += steps;
    }
    bandwidthFilter = state.bandwidth;
}

// Every filter's state carries from one pair to the next; a diffuser of a
// short distance reads what this piece wrote.
void InputDiffusion::runPairByPair(const float* early, float* diffused, std::int32_t steps, const RunControls& c,
                                   RunState& state) {
    // Copies, so that no store into a cell can be taken to change them.
    const float bandwidthCoefficient = c.bandwidth, colour = c.colour, feedback = c.diffuserFeedback;
    const float gain12 = c.diffusionGain12, gain34 = c.diffusionGain34;
    TwoPoleLowpass bandwidth = state.bandwidth;
    TwoPoleLowpass inner1 = state.inner[0], inner2 = state.inner[1], inner3 = state.inner[2], inner4 = state.inner[3];
    const DelayBlock::RunCells cells1 = diffusers[0].runCells(distances[0]);
    const DelayBlock::RunCells cells2 = diffusers[1].runCells(distances[1]);
    const DelayBlock::RunCells cells3 = diffusers[2].runCells(distances[2]);
    const DelayBlock::RunCells cells4 = diffusers[3].runCells(distances[3]);
    for (std::int32_t n = 0; n < steps; ++n) {
        const float band = bandwidth.filter(early[n], bandwidthCoefficient);
        const float s1 =
            DampedAllpass::step(band, cells1.delayed[n], cells1.current[n], gain12, colour, feedback, inner1);
        const float s2 =
            DampedAllpass::step(s1, cells2.delayed[n], cells2.current[n], gain12, colour, feedback, inner2);
        const float s3 =
            DampedAllpass::step(s2, cells3.delayed[n], cells3.current[n], gain34, colour, feedback, inner3);
        diffused[n] = DampedAllpass::step(s3, cells4.delayed[n], cells4.current[n], gain34, colour, feedback, inner4);
    }
    state = {bandwidth, {inner1, inner2, inner3, inner4}};
}

// A distance of 0 or of the length reads the cursor cell before the step
// writes it; one of at least `steps` and at most length − `steps` reads cells
// the piece does not write. So pieces up to the shortest min(d, length − d)
// of the other distances do; worked out once a block.
std::int32_t InputDiffusion::longestPieceReadingAhead() const {
    std::int32_t longest = std::numeric_limits<std::int32_t>::max();
    for (std::int32_t distance : distances) {
        const bool ownCell = distance == 0 || distance == diffuserLength;
        if (!ownCell) longest = std::min({longest, distance, diffuserLength - distance});
    }
    return longest;
}

// Each inner lowpass sees only its diffuser's delayed cells, which the piece
// does not write: the five lowpasses run first, in one loop whose five
// recursions overlap; then each diffuser goes through the piece in a loop
// without state, which vectorizes.
ROOMPLATE_VECTOR_CLONES void InputDiffusion::runByStages(const float* early, float* diffused, std::int32_t steps,
                                                         const RunControls& c, RunState& state) {
    const float bandwidthCoefficient = c.bandwidth, colour = c.colour;
    float band[RunControls::kLongestRun];
    float lowpassed[kDiffuserCount][RunControls::kLongestRun];
    const float* const delayed[kDiffuserCount] = {
        diffusers[0].runCells(distances[0]).delayed, diffusers[1].runCells(distances[1]).delayed,
        diffusers[2].runCells(distances[2]).delayed, diffusers[3].runCells(distances[3]).delayed};
    float* const filtered[kDiffuserCount] = {lowpassed[0], lowpassed[1], lowpassed[2], lowpassed[3]};
    TwoPoleLowpass bandwidth = state.bandwidth;
    LowpassLanes inner(state.inner);
    std::int32_t n = 0;
    for (; n + 4 <= steps; n += 4) {  // the bandwidth filter's recursion beside the lanes'
        inner.filterFourSteps(delayed, filtered, n, colour);
        for (std::int32_t k = n; k < n + 4; ++k) band[k] = bandwidth.filter(early[k], bandwidthCoefficient);
    }
    for (; n < steps; ++n) {
        inner.filterOneStep(delayed, filtered, n, colour);
        band[n] = bandwidth.filter(early[n], bandwidthCoefficient);
    }
    state = {bandwidth, inner.filters()};
    allpassesAfterLowpasses(band, filtered, diffused, steps, c);
}

void InputDiffusion::allpassesAfterLowpasses(const float* band, const float* const lowpassed[kDiffuserCount],
                                             float* diffused, std::int32_t steps, const RunControls& c) {
    const float gains[kDiffuserCount] = {c.diffusionGain12, c.diffusionGain12, c.diffusionGain34, c.diffusionGain34};
    float between[RunControls::kLongestRun];
    const float* input = band;
    for (std::int32_t j = 0; j < kDiffuserCount; ++j) {
        float* const output = j + 1 < kDiffuserCount ? between : diffused;
        float* const cells = diffusers[j].runCells(distances[j]).current;
        DampedAllpass::runAfterLowpass(input, lowpassed[j], cells, output, steps, gains[j], c.diffuserFeedback);
        input = output;
    }
}

inline std::int32_t InputDiffusion::stepsBeforeWrap(std::int32_t pairs) const {
    std::int32_t steps = pairs;
    for (std::int32_t j = 0; j < kDiffuserCount; ++j)
        steps = std::min(steps, diffusers[j].stepsBeforeWrap(distances[j]));
    return steps;
}

void InputDiffusion::innerLowpassInputs(std::int32_t pairs, const float* inputs[kDiffuserCount],
                                        float* const scratch[kDiffuserCount]) const {
    for (std::int32_t j = 0; j < kDiffuserCount; ++j) inputs[j] = diffusers[j].tapRun(distances[j], pairs, scratch[j]);
}

std::array<TwoPoleLowpass, InputDiffusion::kDiffuserCount> InputDiffusion::innerLowpasses() const {
    return {diffusers[0].getLowpass(), diffusers[1].getLowpass(), diffusers[2].getLowpass(), diffusers[3].getLowpass()};
}

// Cut where any diffuser's cells would wrap, as run does.
void InputDiffusion::runAfterLowpasses(const float* band, const float* const lowpassed[kDiffuserCount], float* diffused,
                                       std::int32_t pairs, const RunControls& c, const TwoPoleLowpass& bandwidthAfter,
                                       const std::array<TwoPoleLowpass, kDiffuserCount>& innerAfter) {
    for (std::int32_t done = 0; done < pairs;) {
        const std::int32_t steps = stepsBeforeWrap(pairs - done);
        const float* const piece[kDiffuserCount] = {lowpassed[0] + done, lowpassed[1] + done, lowpassed[2] + done,
                                                    lowpassed[3] + done};
        allpassesAfterLowpasses(band + done, piece, diffused + done, steps, c);
        for (std::int32_t j = 0; j < kDiffuserCount; ++j) diffusers[j].endRun(steps, innerAfter[j]);
        done += steps;
    }
    bandwidthFilter = bandwidthAfter;
}

void InputDiffusion::clear() {
    for (DampedAllpass& diffuser : diffusers) diffuser.clear();
    bandwidthFilter.reset();
}

void InputDiffusion::clearAll() {
    clear();
    for (DampedAllpass& diffuser : diffusers) diffuser.resetLowpass();
}
