#include "clap/editor_event_queue.h"

bool EditorEventQueue::push(const EditorEvent& event) {
    const std::uint32_t filling = tail.load(std::memory_order_relaxed);
    if (filling - head.load(std::memory_order_acquire) >= kCapacity) return false;
    ring[filling % kCapacity] = event;
    tail.store(filling + 1, std::memory_order_release);
    return true;
}

bool EditorEventQueue::empty() const {
    return head.load(std::memory_order_relaxed) == tail.load(std::memory_order_acquire);
}

void EditorEventQueue::drainInto(const clap_output_events_t* out) {
    std::uint32_t popping = head.load(std::memory_order_relaxed);
    const std::uint32_t end = tail.load(std::memory_order_acquire);
    for (; popping != end; ++popping) {
        if (out != nullptr) write(ring[popping % kCapacity], out);
        head.store(popping + 1, std::memory_order_release);
    }
}

void EditorEventQueue::write(const EditorEvent& event, const clap_output_events_t* out) {
    if (event.kind == EditorEvent::Kind::kValue) {
        clap_event_param_value_t value{};
        value.header = {sizeof(value), 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
        value.param_id = event.id;
        value.note_id = -1;
        value.port_index = -1;
        value.channel = -1;
        value.key = -1;
        value.value = event.value;
        out->try_push(out, &value.header);
        return;
    }
    clap_event_param_gesture_t gesture{};
    const std::uint16_t type =
        event.kind == EditorEvent::Kind::kGestureBegin ? CLAP_EVENT_PARAM_GESTURE_BEGIN : CLAP_EVENT_PARAM_GESTURE_END;
    gesture.header = {sizeof(gesture), 0, CLAP_CORE_EVENT_SPACE_ID, type, 0};
    gesture.param_id = event.id;
    out->try_push(out, &gesture.header);
}
