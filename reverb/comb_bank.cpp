#include "reverb/comb_bank.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

#include "reverb/scaled_distance.h"
#include "reverb/vector_clones.h"

namespace {

// The IEEE quotient, spelled out for a zero divisor: an absorption of exactly 1
// has log10 0 and an infinite decay time (no decay); 0 has a decay time of 0.
double ieeeQuotient(double dividend, double divisor) {
    if (divisor != 0.0) return dividend / divisor;
    if (dividend == 0.0 || std::isnan(dividend)) return std::numeric_limits<double>::quiet_NaN();
    return std::copysign(std::numeric_limits<double>::infinity(), dividend) * std::copysign(1.0, divisor);
}

template <std::size_t... line>
std::array<TapDelay, sizeof...(line)> makeLines(std::int32_t capacity, std::index_sequence<line...>) {
    return {{TapDelay((static_cast<void>(line), capacity))...}};
}

}  // namespace

CombBank::CombBank(const EngineSizes& sizes)
    : halfRate(sizes.halfRate), lines(makeLines(sizes.combCapacity, std::make_index_sequence<kMaxCombs>{})) {}

// T, the lengths and the gains are computed in double; T and each gain are
// rounded to float once.
void CombBank::update(float quality, float absorption) {
    std::array<std::uint32_t, 2> bits;
    std::memcpy(&bits[0], &quality, sizeof bits[0]);
    std::memcpy(&bits[1], &absorption, sizeof bits[1]);
    if (derived && bits == derivedFrom) return;
    derivedFrom = bits;
    derived = true;
    lineCount = scaledDistance(kMaxCombs, quality);
    gains[0] = absorption;
    decayTime = static_cast<float>(ieeeQuotient(-300.0, std::log10(static_cast<double>(absorption))));
    const double decayTimeMs = decayTime;
    for (std::int32_t i = 0; i < lineCount; ++i) {
        const double lengthMs = 100.0 / std::pow(2.0, static_cast<double>(i) / lineCount);
        gains[i] = static_cast<float>(std::pow(10.0, ieeeQuotient(-3.0 * lengthMs, decayTimeMs)));
        lines[i].setLength(static_cast<std::int32_t>(std::floor(lengthMs * 0.001 * halfRate)));  // at most the capacity
    }
}

bool CombBank::runs(const RunControls& c) const {
    return c.combsOn && c.combCount > 0.0f && c.absorption > 0.0f && lineCount >= 1;
}

// A pair whose input is exactly 0 gives 0 and leaves every line alone (no
// step, no advance), so the lines run over the other pairs only, one line (or
// four) at a time through the run. Each pair's sum still adds the lines in
// line order.
ROOMPLATE_VECTOR_CLONES void CombBank::run(const float* input, float* output, std::int32_t pairs) {
    float gathered[kLongestRun], sum[kLongestRun];
    std::int32_t pairOf[kLongestRun];
    std::int32_t zeros = 0;  // a count, not a flag, so that the loop vectorizes
    for (std::int32_t n = 0; n < pairs; ++n) zeros += input[n] == 0.0f ? 1 : 0;
    std::int32_t count = zeros == 0 ? pairs : 0;
    for (std::int32_t n = 0; zeros != 0 && n < pairs; ++n) {  // without a branch: the slot is overwritten when skipped
        gathered[count] = input[n];
        pairOf[count] = n;
        count += input[n] != 0.0f ? 1 : 0;
    }
    const float* lineInput = count == pairs ? input : gathered;
    for (std::int32_t k = 0; k < count; ++k) sum[k] = 0.0f;

    std::int32_t i = 0;
    for (; i + 4 <= lineCount; i += 4) {
        TapDelay* const group[4] = {&lines[i], &lines[i + 1], &lines[i + 2], &lines[i + 3]};
        const std::int32_t steps = std::min({group[0]->stepsBeforeEnd(), group[1]->stepsBeforeEnd(),
                                             group[2]->stepsBeforeEnd(), group[3]->stepsBeforeEnd()});
        if (steps >= count && count == kLongestRun) {  // the usual case: a whole run, a loop of known length
            TapDelay::combRunOfFour(group, &gains[i], lineInput, sum, kLongestRun);
        } else if (steps >= 1) {  // to the first line's end of ring, then the rest
            const std::int32_t first = std::min(steps, count);
            TapDelay::combRunOfFour(group, &gains[i], lineInput, sum, first);
            for (std::int32_t k = 0; k < 4; ++k)
                group[k]->combRun(gains[i + k], lineInput + first, sum + first, count - first);
        } else {
            for (std::int32_t k = 0; k < 4; ++k) group[k]->combRun(gains[i + k], lineInput, sum, count);
        }
    }
    for (; i < lineCount; ++i) lines[i].combRun(gains[i], lineInput, sum, count);

    const float linesInUse = static_cast<float>(lineCount);
    if (count == pairs) {
        for (std::int32_t n = 0; n < pairs; ++n) output[n] = sum[n] / linesInUse;
        return;
    }
    for (std::int32_t n = 0; n < pairs; ++n) output[n] = 0.0f;
    for (std::int32_t k = 0; k < count; ++k) output[pairOf[k]] = sum[k] / linesInUse;
}

void CombBank::clear() {
    for (TapDelay& line : lines) line.clear();
}
