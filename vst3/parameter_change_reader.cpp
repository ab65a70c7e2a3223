#include "vst3/parameter_change_reader.h"

#include <algorithm>

ParameterChangeReader::ParameterChangeReader(Steinberg_Vst_IParameterChanges* changes, std::int32_t frames)
    : changes(changes), frames(std::max(frames, 0)) {
    if (changes == nullptr) return;
    const std::int32_t total = std::max(changes->lpVtbl->getParameterCount(changes), 0);
    queueCount = std::min(total, kMaxQueues);
    overflowQueueCount = total - queueCount;
    for (std::int32_t index = 0; index < queueCount; ++index) {
        Steinberg_Vst_IParamValueQueue* points = queue(index);
        pointCount[static_cast<std::size_t>(index)] =
            points != nullptr ? std::max(points->lpVtbl->getPointCount(points), 0) : 0;
        nextPoint[static_cast<std::size_t>(index)] = 0;
    }
}

Steinberg_Vst_IParamValueQueue* ParameterChangeReader::queue(std::int32_t index) const {
    return changes->lpVtbl->getParameterData(changes, index);
}

std::int32_t ParameterChangeReader::frameOf(Steinberg_Vst_IParamValueQueue* points, std::int32_t point,
                                            double* value) const {
    Steinberg_int32 offset = 0;
    double pointValue = 0.0;
    if (points->lpVtbl->getPoint(points, point, &offset, &pointValue) != Steinberg_kResultOk) return -1;
    if (value != nullptr) *value = pointValue;
    if (offset >= frames) return frames;
    return std::max(offset, 0) & ~1;
}

void ParameterChangeReader::applyUpTo(std::int32_t frame, ApplyChange apply, void* context) {
    if (frame == 0) applyOverflowQueues(apply, context);
    for (std::int32_t index = 0; index < queueCount; ++index) {
        const auto slot = static_cast<std::size_t>(index);
        Steinberg_Vst_IParamValueQueue* points = queue(index);
        if (points == nullptr) continue;
        const Steinberg_Vst_ParamID id = points->lpVtbl->getParameterId(points);
        for (; nextPoint[slot] < pointCount[slot]; ++nextPoint[slot]) {
            double value = 0.0;
            const std::int32_t pointFrame = frameOf(points, nextPoint[slot], &value);
            if (pointFrame > frame) break;
            if (pointFrame >= 0) apply(context, id, value);  // an unreadable point is skipped
        }
    }
}

// An unreadable point counts as due now; applyUpTo then skips it.
std::int32_t ParameterChangeReader::nextChangeFrame() const {
    std::int32_t next = frames;
    for (std::int32_t index = 0; index < queueCount; ++index) {
        const auto slot = static_cast<std::size_t>(index);
        if (nextPoint[slot] >= pointCount[slot]) continue;
        Steinberg_Vst_IParamValueQueue* points = queue(index);
        if (points != nullptr) next = std::min(next, frameOf(points, nextPoint[slot], nullptr));
    }
    return next;
}

void ParameterChangeReader::applyOverflowQueues(ApplyChange apply, void* context) {
    for (std::int32_t index = kMaxQueues; index < kMaxQueues + overflowQueueCount; ++index) {
        Steinberg_Vst_IParamValueQueue* points = queue(index);
        if (points == nullptr) continue;
        const std::int32_t count = points->lpVtbl->getPointCount(points);
        Steinberg_int32 offset = 0;
        double value = 0.0;
        if (count > 0 && points->lpVtbl->getPoint(points, count - 1, &offset, &value) == Steinberg_kResultOk)
            apply(context, points->lpVtbl->getParameterId(points), value);
    }
    overflowQueueCount = 0;
}
