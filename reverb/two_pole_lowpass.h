// Two one-pole lowpass stages in series with one coefficient c:
// s1 = (1 − c)·s1 + c·x, s2 = (1 − c)·s2 + c·s1. c = 1 passes the input,
// smaller values darken it, c = 0 holds the last output.
#pragma once

class TwoPoleLowpass {
public:
    float filter(float input, float coefficient) {
        const float keep = 1.0f - coefficient;
        stage1 = keep * stage1 + coefficient * input;
        stage2 = keep * stage2 + coefficient * stage1;
        return stage2;
    }
    void reset() {
        stage1 = 0.0f;
        stage2 = 0.0f;
    }

    // The state another implementation of the same steps arrived at.
    void setState(float firstStage, float secondStage) {
        stage1 = firstStage;
        stage2 = secondStage;
    }

    float getStage1() const { return stage1; }
    float getStage2() const { return stage2; }

private:
    float stage1{0.0f};
    float stage2{0.0f};
};
