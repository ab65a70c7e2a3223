#include "frame/plugin_entry.h"

#include <new>

void* moduleHandle = nullptr;
std::atomic<bool> outOfMemory{false};

AEffect* runPluginMain(HostCallback hostCallback, InstanceFactory createInstance) {
    if (hostCallback == nullptr) return nullptr;  // no host to talk to: nothing to create
    if (hostCallback(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    EffectBase* instance = nullptr;
    try {
        instance = createInstance(hostCallback);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (instance == nullptr) return nullptr;
    if (outOfMemory.load(std::memory_order_relaxed)) {
        delete instance;
        return nullptr;
    }
    return instance->getEffectRecord();
}
