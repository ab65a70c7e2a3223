#include "tools/docgen/decay_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_easy_font.h>
#include <stb/stb_image_write.h>

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

struct Rgb {
    std::uint8_t r, g, b;
};

class Canvas {
public:
    Canvas(int width, int height, Rgb background)
        : width(width), height(height), pixels(static_cast<std::size_t>(width) * height * 3) {
        fill(0, 0, width, height, background);
    }
    void set(int x, int y, Rgb colour) {
        if (x < 0 || y < 0 || x >= width || y >= height) return;
        std::uint8_t* pixel = &pixels[(static_cast<std::size_t>(y) * width + x) * 3];
        pixel[0] = colour.r;
        pixel[1] = colour.g;
        pixel[2] = colour.b;
    }
    void fill(int left, int top, int right, int bottom, Rgb colour) {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) set(x, y, colour);
    }
    void line(int x0, int y0, int x1, int y1, Rgb colour, int thickness = 1) {
        const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        for (int i = 0; i <= steps; ++i) {
            const int x = steps == 0 ? x0 : x0 + (x1 - x0) * i / steps;
            const int y = steps == 0 ? y0 : y0 + (y1 - y0) * i / steps;
            fill(x - thickness / 2, y - thickness / 2, x - thickness / 2 + thickness, y - thickness / 2 + thickness,
                 colour);
        }
    }
    // Text from stb_easy_font's axis-aligned quads, scaled by a whole factor.
    void text(int x, int y, const std::string& message, Rgb colour, int scale = 1) {
        static char vertices[64 * 1024];
        const int quads = stb_easy_font_print(0, 0, const_cast<char*>(message.c_str()), nullptr, vertices,
                                              static_cast<int>(sizeof(vertices)));
        for (int q = 0; q < quads; ++q) {
            const float* corner = reinterpret_cast<const float*>(vertices + q * 4 * 16);
            const float* opposite = reinterpret_cast<const float*>(vertices + q * 4 * 16 + 2 * 16);
            fill(x + static_cast<int>(corner[0]) * scale, y + static_cast<int>(corner[1]) * scale,
                 x + static_cast<int>(opposite[0]) * scale, y + static_cast<int>(opposite[1]) * scale, colour);
        }
    }
    bool save(const std::string& path) const {
        return stbi_write_png(path.c_str(), width, height, 3, pixels.data(), width * 3) != 0;
    }

private:
    int width, height;
    std::vector<std::uint8_t> pixels;
};

constexpr Rgb kBackground{255, 255, 255};
constexpr Rgb kGrid{225, 228, 236};
constexpr Rgb kAxis{60, 60, 70};
constexpr Rgb kCurveColours[] = {{23, 110, 200}, {214, 90, 30}};
constexpr Rgb kPeakColours[] = {{150, 185, 225}, {240, 175, 140}};

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

bool writeDecayPlot(const std::vector<DecayCurve>& curves, float sampleRate, double seconds, const std::string& path) {
    constexpr int kWidth = 860, kHeight = 440, kLeft = 70, kTop = 40, kRight = 830, kBottom = 390;
    Canvas canvas(kWidth, kHeight, kBackground);
    const auto frames = static_cast<std::size_t>(seconds * sampleRate);
    auto yOf = [&](double db) {
        const double clamped = std::clamp(db, kFloorDb, 0.0);
        return kTop + static_cast<int>((kBottom - kTop) * (clamped / kFloorDb));
    };

    for (int db = 0; db >= static_cast<int>(kFloorDb); db -= 10) {
        canvas.line(kLeft, yOf(db), kRight, yOf(db), kGrid);
        canvas.text(kLeft - 40, yOf(db) - 5, std::to_string(db) + " dB", kAxis);
    }
    for (int second = 0; second <= static_cast<int>(seconds); ++second) {
        const int x = kLeft + static_cast<int>((kRight - kLeft) * second / seconds);
        canvas.line(x, kTop, x, kBottom, kGrid);
        canvas.text(x - 6, kBottom + 8, std::to_string(second) + " s", kAxis);
    }
    canvas.text(kLeft, 12, "Impulse response peaks (light) and energy decay (dark), left output", kAxis, 2);

    for (std::size_t c = 0; c < curves.size(); ++c) {
        const DecayCurve& curve = curves[c];
        const std::size_t perColumn = std::max<std::size_t>(1, frames / (kRight - kLeft));
        for (int x = kLeft; x < kRight; ++x) {
            const std::size_t first = static_cast<std::size_t>(x - kLeft) * perColumn;
            float peak = 0.0f;
            for (std::size_t i = first; i < first + perColumn && i < curve.impulseResponse.size(); ++i)
                peak = std::max(peak, std::fabs(curve.impulseResponse[i]));
            const double db = peak > 0.0f ? 20.0 * std::log10(peak) : kFloorDb;
            canvas.set(x, yOf(db), kPeakColours[c % 2]);
            canvas.set(x, yOf(db) + 1, kPeakColours[c % 2]);
        }
    }
    for (std::size_t c = 0; c < curves.size(); ++c) {
        const DecayCurve& curve = curves[c];
        int previousY = yOf(0.0);
        for (int x = kLeft; x < kRight; ++x) {
            const auto index = static_cast<std::size_t>((x - kLeft) / static_cast<double>(kRight - kLeft) * frames);
            const double db = index < curve.energyDecayDb.size() ? curve.energyDecayDb[index] : kFloorDb;
            canvas.line(x - 1, previousY, x, yOf(db), kCurveColours[c % 2], 3);
            previousY = yOf(db);
        }
        char legend[128];
        if (curve.secondsTo60Db >= 0.0)
            std::snprintf(legend, sizeof(legend), "\"%s\": -60 dB after %.2f s", curve.programName.c_str(),
                          curve.secondsTo60Db);
        else
            std::snprintf(legend, sizeof(legend), "\"%s\"", curve.programName.c_str());
        canvas.fill(kRight - 380, kTop + 14 + static_cast<int>(c) * 22, kRight - 364,
                    kTop + 24 + static_cast<int>(c) * 22, kCurveColours[c % 2]);
        canvas.text(kRight - 356, kTop + 12 + static_cast<int>(c) * 22, legend, kAxis, 2);
    }
    canvas.line(kLeft, kBottom, kRight, kBottom, kAxis);
    canvas.line(kLeft, kTop, kLeft, kBottom, kAxis);
    return canvas.save(path);
}
