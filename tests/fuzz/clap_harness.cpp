#include "tests/fuzz/clap_harness.h"

#include <array>
#include <cstring>

#include "clap/clap_parameter_map.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/fuzz/state_load_check.h"

namespace {

constexpr std::array<std::size_t, 4> kReadSizes{{1, 7, 64, 1 << 30}};
constexpr std::int32_t kProbeFrames = 256;
constexpr std::uint32_t kProbeSeed = 7;
constexpr std::uint16_t kForeignSpace = 0x7A11;

// Below 0x80 one of the parameters (About included); then the bypass or 4 raw bytes.
clap_id anyParameterId(FuzzInput& input) {
    const std::uint8_t selector = input.byte();
    if (selector < 0x80) return selector % kParameterCount;
    if (selector < 0xC0) return kBypassParamId;
    return input.word32();
}

enum class EventKind : std::uint8_t { Value, Modulation, GestureBegin, GestureEnd, NoteOn, Transport, Unknown, Count };

// Kind byte, time (anyOffset), size choice byte (0: the kind's own size, 1:
// the header's only, 2: 0, else the own size), space byte (non-zero: a foreign
// space), then the kind's fields.
ClapEventSlot readEvent(FuzzInput& input, std::int32_t frames) {
    ClapEventSlot event;
    std::memset(&event, 0, sizeof event);
    const auto kind = static_cast<EventKind>(input.byte() % static_cast<std::uint8_t>(EventKind::Count));
    event.header.time = static_cast<std::uint32_t>(input.anyOffset(frames));
    const std::uint8_t sizeChoice = input.byte() % 4;
    event.header.space_id = input.byte() == 0 ? CLAP_CORE_EVENT_SPACE_ID : kForeignSpace;
    std::uint32_t ownSize = sizeof(clap_event_header_t);
    switch (kind) {
        case EventKind::Value:
            event.header.type = CLAP_EVENT_PARAM_VALUE;
            event.value.param_id = anyParameterId(input);
            event.value.note_id = event.value.port_index = event.value.channel = event.value.key = -1;
            event.value.value = input.anyDouble();
            ownSize = sizeof(clap_event_param_value_t);
            break;
        case EventKind::Modulation:
            event.header.type = CLAP_EVENT_PARAM_MOD;
            event.modulation.param_id = anyParameterId(input);
            event.modulation.note_id = event.modulation.port_index = event.modulation.channel = -1;
            event.modulation.key = -1;
            event.modulation.amount = input.anyDouble();
            ownSize = sizeof(clap_event_param_mod_t);
            break;
        case EventKind::GestureBegin:
        case EventKind::GestureEnd:
            event.header.type =
                kind == EventKind::GestureBegin ? CLAP_EVENT_PARAM_GESTURE_BEGIN : CLAP_EVENT_PARAM_GESTURE_END;
            event.gesture.param_id = anyParameterId(input);
            ownSize = sizeof(clap_event_param_gesture_t);
            break;
        case EventKind::NoteOn:
            event.header.type = CLAP_EVENT_NOTE_ON;
            event.note.key = static_cast<std::int16_t>(input.word16());
            event.note.velocity = input.anyDouble();
            ownSize = sizeof(clap_event_note_t);
            break;
        case EventKind::Transport:
            event.header.type = CLAP_EVENT_TRANSPORT;
            event.transport.flags = input.word32();
            event.transport.tempo = input.anyDouble();
            ownSize = sizeof(clap_event_transport_t);
            break;
        case EventKind::Unknown:
        case EventKind::Count: event.header.type = input.word16(); break;
    }
    event.header.size = sizeChoice == 1 ? sizeof(clap_event_header_t) : (sizeChoice == 2 ? 0 : ownSize);
    return event;
}

}  // namespace

ClapHarness::ClapHarness() {
    if (instance.made()) firstState = instance.saveState();
}

std::string ClapHarness::restore() {
    if (!instance.made()) return "the factory made no usable instance";
    if (!instance.loadState(firstState, kReadSizes.back(), false)) return "the instance refused its own first state";
    ClapEventSlot bypassOff;
    std::memset(&bypassOff, 0, sizeof bypassOff);
    bypassOff.value.header = {sizeof(clap_event_param_value_t), 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
    bypassOff.value.param_id = kBypassParamId;
    bypassOff.value.note_id = bypassOff.value.port_index = bypassOff.value.channel = bypassOff.value.key = -1;
    instance.flush({bypassOff});
    instance.clearSignal();
    return "";
}

std::vector<float> ClapHarness::probe(std::string& failure) {
    instance.clearSignal();
    const NoiseBlock input(kProbeFrames, kProbeSeed);
    NoiseBlock output(0, 0);
    if (instance.process(input, output, {}, true) == CLAP_PROCESS_ERROR) failure = "process failed on a plain block";
    if (failure.empty()) failure = output.check();
    return output.samples();
}

std::string ClapHarness::playState(const std::uint8_t* data, std::size_t size) {
    accepted = false;
    const std::string failure = restore();
    if (!failure.empty()) return failure;
    FuzzInput input(data, size);
    const std::uint8_t selector = input.byte();
    const std::size_t maxChunk = kReadSizes[selector & 3];
    const bool failAtEnd = (selector & 4) != 0;
    const StateBytes bytes(data + (size - input.remaining()), data + size);

    StateTarget target;
    target.name = "state";
    target.save = [&] { return instance.saveState(); };
    // Only the first load reads the stream under test; the round trip reads a sound one.
    bool first = true;
    target.load = [&](const StateBytes& state) {
        const bool loaded = instance.loadState(state, maxChunk, first && failAtEnd);
        first = false;
        return loaded;
    };
    target.everySavedState = target.save;
    target.sound = [&](std::string& soundFailure) { return probe(soundFailure); };
    const std::string result = checkStateLoad(target, bytes, accepted);
    if (result.empty() && accepted && failAtEnd) return "a state whose stream failed was accepted";
    return result;
}

std::string ClapHarness::playEvents(const std::uint8_t* data, std::size_t size) {
    std::string failure = restore();
    FuzzInput input(data, size);
    std::int64_t framesLeft = kFramesAnInput;
    while (failure.empty() && !input.atEnd()) {
        const std::int32_t frames = input.word16() % (kEventBlockFrames + 1);
        const std::uint8_t seed = input.byte();
        const std::uint8_t flags = input.byte();
        std::vector<ClapEventSlot> events(input.byte() % 16);
        for (ClapEventSlot& event : events) event = readEvent(input, frames);
        if (frames > framesLeft) break;
        framesLeft -= frames;
        if ((flags & 2) != 0) {
            instance.flush(events);
            events.clear();
        }
        const NoiseBlock in(frames, seed);
        NoiseBlock out(0, 0);
        if (instance.process(in, out, events, (flags & 1) == 0) == CLAP_PROCESS_ERROR)
            return "process failed on a block";
        failure = out.check();
    }
    return failure;
}
