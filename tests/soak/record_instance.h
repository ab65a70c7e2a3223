// A VST 2 plug-in file loaded by our host's loader (HostedPlugin): setParameter
// is called straight from the automation thread, as VST 2 allows; programs,
// the state (every parameter's value, as VST 2 hosts keep a plug-in without
// chunks) and the editor through the dispatcher on the main thread.
#pragma once

#include <memory>
#include <string>

#include "host/loader/hosted_plugin.h"
#include "tests/soak/soak_instance.h"

class RecordInstance : public SoakInstance {
public:
    // Null with the reason in error when the file does not load.
    static std::unique_ptr<RecordInstance> load(const std::string& path, float sampleRate, std::int32_t maxBlockFrames,
                                                std::string& error);

    int parameterCount() const override { return plugin->effect()->numParams; }
    int programCount() const override { return plugin->effect()->numPrograms; }
    void process(float* const* inputs, float* const* outputs, std::int32_t frames) override;
    void automate(std::int32_t index, float value) override;
    void selectProgram(std::int32_t program) override;
    std::vector<std::uint8_t> saveState() override;
    bool restoreState(const std::vector<std::uint8_t>& state) override;
    void restart() override;
    bool openEditor(std::uintptr_t parentWindow) override;
    void idleEditor() override;
    void closeEditor() override;

private:
    explicit RecordInstance(std::unique_ptr<HostedPlugin> plugin) : plugin(std::move(plugin)) {}

    std::unique_ptr<HostedPlugin> plugin;
};
