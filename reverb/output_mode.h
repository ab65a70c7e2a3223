// Whether a block's output replaces what the host's buffers hold or is added to it.
#pragma once

enum class OutputMode { kReplace, kAdd };

template <OutputMode mode>
inline void writeFrame(float& frame, float value) {
    if constexpr (mode == OutputMode::kReplace)
        frame = value;
    else
        frame += value;
}
