#include "tests/soak/record_instance.h"

#include <cstring>

std::unique_ptr<RecordInstance> RecordInstance::load(const std::string& path, float sampleRate,
                                                     std::int32_t maxBlockFrames, std::string& error) {
    auto plugin = HostedPlugin::load(path, error);
    if (!plugin) return nullptr;
    plugin->start(sampleRate, maxBlockFrames);
    return std::unique_ptr<RecordInstance>(new RecordInstance(std::move(plugin)));
}

void RecordInstance::process(float* const* inputs, float* const* outputs, std::int32_t frames) {
    AEffect* effect = plugin->effect();
    effect->processReplacing(effect, const_cast<float**>(inputs), const_cast<float**>(outputs), frames);
}

void RecordInstance::automate(std::int32_t index, float value) {
    AEffect* effect = plugin->effect();
    effect->setParameter(effect, index, value);
}

void RecordInstance::selectProgram(std::int32_t program) { plugin->dispatch(effSetProgram, 0, program); }

std::vector<std::uint8_t> RecordInstance::saveState() {
    AEffect* effect = plugin->effect();
    std::vector<std::uint8_t> state(sizeof(float) * static_cast<std::size_t>(effect->numParams));
    for (std::int32_t index = 0; index < effect->numParams; ++index) {
        const float value = effect->getParameter(effect, index);
        std::memcpy(state.data() + sizeof(float) * static_cast<std::size_t>(index), &value, sizeof value);
    }
    return state;
}

bool RecordInstance::restoreState(const std::vector<std::uint8_t>& state) {
    AEffect* effect = plugin->effect();
    if (state.size() != sizeof(float) * static_cast<std::size_t>(effect->numParams)) return false;
    for (std::int32_t index = 0; index < effect->numParams; ++index) {
        float value = 0.0f;
        std::memcpy(&value, state.data() + sizeof(float) * static_cast<std::size_t>(index), sizeof value);
        effect->setParameter(effect, index, value);
    }
    return true;
}

void RecordInstance::restart() {
    plugin->dispatch(effMainsChanged, 0, 0);
    plugin->dispatch(effMainsChanged, 0, 1);
}

bool RecordInstance::openEditor(std::uintptr_t parentWindow) {
    return plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(parentWindow)) != 0;
}

void RecordInstance::idleEditor() { plugin->dispatch(effEditIdle); }

void RecordInstance::closeEditor() { plugin->dispatch(effEditClose); }
