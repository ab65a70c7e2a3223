#include "tools/docgen/decay_curve.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>

namespace {

constexpr int kBlockFrames = 512;
constexpr double kFloorDb = -90.0;

std::vector<double> backwardIntegratedEnergyDb(const std::vector<float>& response) {
    std::vector<double> energy(response.size());
    double remaining = 0.0;
    for (std::size_t i = response.size(); i-- > 0;) {
        remaining += static_cast<double>(response[i]) * response[i];
        energy[i] = remaining;
    }
    const double total = energy.empty() ? 0.0 : energy[0];
    for (double& value : energy) value = total > 0.0 && value > 0.0 ? 10.0 * std::log10(value / total) : kFloorDb;
    return energy;
}

}  // namespace

DecayCurve measureDecay(const HostedPlugin& plugin, int program, double seconds, float sampleRate) {
    AEffect* effect = plugin.effect();
    plugin.dispatch(effSetProgram, 0, program);
    char name[256] = {};
    plugin.dispatch(effGetProgramName, 0, 0, name);
    name[255] = '\0';
    plugin.dispatch(effMainsChanged, 0, 0);  // a fresh tail for every program
    plugin.start(sampleRate, kBlockFrames);

    const auto frames = static_cast<std::size_t>(seconds * sampleRate);
    DecayCurve curve{name, std::vector<float>(frames), {}, -1.0};
    std::vector<float> inLeft(kBlockFrames), inRight(kBlockFrames), outLeft(kBlockFrames), outRight(kBlockFrames);
    float* inputs[] = {inLeft.data(), inRight.data()};
    float* outputs[] = {outLeft.data(), outRight.data()};
    inLeft[0] = inRight[0] = 1.0f;
    for (std::size_t start = 0; start < frames; start += kBlockFrames) {
        const auto count = static_cast<std::int32_t>(std::min<std::size_t>(kBlockFrames, frames - start));
        effect->processReplacing(effect, inputs, outputs, count);
        inLeft[0] = inRight[0] = 0.0f;
        std::copy(outLeft.begin(), outLeft.begin() + count, curve.impulseResponse.begin() + start);
    }
    curve.energyDecayDb = backwardIntegratedEnergyDb(curve.impulseResponse);
    for (std::size_t i = 0; i < curve.energyDecayDb.size(); ++i)
        if (curve.energyDecayDb[i] <= -60.0) {
            curve.secondsTo60Db = static_cast<double>(i) / sampleRate;
            break;
        }
    return curve;
}

// One row per millisecond: the time, then for each program the peak of the
// response over that millisecond and the energy decay at its start, in dB.
bool writeDecayCsv(const std::vector<DecayCurve>& curves, float sampleRate, double seconds, const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "w"), std::fclose);
    if (!file) return false;
    std::fprintf(file.get(), "time_s");
    for (const DecayCurve& curve : curves)
        std::fprintf(file.get(), ",%s peak_db,%s energy_db", curve.programName.c_str(), curve.programName.c_str());
    std::fprintf(file.get(), "\n");
    const auto milliseconds = static_cast<std::size_t>(seconds * 1000.0);
    for (std::size_t ms = 0; ms < milliseconds; ++ms) {
        const auto first = static_cast<std::size_t>(static_cast<double>(ms) * sampleRate / 1000.0);
        const auto last = static_cast<std::size_t>(static_cast<double>(ms + 1) * sampleRate / 1000.0);
        std::fprintf(file.get(), "%.3f", static_cast<double>(ms) / 1000.0);
        for (const DecayCurve& curve : curves) {
            float peak = 0.0f;
            for (std::size_t i = first; i < last && i < curve.impulseResponse.size(); ++i)
                peak = std::max(peak, std::fabs(curve.impulseResponse[i]));
            const double peakDb = peak > 0.0f ? std::max(kFloorDb, 20.0 * std::log10(peak)) : kFloorDb;
            const double energyDb = first < curve.energyDecayDb.size() ? curve.energyDecayDb[first] : kFloorDb;
            std::fprintf(file.get(), ",%.2f,%.2f", peakDb, energyDb);
        }
        std::fprintf(file.get(), "\n");
    }
    return std::fflush(file.get()) == 0 && !std::ferror(file.get());
}
