#include "vst3/vst3_state.h"

bool Vst3State::write(Steinberg_IBStream* stream) const {
    if (stream == nullptr) return false;
    std::vector<std::uint8_t> bytes = toBytes();
    Steinberg_int32 written = 0;
    const auto size = static_cast<Steinberg_int32>(bytes.size());
    return stream->lpVtbl->write(stream, bytes.data(), size, &written) == Steinberg_kResultOk && written == size;
}

// Reads at most one byte more than a state has: enough to see a longer
// stream as longer without reading all of it.
bool Vst3State::read(Steinberg_IBStream* stream, Vst3State& state) {
    if (stream == nullptr) return false;
    std::vector<std::uint8_t> bytes(kSize + 1);
    std::size_t size = 0;
    while (size < bytes.size()) {
        Steinberg_int32 count = 0;
        const auto wanted = static_cast<Steinberg_int32>(bytes.size() - size);
        // An error or the end: what came so far is judged whole (a truncated blob is refused).
        if (stream->lpVtbl->read(stream, bytes.data() + size, wanted, &count) != Steinberg_kResultOk || count <= 0)
            break;
        size += static_cast<std::size_t>(count) < bytes.size() - size ? static_cast<std::size_t>(count)
                                                                      : bytes.size() - size;
    }
    return fromBytes(bytes.data(), size, state);
}
