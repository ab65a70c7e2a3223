#include "clap/preset_provider.h"

#include <cstring>
#include <new>

#include "clap/reverb_clap_plugin.h"
#include "reverb/program_bank.h"

namespace {

const clap_preset_discovery_provider_descriptor_t kProviderDescriptor = {
    CLAP_VERSION_INIT, "org.roomplate.reverb.programs", "Roomplate factory programs", "Roomplate"};

struct Provider {
    clap_preset_discovery_provider_t record;
    const clap_preset_discovery_indexer_t* indexer;
};

bool declareLocation(const clap_preset_discovery_provider_t* provider) {
    const auto* indexer = static_cast<const Provider*>(provider->provider_data)->indexer;
    const clap_preset_discovery_location_t location = {CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT, "Roomplate",
                                                       CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr};
    return indexer->declare_location != nullptr && indexer->declare_location(indexer, &location);
}

bool listPrograms(std::uint32_t kind, const char* location, const clap_preset_discovery_metadata_receiver_t* receiver) {
    if (kind != CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN || location != nullptr || receiver == nullptr) return false;
    const ProgramBank factoryPrograms;
    const clap_universal_plugin_id_t pluginId = {"clap", ReverbClapPlugin::kDescriptor.id};
    for (std::int32_t program = 0; program < kProgramCount; ++program) {
        const char* name = factoryPrograms.nameOf(program);
        if (!receiver->begin_preset(receiver, name, name)) break;
        receiver->add_plugin_id(receiver, &pluginId);
        receiver->set_flags(receiver, CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT);
    }
    return true;
}

const clap_preset_discovery_provider_t* createProvider(const clap_preset_discovery_indexer_t* indexer,
                                                       const char* providerId) {
    if (indexer == nullptr || providerId == nullptr || std::strcmp(providerId, kProviderDescriptor.id) != 0)
        return nullptr;
    auto* provider = new (std::nothrow) Provider{};
    if (provider == nullptr) return nullptr;
    provider->indexer = indexer;
    provider->record.desc = &kProviderDescriptor;
    provider->record.provider_data = provider;
    provider->record.init = declareLocation;
    provider->record.destroy = [](const clap_preset_discovery_provider_t* self) {
        delete static_cast<Provider*>(self->provider_data);
    };
    provider->record.get_metadata = [](const clap_preset_discovery_provider_t*, std::uint32_t kind,
                                       const char* location,
                                       const clap_preset_discovery_metadata_receiver_t* receiver) {
        return listPrograms(kind, location, receiver);
    };
    provider->record.get_extension = [](const clap_preset_discovery_provider_t*, const char*) -> const void* {
        return nullptr;
    };
    return &provider->record;
}

}  // namespace

const clap_preset_discovery_factory_t kPresetDiscoveryFactory = {
    [](const clap_preset_discovery_factory_t*) -> std::uint32_t { return 1; },
    [](const clap_preset_discovery_factory_t*, std::uint32_t index) {
        return index == 0 ? &kProviderDescriptor : nullptr;
    },
    [](const clap_preset_discovery_factory_t*, const clap_preset_discovery_indexer_t* indexer, const char* providerId) {
        return createProvider(indexer, providerId);
    }};
