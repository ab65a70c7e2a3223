#include "host/loader/hosted_plugin.h"

#include <algorithm>

#include "host/loader/ignore_case.h"

namespace {

using EntryPoint = AEffect*(VSTCALLBACK*)(HostCallback);

// Instances by record, so the plain callback finds its host object. The
// entry point's first call comes before any record exists: it is answered
// without an instance.
std::mutex registryMutex;
std::vector<std::pair<AEffect*, HostedPlugin*>> registry;

HostedPlugin* findHost(AEffect* effect) {
    std::lock_guard<std::mutex> lock(registryMutex);
    for (const auto& entry : registry)
        if (entry.first == effect) return entry.second;
    return nullptr;
}

void unregisterHost(HostedPlugin* host) {
    std::lock_guard<std::mutex> lock(registryMutex);
    registry.erase(
        std::remove_if(registry.begin(), registry.end(), [host](const auto& entry) { return entry.second == host; }),
        registry.end());
}

// The loader is chosen by the file's extension, as hosts choose it.
bool hasExtension(const std::string& path, std::string_view extension) {
    std::string_view name(path);
    while (!name.empty() && (name.back() == '/' || name.back() == '\\')) name.remove_suffix(1);  // a bundle folder's
    return name.size() > extension.size() && equalIgnoringCase(name.substr(name.size() - extension.size()), extension);
}

}  // namespace

std::unique_ptr<HostedPlugin> HostedPlugin::load(const std::string& path, std::string& error) {
    std::unique_ptr<HostedPlugin> host(new HostedPlugin);
    const bool isVst3 = hasExtension(path, ".vst3");
    if (!host->library.open(isVst3 ? Vst3Effect::moduleFile(path) : path, error)) return nullptr;
    if (isVst3 || hasExtension(path, ".clap")) {
        if (isVst3) {
            host->vst3Effect = Vst3Effect::load(host->library, path, hostCallback, error);
            host->record = host->vst3Effect ? host->vst3Effect->effect() : nullptr;
        } else {
            host->clapEffect = ClapEffect::load(host->library, path, hostCallback, error);
            host->record = host->clapEffect ? host->clapEffect->effect() : nullptr;
        }
        if (host->record == nullptr) return nullptr;
        std::lock_guard<std::mutex> lock(registryMutex);
        registry.emplace_back(host->record, host.get());
        return host;
    }
    void* symbol = host->library.findSymbol("VSTPluginMain");
    if (symbol == nullptr) symbol = host->library.findSymbol("main");
    if (symbol == nullptr) {
        error = path + " has no VSTPluginMain or main entry: not a VST 2 plug-in";
        return nullptr;
    }
    auto entry = reinterpret_cast<EntryPoint>(symbol);
    AEffect* effect = entry(hostCallback);
    if (effect == nullptr) {
        error = path + ": the plug-in's entry answered no instance";
        return nullptr;
    }
    if (effect->magic != kEffectMagic) {
        // Not a record we can trust to close: only unload.
        error = path + ": the entry's record has a bad magic number";
        return nullptr;
    }
    host->record = effect;
    {
        std::lock_guard<std::mutex> lock(registryMutex);
        registry.emplace_back(effect, host.get());
    }
    host->dispatch(effOpen);
    return host;
}

HostedPlugin::~HostedPlugin() {
    if (record != nullptr) {
        if (running) dispatch(effMainsChanged, 0, 0);
        dispatch(effClose);
    }
    unregisterHost(this);
    record = nullptr;
}

VstIntPtr HostedPlugin::dispatch(std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr, float opt) const {
    return record->dispatcher(record, opcode, index, value, ptr, opt);
}

void HostedPlugin::start(float sampleRate, std::int32_t blockSize) const {
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch(effSetBlockSize, 0, blockSize);
    dispatch(effMainsChanged, 0, 1);
    running = true;
}

std::vector<AutomationEvent> HostedPlugin::automationEvents() const {
    std::lock_guard<std::mutex> lock(recordedMutex);
    return automation;
}

void HostedPlugin::setAutomationListener(void (*listener)(const AutomationEvent&)) {
    std::lock_guard<std::mutex> lock(recordedMutex);
    automationListener = listener;
}

int HostedPlugin::idleCalls() const {
    std::lock_guard<std::mutex> lock(recordedMutex);
    return idleCount;
}

VstIntPtr HostedPlugin::answer(std::int32_t opcode, std::int32_t index, float opt) {
    std::lock_guard<std::mutex> lock(recordedMutex);
    switch (opcode) {
        case audioMasterAutomate: {
            const AutomationEvent event{index, opt};
            automation.push_back(event);
            if (automationListener != nullptr) automationListener(event);
            return 0;
        }
        case audioMasterIdle: ++idleCount; return 0;
        default: return 0;
    }
}

VstIntPtr VSTCALLBACK HostedPlugin::hostCallback(AEffect* effect, std::int32_t opcode, std::int32_t index, VstIntPtr,
                                                 void*, float opt) {
    if (opcode == audioMasterVersion) return kHostVersion;
    HostedPlugin* host = effect != nullptr ? findHost(effect) : nullptr;
    return host != nullptr ? host->answer(opcode, index, opt) : 0;
}
