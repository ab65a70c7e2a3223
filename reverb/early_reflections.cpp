#include "reverb/early_reflections.h"

#include <cmath>
#include <cstring>

#include "reverb/scaled_distance.h"
#include "reverb/vector_clones.h"

namespace {

constexpr float kSpeedOfSound = 343.0f;  // m/s

// The image sources of the rectangular room, as the room's sound was tuned:
// rows 0, 3 and 6 put the far wall's image at 2D + sy (not the mirror 2D − sy).
enum class ImageX { MinusSourceX, SourceX, TwoWidthMinusSourceX };
enum class ImageY { TwoDepthPlusSourceY, SourceY, MinusSourceY };
struct ImageSource {
    ImageX x;
    ImageY y;
    float weight;
};
constexpr std::array<ImageSource, EarlyReflections::kReflectionCount> kImageSources{{
    {ImageX::MinusSourceX, ImageY::TwoDepthPlusSourceY, 0.5f},
    {ImageX::MinusSourceX, ImageY::SourceY, 1.0f},
    {ImageX::MinusSourceX, ImageY::MinusSourceY, 1.0f},
    {ImageX::SourceX, ImageY::TwoDepthPlusSourceY, 0.5f},
    {ImageX::TwoWidthMinusSourceX, ImageY::MinusSourceY, 1.0f},
    {ImageX::SourceX, ImageY::MinusSourceY, 1.0f},
    {ImageX::TwoWidthMinusSourceX, ImageY::TwoDepthPlusSourceY, 0.5f},
    {ImageX::TwoWidthMinusSourceX, ImageY::SourceY, 1.0f},
}};

}  // namespace

EarlyReflections::EarlyReflections(const EngineSizes& sizes) : halfRate(sizes.halfRate), line(sizes.reflectionLength) {}

// Image sources of a rectangular room, in metres, single precision.
void EarlyReflections::updateRoom(const RoomValues& room) {
    std::array<std::uint32_t, kRoomValueCount> roomBits;
    std::memcpy(roomBits.data(), room.data(), sizeof roomBits);
    if (derived && roomBits == derivedFrom) return;
    const float level = room[0];
    const float width = 50.0f * room[1] + 10.0f;
    const float depth = 50.0f * room[2] + 10.0f;
    const float sourceX = width * room[3];
    const float sourceY = depth * room[4];
    const float listenerX = width * room[5];
    const float listenerY = depth * room[6];
    for (std::int32_t k = 0; k < kReflectionCount; ++k) {
        const ImageSource& image = kImageSources[k];
        const float imageX = image.x == ImageX::MinusSourceX ? -sourceX
                             : image.x == ImageX::SourceX    ? sourceX
                                                             : 2.0f * width - sourceX;
        const float imageY = image.y == ImageY::TwoDepthPlusSourceY ? 2.0f * depth + sourceY
                             : image.y == ImageY::SourceY           ? sourceY
                                                                    : -sourceY;
        const float dx = imageX - listenerX;
        const float dy = imageY - listenerY;
        float distance = std::sqrt(dx * dx + dy * dy);
        if (distance < kMinReflectionDistance) distance = kMinReflectionDistance;
        taps[k] = limitedFloor(distance / kSpeedOfSound * halfRate, line.getLength());
        // A room of undefined size or position (NaN) reflects nothing.
        gains[k] = std::isnan(distance) ? 0.0f : level * image.weight * 100.0f / distance;
    }
    derivedFrom = roomBits;
    derived = true;
}

// The line takes a whole run's samples before its taps are read. A tap of
// distance d reads, at pair n, what pair n − d wrote; the cell it reads would
// already hold a later pair's sample only for d within a run of the line's
// length (d = length reads the cell just written, as d = 0 does). Such taps,
// which only a room beyond parameter values of 1 gives, shorten the runs to
// length − d pairs.
std::int32_t EarlyReflections::runLimit(std::int32_t longestRun) const {
    std::int32_t limit = longestRun;
    const std::int32_t length = line.getLength();
    for (std::int32_t tap : taps)
        if (tap > length - limit && tap < length) limit = length - tap;
    return limit;
}

// Each tap adds its reflection to every pair of the run in reflection order.
// Where no tap's cells wrap within the run, one loop adds all eight;
// otherwise a loop per tap and span, which gives each pair the same sum.
void EarlyReflections::run(const float* x, float* early, std::int32_t pairs) {
    line.tickRun(x, pairs);
    const float* spans[kReflectionCount];
    bool unbroken = true;
    for (std::int32_t k = 0; k < kReflectionCount; ++k) {
        spans[k] = line.unbrokenTapRun(taps[k], pairs);
        unbroken = unbroken && spans[k] != nullptr;
    }
    if (unbroken)
        sumUnbroken(spans, early, pairs);
    else
        sumBySpans(early, pairs);
    for (std::int32_t n = 0; n < pairs; ++n) early[n] = early[n] / static_cast<float>(kReflectionCount);
    line.advanceBy(pairs);
}

ROOMPLATE_VECTOR_CLONES void EarlyReflections::sumUnbroken(const float* const spans[kReflectionCount], float* early,
                                                           std::int32_t pairs) const {
    const float *tap1 = spans[0], *tap2 = spans[1], *tap3 = spans[2], *tap4 = spans[3];
    const float *tap5 = spans[4], *tap6 = spans[5], *tap7 = spans[6], *tap8 = spans[7];
    const float gain1 = gains[0], gain2 = gains[1], gain3 = gains[2], gain4 = gains[3];
    const float gain5 = gains[4], gain6 = gains[5], gain7 = gains[6], gain8 = gains[7];
#pragma GCC ivdep  // the sums are not the line's cells
    for (std::int32_t n = 0; n < pairs; ++n) {
        float sum = 0.0f + tap1[n] * gain1;
        sum += tap2[n] * gain2;
        sum += tap3[n] * gain3;
        sum += tap4[n] * gain4;
        sum += tap5[n] * gain5;
        sum += tap6[n] * gain6;
        sum += tap7[n] * gain7;
        early[n] = sum + tap8[n] * gain8;
    }
}

void EarlyReflections::sumBySpans(float* early, std::int32_t pairs) const {
    for (std::int32_t n = 0; n < pairs; ++n) early[n] = 0.0f;
    for (std::int32_t k = 0; k < kReflectionCount; ++k) {
        const float reflectionGain = gains[k];
        line.forEachTapSpan(taps[k], pairs,
                            [early, reflectionGain](const float* cells, std::int32_t first, std::int32_t steps) {
                                float* sum = early + first;
#pragma GCC ivdep  // the sums are not the line's cells
                                for (std::int32_t n = 0; n < steps; ++n) sum[n] += cells[n] * reflectionGain;
                            });
    }
}
