// A state-variable filter whose output mixes its low, high and band outputs.
// The one coefficient q both scales the input and damps the band state.
#pragma once

class StateVariableFilter {
public:
    float filter(float input, float frequency, float q, float highMix, float lowMix, float bandMix) {
        low = low + frequency * band;
        high = q * input - low - q * band;
        band = band + frequency * high;
        return (lowMix * low + highMix * high) + bandMix * band;
    }
    void reset() {
        low = 0.0f;
        high = 0.0f;
        band = 0.0f;
    }

    float getLow() const { return low; }
    float getHigh() const { return high; }
    float getBand() const { return band; }

private:
    float low{0.0f};
    float high{0.0f};
    float band{0.0f};
};
