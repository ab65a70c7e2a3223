// wav_compare A B [TOLERANCE]: compares two audio files sample by sample.
// Prints the frame counts and the largest difference; exits 1 when the
// shapes differ or a difference exceeds the tolerance (default 0: bit-identical).
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

bool readAll(const char* path, SF_INFO& info, std::vector<float>& samples) {
    info = {};
    SNDFILE* file = sf_open(path, SFM_READ, &info);
    if (file == nullptr) {
        std::fprintf(stderr, "wav_compare: cannot read %s: %s\n", path, sf_strerror(nullptr));
        return false;
    }
    samples.resize(static_cast<std::size_t>(info.frames) * static_cast<std::size_t>(info.channels));
    const sf_count_t read = sf_readf_float(file, samples.data(), info.frames);
    sf_close(file);
    return read == info.frames;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: wav_compare A B [TOLERANCE]\n");
        return 2;
    }
    const double tolerance = argc > 3 ? std::atof(argv[3]) : 0.0;
    SF_INFO infoA, infoB;
    std::vector<float> a, b;
    if (!readAll(argv[1], infoA, a) || !readAll(argv[2], infoB, b)) return 2;
    std::printf("frames %lld / %lld, channels %d / %d\n", static_cast<long long>(infoA.frames),
                static_cast<long long>(infoB.frames), infoA.channels, infoB.channels);
    if (infoA.frames != infoB.frames || infoA.channels != infoB.channels) return 1;
    double largest = 0.0;
    std::size_t differing = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const double difference = std::fabs(static_cast<double>(a[i]) - static_cast<double>(b[i]));
        if (difference > 0.0 || std::isnan(a[i]) != std::isnan(b[i])) ++differing;
        if (difference > largest) largest = difference;
    }
    std::printf("largest difference %.9g, %zu of %zu samples differ\n", largest, differing, a.size());
    return largest <= tolerance && (tolerance > 0.0 || differing == 0) ? 0 : 1;
}
