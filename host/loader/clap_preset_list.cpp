#include "host/loader/clap_preset_list.h"

#include <cstring>

namespace {

struct Indexer {
    clap_preset_discovery_indexer_t record;
    bool pluginLocation = false;
};

struct Receiver {
    clap_preset_discovery_metadata_receiver_t record;
    const char* pluginId;
    std::vector<ClapPreset> found;
    std::vector<ClapPreset> pending;
};

Indexer makeIndexer() {
    Indexer indexer{};
    indexer.record.clap_version = CLAP_VERSION;
    indexer.record.name = "roomplate";
    indexer.record.vendor = "Roomplate";
    indexer.record.version = "";
    indexer.record.indexer_data = &indexer;
    indexer.record.declare_filetype = [](const clap_preset_discovery_indexer_t*,
                                         const clap_preset_discovery_filetype_t*) { return true; };
    indexer.record.declare_location = [](const clap_preset_discovery_indexer_t* self,
                                         const clap_preset_discovery_location_t* location) {
        if (location != nullptr && location->kind == CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN)
            static_cast<Indexer*>(self->indexer_data)->pluginLocation = true;
        return true;
    };
    indexer.record.declare_soundpack = [](const clap_preset_discovery_indexer_t*,
                                          const clap_preset_discovery_soundpack_t*) { return true; };
    indexer.record.get_extension = [](const clap_preset_discovery_indexer_t*, const char*) -> const void* {
        return nullptr;
    };
    return indexer;
}

Receiver* receiverOf(const clap_preset_discovery_metadata_receiver_t* record) {
    return static_cast<Receiver*>(record->receiver_data);
}

void fillReceiver(Receiver& receiver) {
    auto& record = receiver.record;
    record.receiver_data = &receiver;
    record.on_error = [](const clap_preset_discovery_metadata_receiver_t*, std::int32_t, const char*) {};
    record.begin_preset = [](const clap_preset_discovery_metadata_receiver_t* self, const char* name,
                             const char* loadKey) {
        if (name == nullptr || loadKey == nullptr) return false;
        receiverOf(self)->pending.push_back({name, loadKey});
        return true;
    };
    // A preset counts when it names this plug-in.
    record.add_plugin_id = [](const clap_preset_discovery_metadata_receiver_t* self,
                              const clap_universal_plugin_id_t* id) {
        Receiver* receiver = receiverOf(self);
        if (id == nullptr || id->id == nullptr || receiver->pending.empty()) return;
        if (std::strcmp(id->id, receiver->pluginId) == 0) {
            receiver->found.push_back(receiver->pending.back());
            receiver->pending.clear();
        }
    };
    record.set_soundpack_id = [](const clap_preset_discovery_metadata_receiver_t*, const char*) {};
    record.set_flags = [](const clap_preset_discovery_metadata_receiver_t*, std::uint32_t) {};
    record.add_creator = [](const clap_preset_discovery_metadata_receiver_t*, const char*) {};
    record.set_description = [](const clap_preset_discovery_metadata_receiver_t*, const char*) {};
    record.set_timestamps = [](const clap_preset_discovery_metadata_receiver_t*, clap_timestamp, clap_timestamp) {};
    record.add_feature = [](const clap_preset_discovery_metadata_receiver_t*, const char*) {};
    record.add_extra_info = [](const clap_preset_discovery_metadata_receiver_t*, const char*, const char*) {};
}

const clap_preset_discovery_factory_t* discoveryFactory(const clap_plugin_entry_t& entry) {
    const void* factory = entry.get_factory(CLAP_PRESET_DISCOVERY_FACTORY_ID);
    if (factory == nullptr) factory = entry.get_factory(CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT);
    return static_cast<const clap_preset_discovery_factory_t*>(factory);
}

}  // namespace

std::vector<ClapPreset> listPluginPresets(const clap_plugin_entry_t& entry, const char* pluginId) {
    std::vector<ClapPreset> presets;
    const clap_preset_discovery_factory_t* factory = discoveryFactory(entry);
    if (factory == nullptr || pluginId == nullptr) return presets;
    for (std::uint32_t index = 0; index < factory->count(factory); ++index) {
        const clap_preset_discovery_provider_descriptor_t* descriptor = factory->get_descriptor(factory, index);
        if (descriptor == nullptr) continue;
        Indexer indexer = makeIndexer();
        indexer.record.indexer_data = &indexer;
        const clap_preset_discovery_provider_t* provider = factory->create(factory, &indexer.record, descriptor->id);
        if (provider == nullptr) continue;
        if (provider->init(provider) && indexer.pluginLocation) {
            Receiver receiver{};
            receiver.pluginId = pluginId;
            fillReceiver(receiver);
            provider->get_metadata(provider, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, &receiver.record);
            presets.insert(presets.end(), receiver.found.begin(), receiver.found.end());
        }
        provider->destroy(provider);
    }
    return presets;
}
