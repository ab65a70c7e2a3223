#include "reverb/input_diffusion.h"

#include <algorithm>

#include "reverb/scaled_distance.h"

InputDiffusion::InputDiffusion(const EngineSizes& sizes)
    : diffuserLength(sizes.diffuserLength),
      diffusers{{DampedAllpass(sizes.diffuserLength), DampedAllpass(sizes.diffuserLength),
                 DampedAllpass(sizes.diffuserLength), DampedAllpass(sizes.diffuserLength)}} {}

void InputDiffusion::updateTimes(const Times& times) {
    for (std::int32_t j = 0; j < kDiffuserCount; ++j) distances[j] = scaledDistance(diffuserLength, times[j]);
}

// Pair by pair: every filter's state carries from one pair to the next. The
// run is cut where any diffuser's cells would wrap, so each piece reads and
// writes plain arrays of cells; the filter states stay in locals for the run.
void InputDiffusion::run(const float* early, float* diffused, std::int32_t pairs, const RunControls& c) {
    // Copies, so that no store into a cell can be taken to change them.
    const float bandwidthCoefficient = c.bandwidth, colour = c.colour, feedback = c.diffuserFeedback;
    const float gain12 = c.diffusionGain12, gain34 = c.diffusionGain34;
    TwoPoleLowpass bandwidth = bandwidthFilter;
    TwoPoleLowpass inner1 = diffusers[0].getLowpass(), inner2 = diffusers[1].getLowpass();
    TwoPoleLowpass inner3 = diffusers[2].getLowpass(), inner4 = diffusers[3].getLowpass();
    for (std::int32_t done = 0; done < pairs;) {
        std::int32_t steps = pairs - done;
        for (std::int32_t j = 0; j < kDiffuserCount; ++j)
            steps = std::min(steps, diffusers[j].stepsBeforeWrap(distances[j]));
        const DelayBlock::RunCells cells1 = diffusers[0].runCells(distances[0]);
        const DelayBlock::RunCells cells2 = diffusers[1].runCells(distances[1]);
        const DelayBlock::RunCells cells3 = diffusers[2].runCells(distances[2]);
        const DelayBlock::RunCells cells4 = diffusers[3].runCells(distances[3]);
        const float* in = early + done;
        float* out = diffused + done;
        for (std::int32_t n = 0; n < steps; ++n) {
            const float band = bandwidth.filter(in[n], bandwidthCoefficient);
            const float s1 =
                DampedAllpass::step(band, cells1.delayed[n], cells1.current[n], gain12, colour, feedback, inner1);
            const float s2 =
                DampedAllpass::step(s1, cells2.delayed[n], cells2.current[n], gain12, colour, feedback, inner2);
            const float s3 =
                DampedAllpass::step(s2, cells3.delayed[n], cells3.current[n], gain34, colour, feedback, inner3);
            out[n] = DampedAllpass::step(s3, cells4.delayed[n], cells4.current[n], gain34, colour, feedback, inner4);
        }
        diffusers[0].endRun(steps, inner1);
        diffusers[1].endRun(steps, inner2);
        diffusers[2].endRun(steps, inner3);
        diffusers[3].endRun(steps, inner4);
        done += steps;
    }
    bandwidthFilter = bandwidth;
}

void InputDiffusion::clear() {
    for (DampedAllpass& diffuser : diffusers) diffuser.clear();
    bandwidthFilter.reset();
}

void InputDiffusion::clearAll() {
    clear();
    for (DampedAllpass& diffuser : diffusers) diffuser.resetLowpass();
}
